#pragma once

#include <QByteArray>
#include <QString>

namespace molvik {

struct RouteDef;

// One route as a JSON object: its elements as keys, texts as strings, yes/no
// as booleans, numbers as whole numbers.
class RouteJson
{
public:
    // The object's members, one a line under the given indent, in element
    // order; with redact, a password that is set shows as "********".
    static QString write(const RouteDef &route, const QString &indent, bool redact);

    // Sets the fields the object names and keeps the rest. No, with why, for
    // text that is not one object, an unknown key or a value of the wrong kind.
    static bool read(const QByteArray &json, RouteDef &route, QString &error);
};

} // namespace molvik
