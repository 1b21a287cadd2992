#pragma once

#include "store/RouteStore.h"
#include "store/RoutesWriter.h"
#include "support/StoreTestSupport.h"

namespace molvik::test {

// The real file system on a zeroed version record: never the shared data folder.
inline Environment plainEnvironment(const QString &folder = {})
{
    return Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::make_shared<FileSystem>(), folder};
}

// The tables the save-loop child alternates between: save n writes ten
// routes when n is even and three when it is odd, with n itself in the first
// route so a reader can tell which save a file came from.
inline void fillSaveLoopTable(RouteStore &store, qint64 n)
{
    const bool even = n % 2 == 0;
    store.routeCount = even ? 10 : 3;
    for (int slot = 1; slot <= store.routeCount; ++slot)
        store.routes[std::size_t(slot)] = sampleRoute(even ? slot : 20 + slot);
    store.routes[1].UserID = QStringLiteral("save %1").arg(n);
}

inline QByteArray saveLoopTable(qint64 n)
{
    RouteStore store(plainEnvironment());
    fillSaveLoopTable(store, n);
    return RoutesWriter::serialize(store);
}

} // namespace molvik::test
