#include "store/Reg.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

TEST(DefaultRoute, FillsSlotOneAndMakesHold)
{
    WindowsStore w;
    RouteStore &st = *w.store;
    ASSERT_TRUE(Reg::selectDataFolder(st).ok());
    st.names = {QString(), QStringLiteral("untouched")};
    RuleSys::makeDefaultRoute(st);
    EXPECT_EQ(st.routeCount, 1);
    const RouteDef &r = st.routes[1];
    EXPECT_EQ(r.RouteDef, QStringLiteral("Default Route"));
    EXPECT_EQ(r.UserDirectory, QStringLiteral("C:\\programData\\Kelmora\\Complete"));
    EXPECT_EQ(r.RemoteDirectory, QStringLiteral("C:\\programData\\Kelmora\\Hold"));
    EXPECT_EQ(r.Pattern, QStringLiteral("*.*"));
    EXPECT_EQ(r.DefaultRoute, Yes);
    EXPECT_EQ(r.DirTransfer, Yes);
    EXPECT_EQ(r.EncryptFile, Yes);
    EXPECT_EQ(r.FTPport, 0);
    EXPECT_EQ(r.SMTP, No);
    EXPECT_TRUE(QDir(w.local(QStringLiteral("C:\\programData\\Kelmora\\Hold"))).exists());
    EXPECT_FALSE(QDir(w.local(QStringLiteral("C:\\programData\\Kelmora\\Complete"))).exists());
    EXPECT_EQ(st.names.value(1), QStringLiteral("untouched"));
}

TEST(DefaultRoute, KeepsAnExistingHoldAndSurvivesABlockedOne)
{
    NativeStore s;
    QDir().mkdir(s.path(QStringLiteral("Hold")));
    s.write(QStringLiteral("Hold/waiting.pdf"), "data");
    RuleSys::makeDefaultRoute(*s.store);
    EXPECT_EQ(s.read(QStringLiteral("Hold/waiting.pdf")), QByteArray("data"));

    // A file standing where Hold should be: the route still stands.
    NativeStore blocked;
    blocked.write(QStringLiteral("Hold"), "a file");
    RuleSys::makeDefaultRoute(*blocked.store);
    EXPECT_EQ(blocked.store->routeCount, 1);
    EXPECT_EQ(blocked.read(QStringLiteral("Hold")), QByteArray("a file"));
}
