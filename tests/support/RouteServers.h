#pragma once

#include "store/RouteDef.h"

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace molvik::test {

// The servers of route_servers.py beside this file, on 127.0.0.1, for as
// long as this lives.
class RouteServers
{
public:
    RouteServers();
    ~RouteServers();

    bool ready() const { return !m_ready.isEmpty(); }
    // A port or a path by its name in the servers' ready line.
    QString operator[](const QString &name) const { return m_ready.value(name).toVariant().toString(); }
    // text with every {name} of the ready line replaced by its value.
    QString fill(QString text) const;

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QJsonObject m_ready;
};

// A route of NAME=VALUE fields as the routes file names them.
RouteDef routeOf(const QStringList &fields);
// A routes file of those routes, in slots 1 and on.
void writeRoutes(const QString &path, const QList<RouteDef> &routes);

} // namespace molvik::test
