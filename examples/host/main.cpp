// The smallest host: a window with the routing wizard control on it.
// With --check it starts, prints the route names it holds and exits.

#include <control/Molvik4.h>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *routes = new molvik::Molvik4(&window);
    window.setCentralWidget(routes);
    QObject::connect(routes, &molvik::Molvik4::operationFailed, &window, [&](const QString &path, const QString &cause) {
        QMessageBox::critical(&window, QStringLiteral("Routes"), path + QStringLiteral("\n") + cause);
    });

    if (argc > 1 && std::strcmp(argv[1], "--check") == 0) {
        try {
            const QStringList names = routes->RouteNames();
            for (qsizetype i = 1; i < names.size(); ++i)
                std::printf("%lld %s\n", static_cast<long long>(i), qPrintable(names[i]));
            return names.size() > 1 ? 0 : 1;
        } catch (const molvik::Molvik4Error &e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    window.show();
    return QApplication::exec();
}
