#pragma once

#include <QStringList>

class QTextStream;

namespace molvik {

// The molvik-routes command line: list, export and check of a routes file.
// It only reads; it never writes the file or creates a folder.
class RoutesCommand
{
public:
    enum ExitStatus { Ok = 0, Reported = 1, Failed = 2 };

    // arguments without the program name; returns the exit status.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

} // namespace molvik
