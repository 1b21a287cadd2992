#include "store/Reg.h"
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

QByteArray golden(const char *name)
{
    QFile f(QStringLiteral(MOLVIK_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no golden file>");
}

} // namespace

TEST(Writer, DefaultRouteOnWindowsMatchesTheGoldenFileByteForByte)
{
    WindowsStore w;
    RouteStore &st = *w.store;
    ASSERT_TRUE(Reg::selectDataFolder(st).ok());
    RuleSys::makeDefaultRoute(st);
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(st.routesPath(), QStringLiteral("C:\\programData\\Kelmora\\Routes.xml"));
    const QByteArray bytes = w.read(st.routesPath());
    EXPECT_EQ(bytes, golden("default-route.xml"));

    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 62); // 61 lines and the empty rest after the last LF
    EXPECT_EQ(lines[0], "<Routes>\r");
    EXPECT_EQ(lines[1], "<RouteDef>Default Route</RouteDef>\r");
    EXPECT_EQ(lines[13], "<RemoteDirectory>C:\\programData\\Kelmora\\Hold</RemoteDirectory>\r");
    EXPECT_EQ(lines[27], "<Pattern>*.*</Pattern>\r");
    EXPECT_EQ(lines[28], "<DefaultRoute>True</DefaultRoute>\r");
    EXPECT_EQ(lines[30], "<FTPport>0</FTPport>\r");
    EXPECT_EQ(lines[58], "<EncryptFile>True</EncryptFile>\r");
    EXPECT_EQ(lines[60], "</Routes>\r");
}

TEST(Writer, FullTableRoundTripsByteForByte)
{
    NativeStore s;
    const QByteArray table = golden("full-table.xml");
    s.write(QStringLiteral("in.xml"), table);
    RouteStore &st = *s.store;
    ASSERT_TRUE(RuleSys::loadRoutes(st, s.path(QStringLiteral("in.xml"))));
    ASSERT_EQ(st.routeCount, 10);
    EXPECT_EQ(st.routes[1].RouteDef, QString::fromUtf8("Route 1 \u00e9t\u00e9 \u20ac"));
    EXPECT_EQ(st.routes[3].mailPOPService, -3);
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")), table);
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")).count('\n'), 59 * 10 + 2);

    // Written twice, the same bytes; read back and written again, the same bytes.
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")), table);
    NativeStore again;
    again.write(QStringLiteral("Routes.xml"), s.read(QStringLiteral("Routes.xml")));
    ASSERT_TRUE(RuleSys::loadRoutes(*again.store, again.store->routesPath()));
    ASSERT_TRUE(RuleSys::saveRoutes(*again.store, again.store->routesPath()).ok());
    EXPECT_EQ(again.read(QStringLiteral("Routes.xml")), table);
}

TEST(Writer, ValueFormsAndTheEmptyTable)
{
    NativeStore s;
    RouteStore &st = *s.store;
    st.routes[1].RouteDef = QStringLiteral("a<b>|c");
    st.routes[1].mailPOPService = -5;
    st.routes[1].FTPport = -2147483647 - 1;
    st.routes[1].SMTP = 1; // any non-zero value is written as yes
    st.routes[1].AutoEmailMessage = QStringLiteral("two\r\nlines");
    st.routes[1].FTPServer = QString::fromUtf8("\u4e2d");
    st.routeCount = 1;
    const QByteArray bytes = RoutesWriter::serialize(st);
    EXPECT_TRUE(bytes.contains("\r\n<RouteDef>a<b>|c</RouteDef>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n<mailPOPService>-5</mailPOPService>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n<FTPport>-2147483648</FTPport>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n<SMTP>True</SMTP>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n<AutoEmailMessage>two\r\nlines</AutoEmailMessage>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n<FTPServer>?</FTPServer>\r\n"));

    // A count of 0 leaves an existing file empty: not even "<Routes>".
    s.write(QStringLiteral("Routes.xml"), "<Routes>\r\nold\r\n");
    st.routeCount = 0;
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")), QByteArray());
}

TEST(Writer, AFailedSaveReportsThePathAndLeavesTheOldFile)
{
    NativeStore s;
    RouteStore &st = *s.store;
    st.routes[1] = sampleRoute(1);
    st.routeCount = 1;
    const IoResult missingFolder = RuleSys::saveRoutes(st, s.path(QStringLiteral("nope/Routes.xml")));
    EXPECT_FALSE(missingFolder.ok());
    EXPECT_EQ(missingFolder.path, s.path(QStringLiteral("nope/Routes.xml")));

    // On a version 6 system the shared data folder must be made first; when
    // it cannot be, the save stops there.
    WindowsStore w;
    QDir(w.local(QStringLiteral("C:\\programData"))).removeRecursively();
    w.store->routeCount = 1;
    const IoResult r = RuleSys::saveRoutes(*w.store, QStringLiteral("C:\\programData\\Kelmora\\Routes.xml"));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.code, IoResult::Code::CreateFolderFailed);
}
