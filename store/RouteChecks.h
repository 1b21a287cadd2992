#pragma once

#include <QString>

namespace molvik {

struct RouteDef;

// What the wizard pages decide about a route, kept free of widgets so the
// command-line tool decides the same.
namespace RouteChecks {

// The name as the name page keeps it: without "/", "\", "*", "?", "<" and the
// double quotation mark; blanks and everything else stay.
QString cleanName(QString name);

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
