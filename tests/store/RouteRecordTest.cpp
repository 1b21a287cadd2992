#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

TEST(RouteRecord, ResetGivesFreshValuesAndKeepsTheCarriedFields)
{
    NativeStore s;
    RouteStore &st = *s.store;
    st.workingRoute = sampleRoute(3);
    const RouteDef before = st.workingRoute;
    st.routeCount = 2;
    st.editIndex = 0;
    RuleSys::resetWorkingRoute(st);
    const RouteDef &w = st.workingRoute;

    EXPECT_EQ(w.FTPport, 21);
    EXPECT_EQ(w.PrxyPort, 21);
    EXPECT_EQ(w.mailPOPService, 110);
    EXPECT_EQ(w.mailSMTPService, 25);
    EXPECT_EQ(w.SMTP, Yes);
    EXPECT_EQ(w.DefaultRoute, Yes);
    EXPECT_EQ(w.KXSecurePort, 0);
    EXPECT_EQ(w.RouteDef, QString());
    EXPECT_EQ(w.RemoteDirectory, QString());
    EXPECT_EQ(w.FTPMonitor, No);
    EXPECT_EQ(w.KelmTransfer, No);
    EXPECT_EQ(w.HyperTransfer, No);
    EXPECT_EQ(w.KXSecurePassword, QString());
    // Carried over from the previous route.
    EXPECT_EQ(w.Pattern, before.Pattern);
    EXPECT_EQ(w.DialUpEntry, before.DialUpEntry);
    EXPECT_EQ(w.SafeUpload, before.SafeUpload);
    EXPECT_EQ(w.FTPSecure, before.FTPSecure);
    EXPECT_EQ(w.FTPPassive, before.FTPPassive);
    EXPECT_EQ(w.GenDirUnZip, before.GenDirUnZip);
    EXPECT_EQ(w.EncryptFile, before.EncryptFile);
    EXPECT_EQ(w.DecryptFile, before.DecryptFile);
    EXPECT_EQ(w.ValidSchedule, before.ValidSchedule);
    EXPECT_EQ(st.routeCount, 2);

    // Exactly the nine carried fields keep an odd value; every other field is reset.
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
    RuleSys::resetWorkingRoute(st);
    QStringList kept;
    for (const RouteField &f : routeFields()) {
        const bool same = f.kind == RouteField::Kind::Text ? st.workingRoute.*f.text == odd.*f.text
                          : f.int16                         ? st.workingRoute.*f.int16 == odd.*f.int16
                                                            : st.workingRoute.*f.int32 == odd.*f.int32;
        if (same)
            kept << QLatin1String(f.name);
    }
    kept.sort();
    EXPECT_EQ(kept.join(u' '), QStringLiteral("DecryptFile DialUpEntry EncryptFile FTPPassive FTPSecure GenDirUnZip Pattern SafeUpload ValidSchedule"));
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
