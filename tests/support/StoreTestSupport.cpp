#include "support/StoreTestSupport.h"

#include "store/RoutesWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <tuple>

namespace molvik::test {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray golden(const QString &name)
{
    return readFile(QStringLiteral(MOLVIK_TEST_DATA "/") + name);
}

QStringList tableRows(const QString &name)
{
    QStringList rows = QString::fromUtf8(golden(name)).split(u'\n', Qt::SkipEmptyParts);
    rows.removeIf([](const QString &row) { return row.startsWith(u'#'); });
    return rows;
}

ProgramRun runProgram(const QString &program, const QStringList &arguments, const QString &folder,
                      const QString &inputFile)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    if (!inputFile.isEmpty())
        p.setStandardInputFile(inputFile);
    p.start(program, arguments);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

Environment plainEnvironment(const QString &folder, std::shared_ptr<const FileSystem> fileSystem)
{
    return Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::move(fileSystem), folder};
}

WindowsStore::WindowsStore(quint32 major, const QString &componentFolder)
    : fs(std::make_shared<WindowsPathFileSystem>(tmp.path())),
      store(Environment{std::make_shared<FixedVersionSource>(2, major, 0), fs, componentFolder})
{
    QDir().mkpath(local(componentFolder));
    QDir().mkpath(local(QStringLiteral("C:\\programData")));
}

NativeStore::NativeStore(std::shared_ptr<const FileSystem> fileSystem)
    : store(std::make_unique<RouteStore>(plainEnvironment(tmp.path(), std::move(fileSystem))))
{
    store->dataFolder = tmp.path();
}

RouteDef sampleRoute(int n)
{
    RouteDef r;
    for (const RouteField &f : routeFields()) {
        if (f.kind == RouteField::Kind::Text)
            r.*f.text = QStringLiteral("%1-%2 \u00e9").arg(QLatin1String(f.name)).arg(n);
        else if (f.int16)
            r.*f.int16 = qint16(n);
        else
            r.*f.int32 = 70000 + n;
    }
    return r;
}

void fillSaveLoopTable(RouteStore &store, qint64 n)
{
    const bool even = n % 2 == 0;
    store.routeCount = even ? 10 : 3;
    for (int slot = 1; slot <= store.routeCount; ++slot)
        store.routes[std::size_t(slot)] = sampleRoute(even ? slot : 20 + slot);
    store.routes[1].UserID = QStringLiteral("save %1").arg(n);
}

QByteArray saveLoopTable(qint64 n)
{
    RouteStore store(plainEnvironment());
    fillSaveLoopTable(store, n);
    return RoutesWriter::serialize(store);
}

// A routes file of the given names, each a directory copy, as the reader leaves them.
QByteArray routesOf(const QStringList &names)
{
    RouteStore st(plainEnvironment());
    for (int i = 0; i < names.size(); ++i) {
        RouteDef &r = st.routes[std::size_t(i) + 1];
        std::tie(r.RouteDef, r.DirTransfer, r.RemoteDirectory) = std::tuple(names[i], Yes, QStringLiteral("/srv/") + names[i]);
        std::tie(r.FTPport, r.PrxyPort, r.mailPOPService, r.mailSMTPService) = std::tuple(21, 21, 110, 25);
    }
    st.routeCount = int(names.size());
    return RoutesWriter::serialize(st);
}

} // namespace molvik::test
