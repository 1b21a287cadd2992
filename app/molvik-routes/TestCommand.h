#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace molvik {

struct RouteDef;

// molvik-routes test: a route's destination reached step by step, one line
// per step as it ends, or JSON at the end.
class TestCommand
{
public:
    struct Options
    {
        bool upload = false;
        bool send = false;
        bool json = false;
        int timeoutMs = 10000;
    };

    // Takes the command's options out of operands; answers what is wrong
    // with them, or nothing.
    static QString takeOptions(QStringList &operands, Options &options);
    // 0 when every step passed, 1 when one failed.
    static int run(const RouteDef &route, const Options &options, QTextStream &out);
};

} // namespace molvik
