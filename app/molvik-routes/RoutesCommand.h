#pragma once

#include <QStringList>

class QTextStream;

namespace molvik {

// The molvik-routes command line: list, export and check read a routes file;
// add, delete and rename change it through the route store's operations and
// write it with save-routes. No command creates a file or a folder.
class RoutesCommand
{
public:
    enum ExitStatus { Ok = 0, Reported = 1, Failed = 2 };

    // arguments without the program name; returns the exit status.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

} // namespace molvik
