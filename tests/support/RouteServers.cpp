#include "support/RouteServers.h"

#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace molvik::test {

RouteServers::RouteServers()
{
    m_process.setStandardErrorFile(m_folder.filePath(QStringLiteral("servers.log")));
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(MOLVIK_TEST_DATA "/../support/route_servers.py"), m_folder.path()});
    while (!m_process.canReadLine() && m_process.waitForReadyRead(60000)) {
    }
    const QByteArray line = m_process.readLine();
    if (line.startsWith("ready "))
        m_ready = QJsonDocument::fromJson(line.mid(6)).object();
    QFile log(m_folder.filePath(QStringLiteral("servers.log")));
    EXPECT_TRUE(ready()) << "the servers did not start: " << line.toStdString()
                         << (log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string());
}

RouteServers::~RouteServers()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished();
}

QString RouteServers::fill(QString text) const
{
    for (auto it = m_ready.begin(); it != m_ready.end(); ++it)
        text.replace(u'{' + it.key() + u'}', it.value().toVariant().toString());
    return text;
}

RouteDef routeOf(const QStringList &fields)
{
    RouteDef route;
    for (const QString &field : fields) {
        const QString name = field.section(u'=', 0, 0), value = field.section(u'=', 1);
        const auto f = std::find_if(routeFields().begin(), routeFields().end(),
                                    [&name](const RouteField &f) { return name == QLatin1String(f.name); });
        EXPECT_NE(f, routeFields().end()) << "no field " << name.toStdString();
        if (f == routeFields().end())
            continue;
        if (f->text)
            route.*f->text = value;
        else if (f->int16)
            route.*f->int16 = value.toShort();
        else
            route.*f->int32 = value.toInt();
    }
    return route;
}

void writeRoutes(const QString &path, const QList<RouteDef> &routes)
{
    RouteStore store(plainEnvironment(QFileInfo(path).absolutePath()));
    for (const RouteDef &route : routes)
        store.routes[std::size_t(++store.routeCount)] = route;
    ASSERT_TRUE(RuleSys::saveRoutes(store, path).ok());
}

} // namespace molvik::test
