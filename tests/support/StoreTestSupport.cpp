#include "support/StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace molvik::test {

namespace {

QByteArray readLocal(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeLocal(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

WindowsStore::WindowsStore(const QString &componentFolder, quint32 platform, quint32 major, quint32 minor)
    : fs(std::make_shared<WindowsPathFileSystem>(tmp.path()))
{
    QDir().mkpath(fs->localPath(componentFolder));
    QDir().mkpath(fs->localPath(QStringLiteral("C:\\programData")));
    store = std::make_unique<RouteStore>(
        Environment{std::make_shared<FixedVersionSource>(platform, major, minor), fs, componentFolder});
}

QByteArray WindowsStore::read(const QString &windowsPath) const
{
    return readLocal(local(windowsPath));
}

void WindowsStore::write(const QString &windowsPath, const QByteArray &bytes) const
{
    writeLocal(local(windowsPath), bytes);
}

NativeStore::NativeStore(std::shared_ptr<const FileSystem> fileSystem)
{
    store = std::make_unique<RouteStore>(
        Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::move(fileSystem), tmp.path()});
    store->dataFolder = tmp.path();
}

QByteArray NativeStore::read(const QString &name) const
{
    return readLocal(path(name));
}

void NativeStore::write(const QString &name, const QByteArray &bytes) const
{
    writeLocal(path(name), bytes);
}

QByteArray crlf(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

RouteDef sampleRoute(int n)
{
    RouteDef r;
    int k = n * 100;
    for (const RouteField &f : routeFields()) {
        ++k;
        switch (f.kind) {
        case RouteField::Kind::Text:
            r.*f.text = QStringLiteral("%1-%2").arg(QLatin1String(f.name)).arg(n);
            break;
        case RouteField::Kind::YesNo:
            r.*f.int16 = yesNo((k + n) % 2 == 0);
            break;
        case RouteField::Kind::Int16:
            r.*f.int16 = static_cast<qint16>(k - 300);
            break;
        case RouteField::Kind::Int32:
            r.*f.int32 = 70000 + k;
            break;
        }
    }
    r.RouteDef = QString::fromUtf8("Route %1 \u00e9").arg(n);
    return r;
}

} // namespace molvik::test
