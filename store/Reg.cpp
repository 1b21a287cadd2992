#include "store/Reg.h"

#include "platform/AnsiText.h"
#include "store/RouteStore.h"

namespace molvik::Reg {

QString systemName(const VersionSource &version)
{
    const OsVersionInfo v = version.query();
    switch (v.dwPlatformId) {
    case 1:
        switch (v.dwMinorVersion) {
        case 0:
            return QStringLiteral("95");
        case 10:
            return QStringLiteral("98");
        case 90:
            return QStringLiteral("ME");
        default:
            return {};
        }
    case 2:
        switch (v.dwMajorVersion) {
        case 3:
            return QStringLiteral("NT3.51");
        case 4:
            return QStringLiteral("NT4");
        case 5:
            return v.dwMinorVersion == 0 ? QStringLiteral("2000") : QStringLiteral("XP");
        case 6:
            return QStringLiteral("Vista");
        default:
            return {};
        }
    default:
        return QStringLiteral("Failed");
    }
}

namespace {

bool usesSharedFolder(const RouteStore &store)
{
    const Environment &env = store.environment();
    return systemName(*env.version) == u"Vista" && store.fileSystem().baseName(env.componentFolder) == u"Kelmora";
}

IoResult useSharedFolder(RouteStore &store)
{
    store.dataFolder = kVistaDataFolder;
    if (store.fileSystem().folderExists(store.dataFolder))
        return IoResult::success();
    return store.fileSystem().createFolder(store.dataFolder);
}

} // namespace

IoResult selectDataFolder(RouteStore &store)
{
    if (!usesSharedFolder(store)) {
        store.dataFolder = store.environment().componentFolder;
        return IoResult::success();
    }
    return useSharedFolder(store);
}

IoResult ensureDataFolder(RouteStore &store)
{
    if (!usesSharedFolder(store))
        return IoResult::success();
    return useSharedFolder(store);
}

QString readExplanation(const Environment &environment, const QString &pageName)
{
    const FileSystem &fs = *environment.fileSystem;
    const QString path =
        fs.join(fs.join(environment.componentFolder, QStringLiteral("Wizard")), pageName + QStringLiteral(".dat"));
    QByteArray bytes;
    const IoResult r = fs.readAll(path, bytes);
    if (!r)
        return QString::number(r.systemError) + u' ' + r.message;
    return AnsiText::decode(bytes);
}

} // namespace molvik::Reg
