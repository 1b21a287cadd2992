#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

namespace molvik {

struct RouteDef;

// What the wizard pages decide about a route, kept free of widgets so the
// command-line tool decides the same.
namespace RouteChecks {

// The name as the name page keeps it: without "/", "\", "*", "?", "<" and the
// double quotation mark; blanks and everything else stay.
QString cleanName(QString name);

// What the routes file cannot keep of a value: "<", ">" and "|" (the reader
// splits lines at them), a line break (LF, alone or after CR), and any
// character outside the code page. Empty when the value reads back as it
// is; otherwise what the operator is told, naming the field and those
// characters.
QString unkeptValue(const QString &field, QStringView value);

// The same for every text of a route, each field named by its element; the
// first one the file would not keep, or empty.
QString unkeptField(const RouteDef &route);

// A numbered entry for each value the file would not keep, as a page lists
// its problems: {label, value} pairs.
QString unkeptProblems(std::initializer_list<std::pair<QString, QStringView>> values);

// The title under which a page shows a problems text.
QString problemsTitle();

// What renaming a route to another route's name (in any letter case) is told.
QString nameTakenMessage();

// The FTP page's numbered problems for the route's site and login name;
// empty when there are none.
QString ftpProblems(const RouteDef &route);

// The email page's numbered problems for the route's recipient, subject,
// message and, by its SMTP and POP3 switches, its server fields; empty when
// there are none.
QString emailProblems(const RouteDef &route);

} // namespace RouteChecks
} // namespace molvik
