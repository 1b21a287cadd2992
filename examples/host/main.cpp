// The smallest host: a window with the routing wizard control on it.
// With --check it starts, prints the route names it holds and exits; with
// --check FOLDER it does so on its own route store kept in FOLDER. With
// --show-file it lets the operator pick a file through the control's dialog
// wrapper, prints the path and exits. With --test SLOT it tests that route and
// prints each step as it ends.

#include <control/Molvik4.h>
#include <dialogs/clsDialog.h>
#include <forms/FormContext.h>
#include <probe/RouteTest.h>
#include <store/RouteStore.h>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool check = argc > 1 && std::strcmp(argv[1], "--check") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--show-file") == 0) {
        molvik::clsDialog dialog;
        dialog.setDlgFilePattern(QStringLiteral("Routes (*.xml)") + QChar(0) + QStringLiteral("*.xml") + QChar(0));
        const QString file = dialog.ShowFile(nullptr);
        std::printf("%s\n", qPrintable(file));
        return file.isEmpty() ? 1 : 0;
    }

    if (argc > 2 && std::strcmp(argv[1], "--test") == 0) {
        molvik::Molvik4 routes; // reads the routes into the thread's shared store
        const molvik::RouteStore &store = molvik::FormContext::forCurrentThread().store();
        const int slot = std::atoi(argv[2]);
        if (slot < 1 || slot > store.routeCount)
            return 2;
        molvik::RouteTest test;
        QObject::connect(&test, &molvik::RouteTest::stepFinished, [](const molvik::RouteTest::Step &step) {
            std::printf("%s  %s: %s\n", step.result == molvik::RouteTest::Result::Failed ? "FAILED" : "ok", qPrintable(step.name),
                        qPrintable(step.answer));
        });
        QObject::connect(&test, &molvik::RouteTest::finished, &app, [](bool passed) { QApplication::exit(passed ? 0 : 1); });
        test.start(store.routes[std::size_t(slot)]);
        return QApplication::exec();
    }

    // A store of our own only when asked for; otherwise the thread's shared one.
    std::unique_ptr<molvik::RouteStore> store;
    std::unique_ptr<molvik::FormContext> forms;
    if (check && argc > 2) {
        molvik::Environment env = molvik::Environment::systemDefault();
        env.componentFolder = QString::fromLocal8Bit(argv[2]);
        store = std::make_unique<molvik::RouteStore>(env);
        forms = std::make_unique<molvik::FormContext>(*store, molvik::FormServices::real());
    }

    QMainWindow window;
    auto *routes = forms ? new molvik::Molvik4(*forms, &window) : new molvik::Molvik4(&window);
    window.setCentralWidget(routes);
    QObject::connect(routes, &molvik::Molvik4::operationFailed, &window, [&](const QString &path, const QString &cause) {
        QMessageBox::critical(&window, QStringLiteral("Routes"), path + QStringLiteral("\n") + cause);
    });

    if (check) {
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
