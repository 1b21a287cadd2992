#include "store/RoutesReader.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

// A value as long as a line may be comes back whole, with the route after
// it untouched; one byte more is refused and the file on disk stays as it was.
TEST(LongLine, TheLongestLineRoundTripsAndOneByteMoreIsRefused)
{
    const qsizetype tags = qsizetype(sizeof "<RemoteDirectory></RemoteDirectory>") - 1;
    for (const qsizetype extra : {0, 1}) {
        SCOPED_TRACE(extra);
        NativeStore s;
        RouteStore &st = *s.store;
        st.routes[1] = sampleRoute(1);
        st.routes[2] = sampleRoute(2);
        st.routeCount = 2;
        ASSERT_TRUE(RuleSys::saveRoutes(st, s.path(QStringLiteral("Routes.xml"))).ok());
        const QByteArray before = s.read(QStringLiteral("Routes.xml"));

        st.routes[1].RemoteDirectory = QString(RoutesReader::kMaxLine - tags + extra, QLatin1Char('x'));
        const IoResult saved = RuleSys::saveRoutes(st, s.path(QStringLiteral("Routes.xml")));
        RouteStore back(st.environment());
        ASSERT_TRUE(RuleSys::loadRoutes(back, s.path(QStringLiteral("Routes.xml"))));
        if (extra == 0) {
            EXPECT_TRUE(saved.ok()) << saved.text().toStdString();
            EXPECT_EQ(back.routeCount, 2);
            EXPECT_EQ(back.routes[1].RemoteDirectory, st.routes[1].RemoteDirectory);
            EXPECT_EQ(back.routes[1].RemoteFTPDirectory, st.routes[1].RemoteFTPDirectory); // the line after it
            EXPECT_EQ(back.routes[2].RouteDef, st.routes[2].RouteDef);
        } else {
            EXPECT_EQ(saved.code, IoResult::Code::LineTooLong);
            EXPECT_EQ(s.read(QStringLiteral("Routes.xml")), before);
        }
    }
}
