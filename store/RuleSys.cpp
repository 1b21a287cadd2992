#include "store/RuleSys.h"

#include "store/Reg.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RoutesReader.h"
#include "store/RoutesWriter.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <vector>

namespace molvik::RuleSys {

namespace {

// The table's bytes written whole, under held when given; refused when load-routes
// would not read a value back whole.
IoResult writeTable(RouteStore &store, const QString &path, const DurableWrite::FolderLock *held)
{
    for (int slot = 1; slot <= store.routeCount && slot <= RouteStore::kMaxRoutes; ++slot) {
        if (const QString told = RouteChecks::unkeptField(store.routes[std::size_t(slot)]); !told.isEmpty())
            return IoResult::failure(IoResult::Code::ValueNotKept, path, QStringLiteral("route %1: %2").arg(slot).arg(told));
    }
    const QByteArray bytes = RoutesWriter::serialize(store);
    // No line is longer than the whole table: most tables need no look.
    if (const qsizetype longest = bytes.size() > RoutesReader::kMaxLine ? RoutesWriter::longestLine(bytes) : 0;
        longest > RoutesReader::kMaxLine)
        return IoResult::failure(IoResult::Code::LineTooLong, path,
                                 QStringLiteral("a value is too long to keep: a line of %1 bytes, at most %2 are read back")
                                     .arg(longest)
                                     .arg(RoutesReader::kMaxLine));
    return store.fileSystem().writeWhole(path, bytes, held);
}

// Puts the file's routes in place of the table's; yes when that changed the
// table. A route the file holds as the table's own would read back keeps the
// table's form, so a table nobody else touched stays exactly as it was.
bool takeFileAsItIs(RouteStore &store, const QString &path)
{
    RouteStore file(store.environment());
    file.dataFolder = store.dataFolder;
    if (!loadRoutes(file, path))
        return false;
    QByteArray bytes = RoutesWriter::serialize(store);
    QBuffer buffer(&bytes);
    RouteStore readBack(store.environment());
    if (buffer.open(QIODevice::ReadOnly))
        RoutesReader::read(buffer, readBack);
    // A value the reader would split shifts the routes read back: no form is kept then.
    const int known = readBack.routeCount == store.routeCount ? readBack.routeCount : 0;
    decltype(store.routes) table{};
    for (int i = 1; i <= file.routeCount; ++i) {
        const RouteDef &route = file.routes[std::size_t(i)];
        const auto end = readBack.routes.begin() + known + 1;
        const auto same = std::find(readBack.routes.begin() + 1, end, route);
        table[std::size_t(i)] = same == end ? route : store.routes[std::size_t(same - readBack.routes.begin())];
    }
    if (file.routeCount == store.routeCount &&
        std::equal(table.begin() + 1, table.begin() + file.routeCount + 1, store.routes.begin() + 1))
        return false;
    store.routes = table;
    store.routeCount = file.routeCount;
    return true;
}

// The save lock of path's folder, in lock. A folder we may not list or lock
// still takes a change, as it takes a save: not serialised, and lock empty.
IoResult lockFor(RouteStore &store, const QString &path, std::unique_ptr<DurableWrite::FolderLock> &lock)
{
    if (IoResult r = Reg::ensureDataFolder(store); !r)
        return r;
    lock = store.fileSystem().lockFolder(path);
    if (lock->result().code != IoResult::Code::LockFailed)
        return lock->result();
    lock.reset();
    return IoResult::success();
}

} // namespace

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
    const int count = qBound(0, store.routeCount, RouteStore::kMaxRoutes);
    const std::vector<RouteDef> known(store.routes.begin() + 1, store.routes.begin() + count + 1);
    const Change change = changeRoutes(store, store.routesPath(), [&known](RouteStore &table) -> QString {
        // Before a control sets the limit only the table's size bounds it.
        if ((table.routeLimit > 0 && table.routeCount >= table.routeLimit) || table.routeCount >= RouteStore::kMaxRoutes)
            return routeLimitMessage();
        const QString name = table.workingRoute.RouteDef.toLower();
        for (int i = 1; i <= table.routeCount; ++i) {
            const RouteDef &r = table.routes[std::size_t(i)];
            // The wizard never refused a name the operator could see in the
            // tree; a route another program saved meanwhile is another matter.
            if (r.RouteDef.toLower() == name && std::find(known.begin(), known.end(), r) == known.end())
                return RouteChecks::nameTakenMessage();
        }
        appendWorkingRoute(table);
        return {};
    });
    store.lastAppendFailure = change.failure;
    store.lastRefusal = change.refusal;
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
    return writeTable(store, path, nullptr);
}

Change changeRoutes(RouteStore &store, const QString &path, const Edit &edit)
{
    Change change;
    std::unique_ptr<DurableWrite::FolderLock> lock;
    IoResult ready = lockFor(store, path, lock);
    if (ready)
        change.reread = takeFileAsItIs(store, path);
    change.refusal = edit(store);
    if (change.refusal.isEmpty())
        change.failure = ready ? writeTable(store, path, lock.get()) : ready;
    return change;
}

IoResult rereadRoutes(RouteStore &store, const QString &path)
{
    std::unique_ptr<DurableWrite::FolderLock> lock;
    const IoResult ready = lockFor(store, path, lock);
    if (ready)
        takeFileAsItIs(store, path);
    return ready;
}

int findRoute(const RouteStore &store, const RouteDef &route, int slot)
{
    const int count = qBound(0, store.routeCount, RouteStore::kMaxRoutes);
    if (slot >= 1 && slot <= count && store.routes[std::size_t(slot)] == route)
        return slot;
    const auto end = store.routes.begin() + count + 1;
    const auto found = std::find(store.routes.begin() + 1, end, route);
    return found == end ? 0 : int(found - store.routes.begin());
}

Change replaceRoute(RouteStore &store, const QString &path, int slot, const RouteDef &before, const RouteDef &after)
{
    return changeRoutes(store, path, [&](RouteStore &table) -> QString {
        const int at = findRoute(table, before, slot);
        if (at == 0)
            return changedElsewhereMessage(before.RouteDef);
        if (!after.RouteDef.isEmpty() && nameTaken(table, after.RouteDef, at))
            return RouteChecks::nameTakenMessage();
        table.routes[std::size_t(at)] = after;
        return {};
    });
}

QString changedElsewhereMessage(const QString &name)
{
    return QStringLiteral("Another program changed the route \"%1\" while you were working on it, so your change was "
                          "not saved. The list now shows the routes as they are: please make your change again.")
        .arg(name);
}

QString routeLimitMessage()
{
    return QStringLiteral("You have created the Maximum Number of Routes Allowed!");
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
