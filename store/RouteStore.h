#pragma once

#include "platform/MolvikExport.h"

#include "platform/Environment.h"
#include "platform/IoResult.h"
#include "store/RouteDef.h"

#include <QStringList>

#include <array>

namespace molvik {

// The shared route-store state: the route table (slot 0 unused), the count,
// the working route record the pages fill, the edit index, the route limit,
// the names list and the data folder. One per user-interface thread by
// default, shared by every control on it; tests make their own.
class MOLVIK_EXPORT RouteStore
{
public:
    static constexpr int kMaxRoutes = 10;
    // New routes are refused once the table holds this many.
    static constexpr qint16 kRouteLimit = 8;

    explicit RouteStore(Environment environment = Environment::systemDefault());
    RouteStore(const RouteStore &) = delete;
    RouteStore &operator=(const RouteStore &) = delete;

    // The state shared by every control on the calling thread.
    static RouteStore &forCurrentThread();

    const Environment &environment() const { return m_environment; }
    const FileSystem &fileSystem() const { return *m_environment.fileSystem; }

    // data folder + separator + name
    QString inDataFolder(const QString &name) const { return fileSystem().join(dataFolder, name); }
    QString routesPath() const { return inDataFolder(QStringLiteral("Routes.xml")); }

    std::array<RouteDef, kMaxRoutes + 1> routes{};
    qint32 routeCount = 0;
    RouteDef workingRoute{};
    qint16 editIndex = 0;
    qint16 routeLimit = 0;
    QStringList names;
    QString dataFolder;

    // Set by append-and-save, which absorbs failures as the pages expect; the
    // control looks here after a wizard run so the host still hears of it.
    IoResult lastAppendFailure;
    // Set by the route editor's save, which it does not report itself.
    IoResult lastEditSaveFailure;
    // Why the last change a page asked for was not written: it no longer fit
    // the routes file as another program left it. The control tells the operator.
    QString lastRefusal;

private:
    Environment m_environment;
};

} // namespace molvik
