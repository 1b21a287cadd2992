#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

TEST(RouteRecord, ResetGivesFreshValuesAndKeepsTheCarriedFields)
{
    NativeStore s;
    RouteStore &st = *s.store;
    // Every field odd, so a field that is reset and one that is kept differ.
    RouteDef odd;
    for (const RouteField &f : routeFields()) {
        if (f.kind == RouteField::Kind::Text)
            odd.*f.text = QStringLiteral("odd");
        else if (f.int16)
            odd.*f.int16 = 5;
        else
            odd.*f.int32 = 12345;
    }
    st.workingRoute = odd;
    st.routeCount = 2;
    RuleSys::resetWorkingRoute(st);

    RouteDef expected;     // empty, no and 0 ...
    expected.FTPport = 21; // ... but for these
    expected.PrxyPort = 21;
    expected.mailPOPService = 110;
    expected.mailSMTPService = 25;
    expected.SMTP = Yes;
    expected.DefaultRoute = Yes;
    // Carried over from the previous route.
    expected.Pattern = expected.DialUpEntry = expected.ValidSchedule = QStringLiteral("odd");
    expected.SafeUpload = expected.FTPSecure = expected.FTPPassive = expected.GenDirUnZip = 5;
    expected.EncryptFile = expected.DecryptFile = 5;
    EXPECT_EQ(st.workingRoute, expected);
    EXPECT_EQ(st.routeCount, 2);
}

TEST(RouteRecord, AppendAndSaveCopiesIntoTheNextSlotAndWrites)
{
    NativeStore s;
    RouteStore &st = *s.store;
    for (int i = 1; i <= 3; ++i)
        st.routes[std::size_t(i)] = sampleRoute(i);
    st.routeCount = 3;
    st.workingRoute = sampleRoute(4);
    RuleSys::appendAndSave(st);
    EXPECT_EQ(st.routeCount, 4);
    EXPECT_EQ(st.routes[4], sampleRoute(4));
    EXPECT_TRUE(st.lastAppendFailure.ok());
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")).count("<RouteDef>"), 4);

    // The slot is a copy, not a view of the working record.
    st.workingRoute.RouteDef = QStringLiteral("changed");
    EXPECT_EQ(st.routes[4].RouteDef, sampleRoute(4).RouteDef);

    // A full table appends nothing and writes nothing.
    for (int i = 5; i <= 10; ++i)
        st.routes[std::size_t(i)] = sampleRoute(i);
    st.routeCount = 10;
    const QByteArray before = s.read(QStringLiteral("Routes.xml"));
    RuleSys::appendAndSave(st);
    EXPECT_EQ(st.routeCount, 10);
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")), before);
}

TEST(RouteRecord, AppendAndSaveAbsorbsAWriteFailureButRemembersIt)
{
    NativeStore s;
    RouteStore &st = *s.store;
    st.dataFolder = s.path(QStringLiteral("missing"));
    st.workingRoute.RouteDef = QStringLiteral("kept in memory");
    RuleSys::appendAndSave(st);
    EXPECT_EQ(st.routeCount, 1);
    EXPECT_EQ(st.routes[1].RouteDef, QStringLiteral("kept in memory"));
    EXPECT_FALSE(st.lastAppendFailure.ok());
    EXPECT_TRUE(st.lastAppendFailure.path.endsWith(QStringLiteral("Routes.xml")));
}

TEST(RouteRecord, RebuildNamesFollowsTheCount)
{
    NativeStore s;
    RouteStore &st = *s.store;
    st.routes[0].RouteDef = QString();
    st.routes[1].RouteDef = QStringLiteral("one");
    st.routes[2].RouteDef = QStringLiteral("two");
    st.routes[3].RouteDef = QStringLiteral("stale");
    st.names = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("w"), QStringLiteral("v")};
    st.routeCount = 2;
    RuleSys::rebuildNames(st);
    EXPECT_EQ(st.names, (QStringList{QString(), QStringLiteral("one"), QStringLiteral("two")}));
    st.routeCount = 0;
    RuleSys::rebuildNames(st);
    EXPECT_EQ(st.names, QStringList{QString()});
}
