// Every page over the rows of its table file under tests/data/pages, what
// every page's Cancel, Escape and close do, and the explanation panel.

#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "support/PageDriver.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"
#include "wizard/frmProxy.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;
using namespace std::string_literals;

namespace {

const std::pair<const char *, Form &(*)(PageDriver &)> kPages[] = {
    {"RuleName", openPage<RuleName>}, {"MoveVia", openPage<MoveVia>},     {"FileCopy", openPage<FileCopy>},
    {"FileFTP", openPage<FileFTP>},   {"FileEmail", openPage<FileEmail>}, {"frmProxy", openPage<frmProxy>}};

// The modes, the check box's value and whether it is enabled, the ten boxes'
// texts, then the server boxes 3, 6, 8, then 7, 4, 5, 9 and their labels: "E"
// enabled and painted as enabled, "d" disabled and painted as the page.
QString state(PageDriver &d, FileEmail &page)
{
    QString out = d.text(u"optMail(0)"_s) + d.text(u"optMail(1)"_s) + u' ' + d.text(u"Check1"_s) +
                  (page.Check1->isEnabled() ? u"on "_s : u"off "_s);
    for (int i = 0; i < 10; ++i)
        out += d.text(arrayName(u"Text1"_s, i)) + u'|';
    const QImage image = page.grab().toImage();
    const QColor enabled = page.Text1[0]->palette().color(QPalette::Base), disabled = page.palette().color(QPalette::Window);
    EXPECT_NE(enabled, disabled); // every state relies on telling the two apart
    for (const int i : {3, 6, 8, 7, 4, 5, 9}) {
        const QLineEdit *box = page.Text1[i];
        const QColor c =
            image.pixelColor(box->mapTo(&page, QPoint(box->width() - 6, box->height() / 2)) * image.devicePixelRatio());
        out += (i == 7 ? u" "_s : QString()) + (box->isEnabled() && c == enabled     ? u'E'
                                                : !box->isEnabled() && c == disabled ? u'd'
                                                                                     : u'?');
    }
    out += u" "_s;
    for (const int i : {7, 4, 5, 9})
        out += page.Label6[i]->isEnabled() ? u'E' : u'd';
    return out;
}

} // namespace

// Every page over the rows of its table file.
TEST(Pages, RowsOfEveryPage)
{
    for (const char *file : {"pages/pages.txt", "pages/ftp.txt", "pages/email.txt"}) {
        for (const Case &row : table(QLatin1String(file))) {
            SCOPED_TRACE(row[u"name"_s].toStdString());
            PageDriver d;
            const QString form = row[u"form"_s];
            d.store().dataFolder = row.contains(u"browse"_s) ? u"stale"_s : d.s.tmp.path(); // browsing chooses it afresh
            if (form == u"FileEmail") {
                RuleSys::resetWorkingRoute(d.store());
                d.given(u"EmailTransfer=True"_s);
            }
            d.prepare(row);
            const auto open = std::find_if(std::begin(kPages), std::end(kPages), [&](auto &p) {
                                  return form == QLatin1String(p.first);
                              })->second;
            Form *page = &open(d);
            if (const auto *password = page->findChild<QLineEdit *>(form == u"FileEmail" ? u"Text1(5)"_s : u"Text1(2)"_s)) {
                EXPECT_EQ(password->displayText(), QString(password->text().size(), u'*'));
            }
            d.play(row);
            EXPECT_EQ(d.dialogs->lastOwner, row.contains(u"browse"_s) ? page : nullptr);
            const QByteArray folder = "\r\n<RemoteDirectory>" + d.field(u"RemoteDirectory"_s).toUtf8() + "</RemoteDirectory>\r\n";
            EXPECT_TRUE(form != u"FileCopy" ||
                        readFile(d.s.path(u"Routes.xml"_s)).contains(folder) == (d.store().routeCount == 1));
            if (row.contains(u"kept"_s)) {
                open(d);
                EXPECT_EQ(d.controls(row[u"kept"_s]), row[u"kept"_s]);
            }
            const bool emailShows = row.contains(u"state"_s) && d.showing();
            EXPECT_EQ(emailShows ? state(d, *d.context->loaded<FileEmail>()).toStdString() : std::string(),
                      row[u"state"_s].toStdString());
            // The proxy dialog stays loaded for the page to read; a closed FTP page unloads both.
            EXPECT_TRUE(form != u"frmProxy" || d.context->loaded<frmProxy>() == page);
            EXPECT_TRUE(form != u"FileFTP" || d.showing() || (!d.context->loaded<FileFTP>() && !d.context->loaded<frmProxy>()));
        }
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
