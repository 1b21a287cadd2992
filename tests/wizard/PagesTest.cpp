// The name, method and directory-copy pages, what every page's Cancel, Escape
// and close do, and the explanation panel, over the page driver.

#include "store/RouteStore.h"
#include "support/PageDriver.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"
#include "wizard/frmProxy.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;
using namespace std::string_literals;

namespace {

template<typename F> Form &opener(PageDriver &d)
{
    return d.open<F>();
}
const std::pair<const char *, Form &(*)(PageDriver &)> kPages[] = {
    {"RuleName", opener<RuleName>}, {"MoveVia", opener<MoveVia>},     {"FileCopy", opener<FileCopy>},
    {"FileFTP", opener<FileFTP>},   {"FileEmail", opener<FileEmail>}, {"frmProxy", opener<frmProxy>}};

} // namespace

TEST(NamePage, OkCleansTheNameAndOpensTheMethodPage)
{
    // Expected: the name, folder, pattern and user stored, the box, the page still shown.
    const Row rows[] = {{"blanks kept", {}, u"  Scans out  "_s, u"  Scans out  |%1/Complete|*.*|||0"_s},
                        {"forbidden characters dropped", {}, u"a/b\\c*d?e<f\"g>h|i"_s, u"abcdefg>h|i|%1/Complete|*.*|||0"_s},
                        {"beyond ASCII", {}, u"Caf\u00e9 \u20ac"_s, u"Caf\u00e9 \u20ac|%1/Complete|*.*|||0"_s},
                        {"nothing left: the page stays", {}, u"/*?\\<\""_s, u"|||someone||1"_s}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.store().dataFolder = d.s.tmp.path();
        d.given(u"UserID=someone"_s);
        d.open<RuleName>();
        if (r.expected.endsWith(u'0'))
            d.on(u"MoveVia"_s, [&d] { d.press(u"CancelButton"_s); });
        d.act(u"Text1="_s + r.steps + u";OKButton"_s);
        EXPECT_EQ(d.fields(u"RouteDef UserDirectory Pattern UserID"_s) + u'|' + d.text(u"Text1"_s) + u'|' +
                      QString::number(d.showing()),
                  QString(r.expected).replace(u"%1"_s, d.s.tmp.path()));
    }
}

TEST(MethodPage, OkOpensThePageOfTheChoiceAndKeepsIt)
{
    const Row rows[] = {{"FileCopy", u"Option1(0)"_s, {}, u"True|False|False"_s},
                        {"FileCopy", u"Option1(0)"_s, u"Option1(0)=1"_s, u"True|False|False"_s},
                        {"FileFTP", u"Option1(1)"_s, u"Option1(1)=1"_s, u"False|True|False"_s},
                        {"FileEmail", u"Option1(2)"_s, u"Option1(2)=1"_s, u"False|False|True"_s}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.open<MoveVia>();
        d.on(QLatin1String(r.name), [&d] { d.press(u"CancelButton"_s); });
        d.act(r.steps + u";OKButton"_s);
        EXPECT_EQ(d.fields(u"DirTransfer FTPTransfer EmailTransfer"_s), r.expected);
        d.open<MoveVia>(); // the choice survives into the next run
        EXPECT_EQ(d.text(r.given), r.steps.isEmpty() ? u"0"_s : u"1"_s);
    }
}

TEST(CopyPage, OkStoresTheFolderAsTypedOrBrowsedAndAppendsTheRoute)
{
    // Given the browser's answer; expected the folder stored and saved.
    const Row rows[] = {{"browsed", u"/srv/out"_s, u"Command1"_s, u"/srv/out"_s},
                        {"typed, blanks and all", {}, u"Text1=/no/such/folder  "_s, u"/no/such/folder  "_s},
                        {"a cancelled browser empties the box", u""_s, u"Text1=typed;Command1"_s, {}},
                        {"nothing: refused without a word", {}, {}, {}}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.dialogs->folders = {r.given};
        if (!r.given.isNull())
            d.store().dataFolder = u"stale"_s; // the browser's maker chooses the data folder afresh
        Form *page = &d.open<FileCopy>();
        d.act(r.steps + u";OKButton"_s);
        EXPECT_EQ(d.dialogs->lastOwner, r.given.isNull() ? nullptr : page);
        EXPECT_EQ(d.store().routeCount, r.expected.isEmpty() ? 0 : 1);
        EXPECT_EQ(d.showing(), r.expected.isEmpty());
        EXPECT_EQ(readFile(d.s.path(u"Routes.xml"_s))
                      .contains(QByteArray("\r\n<RemoteDirectory>" + r.expected.toUtf8() + "</RemoteDirectory>\r\n")),
                  !r.expected.isEmpty());
        d.expectNoMoreMessages();
    }
}

// Cancel, Escape and the window's close button on every page: a page that
// hides keeps what was entered for the next run, one that unloads starts
// afresh; none stores or saves anything.
TEST(EveryPage, CancelEscapeAndCloseHideOrUnloadAsThePageDoes)
{
    const char *const boxes[] = {"Text1", "Option1(1)", "Text1", "Text1(0)", "Text1(0)", "editPrxyHost"};
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        for (const QString &action : {u"CancelButton"_s, u"Escape"_s, u"close"_s}) {
            SCOPED_TRACE(kPages[i].first + QString(u' ' + action).toStdString());
            PageDriver d;
            const QString box = QLatin1String(boxes[i]);
            QPointer<Form> page = &kPages[i].second(d);
            d.fill(box, u"1"_s);
            action == u"close" ? void(page->close()) : d.press(action);
            FormsFixture::settle();
            const bool kept = i < 2 && action != u"close"; // the name and method pages hide
            EXPECT_EQ(!page.isNull(), kept);
            EXPECT_FALSE(page && page->isVisible());
            kPages[i].second(d);
            EXPECT_EQ(d.text(box), kept ? u"1"_s : box.startsWith(u"Option") ? u"0"_s : QString());
            EXPECT_EQ(d.store().workingRoute, RouteDef());
            EXPECT_FALSE(d.routesSaved());
        }
    }
}

// Explain grows the page to show the whole box below the controls with the
// page's text, read afresh each time; a click on the box or Explain again
// shrinks it. Only the email page stops at the screen's height.
TEST(EveryPage, ExplainShowsTheTextBelowTheControls)
{
    for (const auto &[name, open] : kPages) {
        if (name == "frmProxy"s)
            continue;
        SCOPED_TRACE(name);
        PageDriver d;
        const QString file = u"Wizard/%1.dat"_s.arg(QLatin1String(name));
        Form &page = open(d);
        auto *panel = page.findChild<ExplainPanel *>();
        const int normal = page.heightTwips();
        panel->screenHeight = [normal] { return normal + 600; };
        d.act(u"Explain"_s);
        EXPECT_EQ(d.text(u"Text2"_s), u"2 No such file or directory"_s);
        d.act(u"Explain"_s);
        EXPECT_EQ(page.heightTwips(), normal);

        d.s.write(file, "Where the files go.\r\nSecond line \x80.\r\n");
        d.act(u"Explain"_s);
        EXPECT_EQ(d.text(u"Text2"_s), u"Where the files go.\nSecond line \u20ac.\n"_s);
        if (name == "FileEmail"s)
            EXPECT_NEAR(page.heightTwips(), normal + 600, 15); // one pixel is up to 15 twips
        else
            EXPECT_LE(panel->Text2->geometry().bottom(), page.height());
        EXPECT_GE(panel->Text2->geometry().top(), panel->Explain->geometry().bottom());
        QTest::mouseClick(panel->Text2->viewport(), Qt::LeftButton);
        EXPECT_NEAR(page.heightTwips(), normal, 15);

        d.s.write(file, "Edited.\r\n");
        d.act(u"Explain"_s);
        EXPECT_EQ(d.text(u"Text2"_s), u"Edited.\n"_s);
        page.close(); // closed while grown, loaded again at normal height
        FormsFixture::settle();
        EXPECT_NEAR(open(d).heightTwips(), normal, 15);
    }
}
