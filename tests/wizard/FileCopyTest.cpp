#include "wizard/FileCopy.h"
#include "forms/Twips.h"
#include "store/RouteStore.h"
#include "support/FormsTestSupport.h"
#include "wizard/ExplainPanel.h"
#include "wizard/RuleName.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

TEST(FileCopy, BrowseFillsOrEmptiesTheBox)
{
    FormsFixture f;
    f.store().dataFolder = QStringLiteral("stale");
    auto &page = f.context->form<FileCopy>();
    page.show();
    f.dialogs->folders = {QStringLiteral("/srv/out"), QString()};
    FormsFixture::click(page, QStringLiteral("Command1"));
    EXPECT_EQ(page.Text1->text(), QStringLiteral("/srv/out"));
    EXPECT_EQ(f.dialogs->lastOwner, &page);
    // Making the dialog wrapper chose the data folder afresh.
    EXPECT_EQ(f.store().dataFolder, f.s.tmp.path());

    FormsFixture::type(page, QStringLiteral("Text1"), QStringLiteral("typed"));
    FormsFixture::click(page, QStringLiteral("Command1"));
    EXPECT_EQ(page.Text1->text(), QString());
    EXPECT_EQ(f.dialogs->folderCalls, 2);
}

TEST(FileCopy, OkStoresTheTextAsTypedAndAppendsTheRoute)
{
    FormsFixture f;
    RouteStore &st = f.store();
    st.workingRoute.RouteDef = QStringLiteral("Copy out");
    st.workingRoute.DirTransfer = Yes;
    auto *page = &f.context->form<FileCopy>();
    page->show();

    // Empty: refused silently, the page stays.
    FormsFixture::click(*page, QStringLiteral("OKButton"));
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(st.routeCount, 0);
    EXPECT_TRUE(f.messages->shown.empty());

    FormsFixture::type(*page, QStringLiteral("Text1"), QStringLiteral("/no/such/folder  "));
    FormsFixture::click(*page, QStringLiteral("OKButton"));
    EXPECT_EQ(st.routeCount, 1);
    EXPECT_EQ(st.routes[1].RemoteDirectory, QStringLiteral("/no/such/folder  "));
    EXPECT_TRUE(f.s.read(QStringLiteral("Routes.xml")).contains("\r\n<RemoteDirectory>/no/such/folder  </RemoteDirectory>\r\n"));
    EXPECT_TRUE(page->isUnloaded());
    FormsFixture::settle();
    EXPECT_EQ(f.context->loaded<FileCopy>(), nullptr);
    // Loaded afresh, the box is empty again.
    EXPECT_EQ(f.context->form<FileCopy>().Text1->text(), QString());
}

TEST(FileCopy, CancelWritesNothing)
{
    FormsFixture f;
    auto &page = f.context->form<FileCopy>();
    page.show();
    FormsFixture::type(page, QStringLiteral("Text1"), QStringLiteral("/srv/x"));
    FormsFixture::click(page, QStringLiteral("CancelButton"));
    EXPECT_TRUE(page.isUnloaded());
    EXPECT_EQ(f.store().routeCount, 0);
    EXPECT_EQ(f.store().workingRoute.RemoteDirectory, QString());
    EXPECT_FALSE(QFile::exists(f.s.path(QStringLiteral("Routes.xml"))));
}

TEST(ExplainPanel, GrowsShowsTheTextAndShrinks)
{
    FormsFixture f;
    f.s.write(QStringLiteral("Wizard/FileCopy.dat"), "Where the files go.\r\nSecond line \x80.\r\n");
    auto *page = &f.context->form<FileCopy>();
    page->show();
    ExplainPanel &panel = *page->panel;
    const int normal = page->heightTwips();
    // The outer height adds the frame to the 1440-twip client area.
    EXPECT_EQ(page->height(), Twips::toPixelsY(1440));
    EXPECT_GE(normal, 1440);
    EXPECT_EQ(panel.Text2->geometry(), Twips::rect(120, 1440, 5050, 1690));
    EXPECT_EQ(panel.Explain->geometry(), Twips::rect(120, 960, 1215, 375));

    FormsFixture::click(*page, QStringLiteral("Explain"));
    EXPECT_EQ(panel.savedHeight(), normal);
    EXPECT_NEAR(page->heightTwips(), normal + 1690 + 250, 15);
    EXPECT_EQ(panel.Text2->toPlainText(), QString::fromUtf8("Where the files go.\nSecond line \u20ac.\n"));
    // The whole box is now inside the page.
    EXPECT_LE(panel.Text2->geometry().bottom(), page->height());

    // A click on the box gives the height back; the text stays.
    QTest::mouseClick(panel.Text2->viewport(), Qt::LeftButton);
    EXPECT_EQ(panel.savedHeight(), 0);
    EXPECT_NEAR(page->heightTwips(), normal, 15);
    EXPECT_FALSE(panel.Text2->toPlainText().isEmpty());
    // At normal height a click changes nothing.
    QTest::mouseClick(panel.Text2->viewport(), Qt::LeftButton);
    EXPECT_NEAR(page->heightTwips(), normal, 15);

    // The file is read at every growth; a second press shrinks.
    f.s.write(QStringLiteral("Wizard/FileCopy.dat"), "Edited.\r\n");
    FormsFixture::click(*page, QStringLiteral("Explain"));
    EXPECT_EQ(panel.Text2->toPlainText(), QStringLiteral("Edited.\n"));
    FormsFixture::click(*page, QStringLiteral("Explain"));
    EXPECT_EQ(panel.savedHeight(), 0);
    EXPECT_NEAR(page->heightTwips(), normal, 15);

    // Closed while grown, loaded again at normal height.
    FormsFixture::click(*page, QStringLiteral("Explain"));
    page->close();
    FormsFixture::settle();
    page = &f.context->form<FileCopy>();
    page->show();
    EXPECT_EQ(page->panel->savedHeight(), 0);
    EXPECT_NEAR(page->heightTwips(), normal, 15);
}

TEST(ExplainPanel, AMissingFileShowsTheFailureAndAHiddenPageKeepsItsState)
{
    FormsFixture f;
    auto &page = f.context->form<RuleName>();
    page.show();
    const int normal = page.heightTwips();
    FormsFixture::click(page, QStringLiteral("Explain"));
    EXPECT_EQ(page.panel->Text2->toPlainText(), QStringLiteral("2 No such file or directory"));
    EXPECT_NEAR(page.heightTwips(), normal + 2415 + 250, 15);
    page.hideForm();
    page.show();
    EXPECT_EQ(page.panel->savedHeight(), normal);
    EXPECT_NEAR(page.heightTwips(), normal + 2415 + 250, 15);
}

TEST(ExplainPanel, TheEmailRowIsLimitedToTheScreen)
{
    FormsFixture f;
    auto &page = f.context->form<RuleName>();
    page.show();
    ExplainPanel tall(page, ExplainLayout::FileEmail);
    tall.screenHeight = [] { return 2000; };
    const int normal = page.heightTwips();
    tall.Explain_Click();
    EXPECT_NEAR(page.heightTwips(), 2000, 15);
    tall.Text2_Click();
    EXPECT_NEAR(page.heightTwips(), normal, 15);
}
