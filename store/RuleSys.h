#pragma once

#include "platform/IoResult.h"

#include <QString>

#include <functional>

namespace molvik {

class RouteStore;
struct RouteDef;

// The route-store operations on the shared state.
namespace RuleSys {

// Gives the working route record its fresh-route values; some fields keep
// what the previous route left there.
void resetWorkingRoute(RouteStore &store);

// Copies the working route into the slot after the last; no when the table
// is full.
bool appendWorkingRoute(RouteStore &store);

// Appends the working route to the routes file as it is now and writes it.
// Never fails to its caller: a failed write is kept in
// store.lastAppendFailure, and a route that no longer fits (the file holds
// the route limit, or a route another program saved meanwhile has its name)
// is not appended, with why in store.lastRefusal.
void appendAndSave(RouteStore &store);

// Removes the route in slot (1 to the count): the later routes move up one
// slot each, in their order.
void removeRoute(RouteStore &store, int slot);

// Yes when a route other than the one in slot except has the name, compared
// in lower case.
bool nameTaken(const RouteStore &store, const QString &name, int except);

// Refills the names list (indices 0 to the count) from the table.
void rebuildNames(RouteStore &store);

// Rewrites the whole routes file from the table. A table with a line the
// reader would skip, or a value it would not read back as it is, is refused
// and the file left as it was.
IoResult saveRoutes(RouteStore &store, const QString &path);

// How a change made on the routes file as it is now ended.
struct Change
{
    IoResult failure;    // the lock or the write failed
    QString refusal;     // the change did not fit the file as it is now: nothing written
    bool reread = false; // another program had changed the file: the table now holds it
};

// One change to the table; answers why it refuses, or nothing.
using Edit = std::function<QString(RouteStore &table)>;

// Reads the routes file again while holding its folder's save lock, makes
// edit on what it read and writes before letting go, so no save of another
// program falls in between. Routes nobody else changed keep their form in
// memory: with no other program at work the bytes written are those of the
// table in memory. A file that is missing or not of routes leaves the table
// in memory. When the lock cannot be taken the edit is made in memory only,
// as after a failed write. A refusal writes nothing.
Change changeRoutes(RouteStore &store, const QString &path, const Edit &edit);

// Reads the routes file again under the lock, as changeRoutes does, for a
// reader that follows the file.
IoResult rereadRoutes(RouteStore &store, const QString &path);

// The slot holding route: slot when it still does, else the first that does;
// 0 when it is no longer in the table.
int findRoute(const RouteStore &store, const RouteDef &route, int slot);

// Puts after where before is in the file as it is now. Refused when another
// program changed or removed before, or when after's name is another route's.
Change replaceRoute(RouteStore &store, const QString &path, int slot, const RouteDef &before, const RouteDef &after);

// Why a change to the named route was not written: another program changed it.
QString changedElsewhereMessage(const QString &name);
// What a new route meets once the table holds the route limit.
QString routeLimitMessage();

// Appends the file's routes from slot count + 1 upward. Yes when the file
// exists and its first line is exactly "<Routes>". When it answers no for a
// file that is there, refusal (if given) gets why.
bool loadRoutes(RouteStore &store, const QString &path, QString *refusal = nullptr);

// Moves a file that load-routes refused to path + ".rejected", replacing an
// older one, so the default route can take its place without a byte lost.
// keptAs gets the new name, or stays empty when there was no file. A file
// that cannot be moved (or is not a regular file) is a failure: it must not
// be overwritten either.
IoResult setAsideRejected(RouteStore &store, const QString &path, QString &keptAs);

// Puts the "Default Route" into slot 1 and makes the Hold folder.
void makeDefaultRoute(RouteStore &store);

} // namespace RuleSys
} // namespace molvik
