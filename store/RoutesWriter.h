#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace molvik {

class RouteStore;

// The routes file as bytes: "<Routes>", 59 element lines per route in the
// element order, "</Routes>", CR LF after each line, ANSI text. Empty for a
// table without routes.
class RoutesWriter
{
public:
    static QByteArray serialize(const RouteStore &store);
    // The longest line of bytes as the reader counts it: without LF or CR LF.
    static qsizetype longestLine(QByteArrayView bytes);
};

} // namespace molvik
