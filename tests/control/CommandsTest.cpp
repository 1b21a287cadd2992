#include "control/ControlTestSupport.h"
#include "store/RouteStore.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

QStringList names(int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QStringLiteral("r%1").arg(i);
    return out;
}

} // namespace

TEST(NewRoute, TheLimitIsEightRoutes)
{
    for (const int count : {7, 8, 9, 10}) {
        ControlFixture f(routesOf(names(count)), true);
        const bool opens = count < 8;
        if (opens)
            f.modal->expect(QStringLiteral("RuleName"),
                            [](Form &page) { FormsFixture::click(page, QStringLiteral("CancelButton")); });
        f.press(0);
        EXPECT_EQ(f.modal->shown().size(), opens ? 1u : 0u) << count;
        EXPECT_TRUE(f.modal->problems().isEmpty()) << count;
        if (!opens) {
            ASSERT_EQ(f.messages->shown.size(), 1u) << count;
            const MessageRequest &m = f.messages->shown[0];
            EXPECT_EQ(m.text, QStringLiteral("You have created the Maximum Number of Routes Allowed!"));
            EXPECT_EQ(m.title, QStringLiteral("Routes Wizard Information"));
            EXPECT_EQ(m.icon, MsgIcon::Critical);
            EXPECT_EQ(m.buttons, MsgButtons::Ok);
        }
        EXPECT_EQ(f.store().routeCount, count);
    }
}

TEST(NewRoute, ResetsTheWorkingRouteAndRebuildsTheTreeAfterACancel)
{
    ControlFixture f(routesOf(names(3)), true);
    f.store().workingRoute.RouteDef = QStringLiteral("left over");
    f.store().workingRoute.FTPport = 999;
    f.select(3);
    f.modal->expect(QStringLiteral("RuleName"), [&](Form &page) {
        EXPECT_EQ(f.store().workingRoute.RouteDef, QString());
        EXPECT_EQ(f.store().workingRoute.FTPport, 21);
        FormsFixture::click(page, QStringLiteral("CancelButton"));
    });
    const QByteArray before = f.routesFile();
    f.press(0);
    EXPECT_TRUE(f.modal->problems().isEmpty());
    EXPECT_EQ(f.selectedKey(), QStringLiteral("D1"));
    EXPECT_EQ(f.routesFile(), before);
}

TEST(DeleteRoute, RemovesTheSelectedSlotAndRenumbers)
{
    struct Case
    {
        int slot;
        MsgResult answer;
        QStringList remaining;
    };
    const Case cases[] = {
        {2, MsgResult::Yes, {QStringLiteral("D1|r1|4"), QStringLiteral("D2|r3|4")}},
        {1, MsgResult::Yes, {QStringLiteral("D1|r2|4"), QStringLiteral("D2|r3|4")}},
        {3, MsgResult::Yes, {QStringLiteral("D1|r1|4"), QStringLiteral("D2|r2|4")}},
        {2, MsgResult::No, {QStringLiteral("D1|r1|4"), QStringLiteral("D2|r2|4"), QStringLiteral("D3|r3|4")}},
    };
    for (const Case &c : cases) {
        const QByteArray file = routesOf(names(3));
        ControlFixture f(file, true);
        f.select(c.slot);
        f.messages->answer(c.answer);
        f.press(1);
        ASSERT_EQ(f.messages->shown.size(), 1u);
        EXPECT_EQ(f.messages->shown[0].text, QStringLiteral("Proceed with deletion?"));
        EXPECT_EQ(f.messages->shown[0].title, QStringLiteral("Route Deleting... "));
        EXPECT_EQ(f.messages->shown[0].icon, MsgIcon::None);
        EXPECT_EQ(f.messages->shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(f.nodes(), c.remaining) << c.slot;
        // A deletion rebuilds the tree, which selects the first route; No leaves it alone.
        EXPECT_EQ(f.selectedKey(), c.answer == MsgResult::No ? QStringLiteral("D2") : QStringLiteral("D1"));
        if (c.answer == MsgResult::No) {
            EXPECT_EQ(f.routesFile(), file);
        } else {
            EXPECT_EQ(f.routesFile(), routesOf({c.remaining[0].section(u'|', 1, 1), c.remaining[1].section(u'|', 1, 1)}));
        }
    }
}

TEST(DeleteRoute, TheLastRouteStays)
{
    ControlFixture f;
    const QByteArray before = f.routesFile();
    f.press(1);
    ASSERT_EQ(f.messages->shown.size(), 1u);
    EXPECT_EQ(f.messages->shown[0].text, QStringLiteral(" You can't Delete the Last Route!"));
    EXPECT_EQ(f.messages->shown[0].title, QString()); // the component's default caption
    EXPECT_EQ(f.messages->shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(f.routesFile(), before);
    EXPECT_EQ(f.store().routeCount, 1);
}

TEST(DeleteRoute, AFailedWriteReachesTheHostAndKeepsTheOldFile)
{
    const QByteArray file = routesOf(names(3));
    ControlFixture f(file, true);
    f.disk->failWrites = true;
    f.select(2);
    f.press(1);
    EXPECT_EQ(f.failures, QStringList{f.s.path(QStringLiteral("Routes.xml")) + QStringLiteral("|No space left on device")});
    EXPECT_EQ(f.routesFile(), file);
}

TEST(EditRoute, OpensTheEditorOnTheSelectedSlotAndHandsTheIndexBack)
{
    ControlFixture f(routesOf(names(3)), true);
    f.select(2);
    f.modal->expect(QStringLiteral("frmEdit"), [&](Form &editor) {
        EXPECT_EQ(f.store().editIndex, 2);
        FormsFixture::click(editor, QStringLiteral("CancelButton"));
    });
    f.press(3);
    EXPECT_TRUE(f.modal->problems().isEmpty());
    EXPECT_EQ(f.store().editIndex, 0);
    EXPECT_EQ(f.selectedKey(), QStringLiteral("D1"));
}

TEST(EditRoute, AFailedSaveUnderTheEditorReachesTheHostAndKeepsTheOldFile)
{
    const QByteArray file = routesOf(names(3));
    ControlFixture f(file, true);
    f.disk->failWrites = true;
    f.modal->expect(QStringLiteral("frmEdit"), [&](Form &editor) {
        FormsFixture::type(editor, QStringLiteral("Text1(0)"), QStringLiteral("Renamed"));
        FormsFixture::click(editor, QStringLiteral("OKButton"));
    });
    f.press(3);
    EXPECT_EQ(f.failures, QStringList{f.s.path(QStringLiteral("Routes.xml")) + QStringLiteral("|No space left on device")});
    EXPECT_EQ(f.routesFile(), file);
}

TEST(Rename, UniqueNamesIgnoringCase)
{
    ControlFixture f(routesOf({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}), true);
    const QByteArray before = f.routesFile();
    bool cancel = false;

    // Its own name in other case: accepted, held in memory only.
    f.select(2);
    f.control().Tree_AfterLabelEdit(cancel, QStringLiteral("BETA"));
    EXPECT_EQ(f.store().routes[2].RouteDef, QStringLiteral("BETA"));
    EXPECT_EQ(f.routesFile(), before);

    // Empty: nothing changes.
    f.control().Tree_AfterLabelEdit(cancel, QString());
    EXPECT_EQ(f.store().routes[2].RouteDef, QStringLiteral("BETA"));
    EXPECT_TRUE(f.messages->shown.empty());

    // Another route's name in other case: refused, and the table held in
    // memory (with the earlier rename) is written.
    f.select(3);
    f.control().Tree_AfterLabelEdit(cancel, QStringLiteral("alpha"));
    EXPECT_FALSE(cancel);
    ASSERT_EQ(f.messages->shown.size(), 1u);
    EXPECT_EQ(f.messages->shown[0].text, QStringLiteral("Route Names Must be Unique, Please Select Another Name"));
    EXPECT_EQ(f.messages->shown[0].title, QStringLiteral("Routes Wizard"));
    EXPECT_EQ(f.store().routes[3].RouteDef, QStringLiteral("Gamma"));
    EXPECT_EQ(f.nodes(), (QStringList{QStringLiteral("D1|Alpha|4"), QStringLiteral("D2|BETA|4"), QStringLiteral("D3|Gamma|4")}));
    EXPECT_EQ(f.routesFile(), QByteArray(before).replace("<RouteDef>Beta</RouteDef>", "<RouteDef>BETA</RouteDef>"));
    EXPECT_EQ(f.store().names.value(2), QStringLiteral("BETA"));
    EXPECT_TRUE(f.failures.isEmpty());
}

TEST(Rename, ThroughTheTreesOwnEditor)
{
    ControlFixture f(routesOf({QStringLiteral("Alpha"), QStringLiteral("Beta")}), true);
    f.control().show();
    QTreeWidget *tree = f.control().Tree;
    auto editTo = [&](int row, const QString &text) {
        QTreeWidgetItem *item = tree->topLevelItem(row);
        tree->setCurrentItem(item);
        tree->editItem(item);
        FormsFixture::settle();
        auto *editor = tree->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        FormsFixture::settle();
    };
    editTo(1, QStringLiteral("Bravo  "));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("Bravo  "));
    EXPECT_EQ(f.store().routes[2].RouteDef, QStringLiteral("Bravo  "));

    editTo(1, QStringLiteral("ALPHA"));
    EXPECT_EQ(f.messages->shown.size(), 1u);
    EXPECT_EQ(f.nodes(), (QStringList{QStringLiteral("D1|Alpha|4"), QStringLiteral("D2|Bravo  |4")}));

    // An emptied label keeps the stored name.
    editTo(0, QString());
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Alpha"));
    EXPECT_EQ(f.store().routes[1].RouteDef, QStringLiteral("Alpha"));
}
