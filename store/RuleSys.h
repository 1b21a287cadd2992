#pragma once

#include "platform/IoResult.h"

#include <QString>

namespace molvik {

class RouteStore;

// The route-store operations on the shared state.
namespace RuleSys {

// Gives the working route record its fresh-route values; some fields keep
// what the previous route left there.
void resetWorkingRoute(RouteStore &store);

// Copies the working route into the slot after the last; no when the table
// is full.
bool appendWorkingRoute(RouteStore &store);

// Appends the working route to the table and rewrites the routes file. Never
// fails to its caller; a full table appends nothing and writes nothing. A
// failed write is kept in store.lastAppendFailure.
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
