#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace molvik {

class RouteStore;

namespace bench {

// Ten routes with every field filled, as big as a real table gets.
void fillFullTable(RouteStore &store);

// A file that starts "<Routes>" and goes on with junk: lines the reader must
// look at and drop (text, unknown elements, values that do not convert, routes
// past the tenth, lines over the length limit), LF and CR LF mixed. The same
// seed gives the same bytes.
bool writeJunkFile(const QString &path, qint64 bytes);

} // namespace bench
} // namespace molvik
