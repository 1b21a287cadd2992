#pragma once

#include <QByteArray>

namespace molvik {

class RouteStore;

// The routes file as bytes: "<Routes>", 59 element lines per route in the
// element order, "</Routes>", CR LF after each line, ANSI text. Empty for a
// table without routes.
class RoutesWriter
{
public:
    static QByteArray serialize(const RouteStore &store);
};

} // namespace molvik
