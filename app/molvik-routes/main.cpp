#include "app/molvik-routes/RoutesCommand.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    // The route test's sockets need an event loop.
    QCoreApplication app(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = molvik::RoutesCommand::run(arguments, out, err);
    out.flush();
    err.flush();
    return status;
}
