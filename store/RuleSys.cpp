#include "store/RuleSys.h"

#include "store/Reg.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RoutesReader.h"
#include "store/RoutesWriter.h"

#include <QFile>

namespace molvik::RuleSys {

void resetWorkingRoute(RouteStore &store)
{
    RouteDef &w = store.workingRoute;
    const RouteDef fresh;
    // Pattern, DialUpEntry, SafeUpload, FTPSecure, FTPPassive, GenDirUnZip,
    // EncryptFile, DecryptFile and ValidSchedule carry over to the next route.
    RouteDef next = fresh;
    next.Pattern = w.Pattern;
    next.DialUpEntry = w.DialUpEntry;
    next.SafeUpload = w.SafeUpload;
    next.FTPSecure = w.FTPSecure;
    next.FTPPassive = w.FTPPassive;
    next.GenDirUnZip = w.GenDirUnZip;
    next.EncryptFile = w.EncryptFile;
    next.DecryptFile = w.DecryptFile;
    next.ValidSchedule = w.ValidSchedule;
    next.DefaultRoute = Yes;
    next.FTPport = 21;
    next.PrxyPort = 21;
    next.SMTP = Yes;
    next.mailPOPService = 110;
    next.mailSMTPService = 25;
    next.KXSecurePort = 0;
    w = next;
}

bool appendWorkingRoute(RouteStore &store)
{
    if (store.routeCount >= RouteStore::kMaxRoutes)
        return false;
    ++store.routeCount;
    store.routes[std::size_t(store.routeCount)] = store.workingRoute;
    return true;
}

void appendAndSave(RouteStore &store)
{
    store.lastAppendFailure = IoResult::success();
    // A missing shared folder shows again, and is kept, when the save below runs.
    (void)Reg::ensureDataFolder(store);
    if (appendWorkingRoute(store))
        store.lastAppendFailure = saveRoutes(store, store.routesPath());
}

void removeRoute(RouteStore &store, int slot)
{
    if (slot < 1 || slot > store.routeCount || slot > RouteStore::kMaxRoutes)
        return;
    for (int i = slot; i < store.routeCount && i < RouteStore::kMaxRoutes; ++i)
        store.routes[std::size_t(i)] = store.routes[std::size_t(i) + 1];
    --store.routeCount;
}

bool nameTaken(const RouteStore &store, const QString &name, int except)
{
    const QString lowered = name.toLower();
    for (int i = 1; i <= store.routeCount && i <= RouteStore::kMaxRoutes; ++i) {
        if (i != except && store.routes[std::size_t(i)].RouteDef.toLower() == lowered)
            return true;
    }
    return false;
}

void rebuildNames(RouteStore &store)
{
    const int count = qBound(0, store.routeCount, RouteStore::kMaxRoutes);
    store.names.resize(count + 1);
    for (int i = 0; i <= count; ++i)
        store.names[i] = store.routes[std::size_t(i)].RouteDef;
}

IoResult saveRoutes(RouteStore &store, const QString &path)
{
    if (IoResult r = Reg::ensureDataFolder(store); !r)
        return r;
    for (int slot = 1; slot <= store.routeCount && slot <= RouteStore::kMaxRoutes; ++slot) {
        if (const QString told = RouteChecks::unkeptField(store.routes[std::size_t(slot)]); !told.isEmpty())
            return IoResult::failure(IoResult::Code::ValueNotKept, path, QStringLiteral("route %1: %2").arg(slot).arg(told));
    }
    const QByteArray bytes = RoutesWriter::serialize(store);
    // Never write what load-routes would not read back whole. No line is
    // longer than the whole table: most tables need no look.
    if (const qsizetype longest = bytes.size() > RoutesReader::kMaxLine ? RoutesWriter::longestLine(bytes) : 0;
        longest > RoutesReader::kMaxLine)
        return IoResult::failure(IoResult::Code::LineTooLong, path,
                                 QStringLiteral("a value is too long to keep: a line of %1 bytes, at most %2 are read back")
                                     .arg(longest)
                                     .arg(RoutesReader::kMaxLine));
    return store.fileSystem().writeWhole(path, bytes);
}

bool loadRoutes(RouteStore &store, const QString &path, QString *refusal)
{
    // A shared folder that cannot be made shows as a missing file.
    (void)Reg::ensureDataFolder(store);
    IoResult error;
    bool accepted = false;
    if (const auto file = store.fileSystem().openRead(path, error))
        accepted = RoutesReader::read(*file, store);
    if (!error) {
        // A missing file, or a folder in its place, is no refusal.
        if (refusal && store.fileSystem().fileExists(path))
            *refusal = error.message;
        return false;
    }
    if (accepted)
        return true;
    if (refusal)
        *refusal = QStringLiteral("its first line is not \"<Routes>\"");
    return false;
}

IoResult setAsideRejected(RouteStore &store, const QString &path, QString &keptAs)
{
    keptAs.clear();
    const QString aside = path + QStringLiteral(".rejected");
    const IoResult moved = store.fileSystem().moveAside(path, aside);
    if (moved.code == IoResult::Code::NotFound)
        return IoResult::success();
    if (moved)
        keptAs = aside;
    return moved;
}

void makeDefaultRoute(RouteStore &store)
{
    // The folders are made, and their failures reported, by the control's start-up.
    (void)Reg::ensureDataFolder(store);
    RouteDef &slot = store.routes[1];
    slot.RouteDef = QStringLiteral("Default Route");
    slot.DefaultRoute = Yes;
    slot.DirTransfer = Yes;
    slot.EncryptFile = Yes;
    slot.Pattern = QStringLiteral("*.*");
    slot.RemoteDirectory = store.inDataFolder(QStringLiteral("Hold"));
    slot.UserDirectory = store.inDataFolder(QStringLiteral("Complete"));
    store.routeCount = qMin(store.routeCount + 1, qint32(RouteStore::kMaxRoutes));
    const QString hold = store.inDataFolder(QStringLiteral("Hold"));
    if (!store.fileSystem().folderExists(hold))
        (void)store.fileSystem().createFolder(hold);
}

} // namespace molvik::RuleSys
