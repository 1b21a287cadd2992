// The name, method and directory-copy pages, what every page's Cancel and
// Escape do, and the explanation panel, over the page driver.

#include "store/RouteStore.h"
#include "support/PageDriver.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"
#include "wizard/frmProxy.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

using Opener = Form &(*)(PageDriver &);
template<typename F> Form &opener(PageDriver &d)
{
    return d.open<F>();
}

} // namespace

TEST(NamePage, OkCleansTheNameAndOpensTheMethodPage)
{
    const struct
    {
        const char *row;
        QString typed, stored;
    } rows[] = {{"blanks kept", u"  Scans out  "_s, u"  Scans out  "_s},
                {"forbidden characters dropped", u"a/b\\c*d?e<f\"g>h|i"_s, u"abcdefg>h|i"_s},
                {"beyond ASCII", u"Caf\u00e9 \u20ac"_s, u"Caf\u00e9 \u20ac"_s},
                {"nothing left: the page stays", u"/*?\\<\""_s, QString()}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        PageDriver d;
        d.store().dataFolder = d.s.tmp.path();
        d.setField(u"UserID"_s, u"someone"_s);
        d.open<RuleName>();
        if (!r.stored.isEmpty())
            d.on(u"MoveVia"_s, [&] {
                EXPECT_EQ(d.context->form<RuleName>().Text1->text(), QString()); // emptied before the next page
                d.press(u"CancelButton"_s);
            });
        d.fill(u"Text1"_s, r.typed);
        d.press(u"OKButton"_s);
        EXPECT_EQ(d.field(u"RouteDef"_s), r.stored);
        if (r.stored.isEmpty())
            EXPECT_EQ(d.fields(u"UserDirectory Pattern UserID"_s) + d.text(u"Text1"_s), u"||someone"_s);
        else
            EXPECT_EQ(d.fields(u"UserDirectory Pattern UserID"_s), d.s.path(u"Complete"_s) + u"|*.*|"_s);
        EXPECT_EQ(d.showing(), r.stored.isEmpty());
    }
}

TEST(MethodPage, OkOpensThePageOfTheChoiceAndKeepsIt)
{
    const struct
    {
        const char *option, *page, *flag;
    } rows[] = {{nullptr, "FileCopy", "DirTransfer"},
                {"Option1(0)", "FileCopy", "DirTransfer"},
                {"Option1(1)", "FileFTP", "FTPTransfer"},
                {"Option1(2)", "FileEmail", "EmailTransfer"}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.page);
        PageDriver d;
        d.open<MoveVia>();
        if (r.option)
            d.fill(QLatin1String(r.option), u"1"_s);
        d.on(QLatin1String(r.page), [&] { d.press(u"CancelButton"_s); });
        d.press(u"OKButton"_s);
        EXPECT_EQ(d.fields(u"DirTransfer FTPTransfer EmailTransfer"_s).count(u"True"_s), 1);
        EXPECT_EQ(d.field(QLatin1String(r.flag)), u"True"_s);
        d.open<MoveVia>(); // the choice survives into the next run
        if (r.option) {
            EXPECT_EQ(d.text(QLatin1String(r.option)), u"1"_s);
        }
    }
}

TEST(CopyPage, OkStoresTheFolderAsTypedOrBrowsedAndAppendsTheRoute)
{
    const struct
    {
        const char *row;
        QString typed, browsed, stored;
    } rows[] = {{"browsed", {}, u"/srv/out"_s, u"/srv/out"_s},
                {"typed, blanks and all", u"/no/such/folder  "_s, {}, u"/no/such/folder  "_s},
                {"a cancelled browser empties the box", u"typed"_s, u""_s, {}},
                {"nothing: refused without a word", {}, {}, {}}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        PageDriver d;
        d.setField(u"RouteDef"_s, u"Copy out"_s);
        Form &page = d.open<FileCopy>();
        d.fill(u"Text1"_s, r.typed);
        if (!r.browsed.isNull()) {
            d.dialogs->folders = {r.browsed};
            d.store().dataFolder = u"stale"_s;
            d.press(u"Command1"_s);
            EXPECT_EQ(d.dialogs->lastOwner, &page);
            EXPECT_EQ(d.store().dataFolder, d.s.tmp.path()); // chosen afresh by the browser's maker
        }
        d.press(u"OKButton"_s);
        EXPECT_EQ(d.store().routeCount, r.stored.isEmpty() ? 0 : 1);
        EXPECT_EQ(d.showing(), r.stored.isEmpty());
        EXPECT_EQ(
            readFile(d.s.path(u"Routes.xml"_s)).contains(QByteArray("\r\n<RemoteDirectory>" + r.stored.toUtf8() + "</RemoteDirectory>\r\n")),
            !r.stored.isEmpty());
        d.expectNoMoreMessages();
    }
}

// Cancel, Escape and the window's close button, on every page: a page that
// hides keeps what was entered for the next run, one that unloads starts
// afresh; none stores or saves anything.
TEST(EveryPage, CancelEscapeAndCloseHideOrUnloadAsThePageDoes)
{
    const struct
    {
        const char *page;
        Opener open;
        const char *box, *design;
        bool hides;
    } rows[] = {{"name", opener<RuleName>, "Text1", "", true},          {"method", opener<MoveVia>, "Option1(1)", "0", true},
                {"copy", opener<FileCopy>, "Text1", "", false},         {"FTP", opener<FileFTP>, "Text1(0)", "", false},
                {"proxy", opener<frmProxy>, "editPrxyHost", "", false}, {"email", opener<FileEmail>, "Text1(0)", "", false}};
    for (const auto &r : rows) {
        for (const QString &action : {u"CancelButton"_s, u"Escape"_s, u"close"_s}) {
            SCOPED_TRACE(r.page + QString(u' ' + action).toStdString());
            PageDriver d;
            QPointer<Form> page = &r.open(d);
            const RouteDef before = d.store().workingRoute;
            d.fill(QLatin1String(r.box), u"1"_s);
            if (action == u"close")
                page->close();
            else
                d.press(action);
            FormsFixture::settle();
            EXPECT_FALSE(page && page->isVisible());
            const bool kept = r.hides && action != u"close";
            EXPECT_EQ(!page.isNull(), kept);
            r.open(d);
            EXPECT_EQ(d.text(QLatin1String(r.box)), kept ? u"1"_s : QLatin1String(r.design));
            EXPECT_EQ(d.store().workingRoute, before);
            EXPECT_FALSE(d.routesSaved());
        }
    }
}

// Explain grows the page to show the whole box below the controls with the
// page's text, read afresh each time; a click on the box or Explain again
// shrinks it. Only the email page stops at the screen's height.
TEST(EveryPage, ExplainShowsTheTextBelowTheControls)
{
    const struct
    {
        const char *page;
        Opener open;
        bool limited;
    } rows[] = {{"RuleName", opener<RuleName>, false},
                {"MoveVia", opener<MoveVia>, false},
                {"FileCopy", opener<FileCopy>, false},
                {"FileFTP", opener<FileFTP>, false},
                {"FileEmail", opener<FileEmail>, true}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.page);
        PageDriver d;
        const QString file = u"Wizard/%1.dat"_s.arg(QLatin1String(r.page));
        Form &page = r.open(d);
        auto *panel = page.findChild<ExplainPanel *>();
        const int normal = page.heightTwips();
        panel->screenHeight = [normal] { return normal + 600; };
        d.press(u"Explain"_s);
        EXPECT_EQ(d.text(u"Text2"_s), u"2 No such file or directory"_s);
        d.press(u"Explain"_s);
        EXPECT_EQ(page.heightTwips(), normal);

        d.s.write(file, "Where the files go.\r\nSecond line \x80.\r\n");
        d.press(u"Explain"_s);
        EXPECT_EQ(d.text(u"Text2"_s), u"Where the files go.\nSecond line \u20ac.\n"_s);
        if (r.limited)
            EXPECT_NEAR(page.heightTwips(), normal + 600, 15); // one pixel is up to 15 twips
        else
            EXPECT_LE(panel->Text2->geometry().bottom(), page.height());
        EXPECT_GE(panel->Text2->geometry().top(), panel->Explain->geometry().bottom());
        QTest::mouseClick(panel->Text2->viewport(), Qt::LeftButton);
        EXPECT_NEAR(page.heightTwips(), normal, 15);

        d.s.write(file, "Edited.\r\n");
        d.press(u"Explain"_s);
        EXPECT_EQ(d.text(u"Text2"_s), u"Edited.\n"_s);
        page.close(); // closed while grown, loaded again at normal height
        FormsFixture::settle();
        EXPECT_NEAR(r.open(d).heightTwips(), normal, 15);
    }
}
