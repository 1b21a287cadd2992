#include "control/ControlTestSupport.h"
#include "control/ImageList.h"
#include "store/RouteStore.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

TEST(Startup, EmptyFolderGetsTheDefaultRouteAndItsFolders)
{
    ControlFixture f;
    EXPECT_EQ(f.nodes(), QStringList{QStringLiteral("D1|Default Route|4")});
    EXPECT_EQ(f.selectedKey(), QStringLiteral("D1"));
    EXPECT_TRUE(f.routesFile().startsWith("<Routes>\r\n<RouteDef>Default Route</RouteDef>\r\n"));
    EXPECT_EQ(f.routesFile().count('\n'), 61);
    EXPECT_TRUE(QDir(f.s.path(QStringLiteral("Complete"))).exists());
    EXPECT_TRUE(QDir(f.s.path(QStringLiteral("Hold"))).exists());
    EXPECT_EQ(f.store().routeLimit, 8);
    EXPECT_EQ(f.store().names, (QStringList{QString(), QStringLiteral("Default Route")}));
    EXPECT_TRUE(f.control().startupFailure().isEmpty());
    EXPECT_TRUE(f.messages->shown.empty());
}

TEST(Startup, AnAcceptedFileIsNeverRewrittenEvenWithoutRoutes)
{
    const QByteArray empty = "<Routes>\r\n</Routes>\r\n";
    ControlFixture f(empty, true);
    EXPECT_TRUE(f.nodes().isEmpty());
    EXPECT_EQ(f.routesFile(), empty);
    EXPECT_TRUE(QDir(f.s.path(QStringLiteral("Hold"))).exists());

    // With an empty table Delete and Edit do nothing; New Route still opens the wizard.
    f.press(1);
    f.press(3);
    EXPECT_TRUE(f.messages->shown.empty());
    EXPECT_TRUE(f.modal->shown().empty());
    f.modal->expect(QStringLiteral("RuleName"), [](Form &page) { FormsFixture::click(page, QStringLiteral("CancelButton")); });
    f.press(0);
    EXPECT_EQ(f.modal->shown(), std::vector<QString>{QStringLiteral("RuleName")});
}

TEST(Startup, AnUnusableFileIsReplacedByTheDefaultRoute)
{
    ControlFixture f("<routes>\r\n<RouteDef>lost</RouteDef>\r\n", true);
    EXPECT_EQ(f.nodes(), QStringList{QStringLiteral("D1|Default Route|4")});
    EXPECT_TRUE(f.routesFile().startsWith("<Routes>\r\n<RouteDef>Default Route</RouteDef>"));
}

TEST(Startup, AFailureReachesTheHostAndNothingIsLost)
{
    // A folder stands where the routes file should be: it cannot be read or written.
    ControlFixture f;
    QFile::remove(f.s.path(QStringLiteral("Routes.xml")));
    QDir().mkdir(f.s.path(QStringLiteral("Routes.xml")));
    QStringList heard;
    Molvik4 second(*f.context);
    QObject::connect(&second, &Molvik4::operationFailed, [&](const QString &path, const QString &) { heard << path; });
    EXPECT_TRUE(second.startupFailure().startsWith(f.s.path(QStringLiteral("Routes.xml")) + QStringLiteral(": ")));
    FormsFixture::settle();
    EXPECT_EQ(heard, QStringList{f.s.path(QStringLiteral("Routes.xml"))});
    EXPECT_TRUE(QFileInfo(f.s.path(QStringLiteral("Routes.xml"))).isDir());
}

TEST(Tree, ImagesFollowTheFlagsInBothOrders)
{
    struct Case
    {
        const char *flags;
        int updateTree;
        int addTreeNode;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"FTPTransfer", 2, 2},
        {"FTPMonitor", 9, 9},
        {"EmailTransfer", 3, 3},
        {"KelmTransfer", 10, 10},
        {"DirTransfer", 4, 5},
        {"KelmXTransfer", 5, 4},
        {"HyperTransfer", 0, 6},
        {"FTPTransfer DirTransfer", 4, 5},
        {"FTPTransfer FTPMonitor", 9, 9},
        {"DirTransfer KelmXTransfer", 5, 5},
        {"EmailTransfer HyperTransfer", 3, 6},
    };
    ControlFixture f;
    RouteStore &st = f.store();
    for (const Case &c : cases) {
        RouteDef r;
        r.RouteDef = QLatin1String(c.flags);
        const QStringList flags = QString::fromLatin1(c.flags).split(u' ', Qt::SkipEmptyParts);
        for (const RouteField &field : routeFields()) {
            if (flags.contains(QLatin1String(field.name)))
                r.*field.int16 = Yes;
        }
        st.routes[1] = r;
        st.routeCount = 1;
        f.control().UpdateTree();
        EXPECT_EQ(f.nodes(), QStringList{QStringLiteral("D1|%1|%2").arg(r.RouteDef).arg(c.updateTree)}) << c.flags;

        st.workingRoute = r;
        QTreeWidgetItem *unused = nullptr;
        f.control().AddTreeNode(unused);
        EXPECT_EQ(unused, nullptr);
        EXPECT_EQ(f.nodes().value(1), QStringLiteral("D1|%1|%2").arg(r.RouteDef).arg(c.addTreeNode)) << c.flags;
        EXPECT_EQ(f.selectedKey(), QStringLiteral("D1"));
        EXPECT_EQ(f.control().Tree->currentItem(), f.control().Tree->topLevelItem(1));
    }
    // The icons behind the numbers are real pictures.
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(f.control().ImageList1->icon(i).pixmap(16, 16).isNull()) << i;
    EXPECT_TRUE(f.control().ImageList1->icon(11).isNull());
}

TEST(Tree, RouteNamesRereadsTheFile)
{
    ControlFixture f(routesOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}), true);
    EXPECT_EQ(f.control().RouteNames(), (QStringList{QString(), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));

    // A rename held in memory is lost when the file is read again.
    bool cancel = false;
    f.select(2);
    f.control().Tree_AfterLabelEdit(cancel, QStringLiteral("renamed"));
    EXPECT_EQ(f.store().routes[2].RouteDef, QStringLiteral("renamed"));
    EXPECT_EQ(f.control().RouteNames().value(2), QStringLiteral("b"));

    // A vanished file: count 0, one empty name, nothing written, the tree untouched.
    QFile::remove(f.s.path(QStringLiteral("Routes.xml")));
    EXPECT_EQ(f.control().RouteNames(), QStringList{QString()});
    EXPECT_EQ(f.store().routeCount, 0);
    EXPECT_FALSE(QFile::exists(f.s.path(QStringLiteral("Routes.xml"))));
    EXPECT_EQ(f.nodes().size(), 3);
}
