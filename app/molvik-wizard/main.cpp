// molvik-wizard: a host window holding the routing wizard control, so an
// operator can keep the routes without a host application of their own.

#include "control/Molvik4.h"
#include "control/MolvikWizard.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Help and the version are plain text: asked for them, the program makes no
// connection to a display, so they work where there is none.
bool onlyText(int argc, char **argv)
{
    bool text = false;
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"})
            text = text || std::strcmp(argv[i], option) == 0;
        if (std::strncmp(argv[i], "--screenshot", 12) == 0)
            return false;
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const std::unique_ptr<QCoreApplication> app =
        onlyText(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("molvik-wizard"));
    QApplication::setApplicationVersion(molvik::molvikWizardVersion());
    QApplication::setDesktopFileName(QStringLiteral("molvik-wizard"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Keeps the routes along which finished files leave this workstation."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Start, render the window to the PNG <file>, and exit."),
                                        QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(*app);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MolvikWizard"));
    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    auto *control = new molvik::Molvik4(central);
    layout->addWidget(control);
    window.setCentralWidget(central);

    // A screenshot run has no one to close a message box: failures go to
    // standard error there.
    const bool screenshotRun = parser.isSet(screenshot);
    QObject::connect(
        control, &molvik::Molvik4::operationFailed, &window, [&window, screenshotRun](const QString &path, const QString &cause) {
            if (screenshotRun)
                return;
            QMessageBox::critical(&window, QStringLiteral("MolvikWizard"),
                                  QStringLiteral("The routes could not be kept on disk.\n\n%1\n%2").arg(path, cause));
        });
    if (!control->startupFailure().isEmpty())
        std::fprintf(stderr, "molvik-wizard: %s\n", qPrintable(control->startupFailure()));

    if (screenshotRun) {
        window.show();
        QApplication::processEvents();
        const QString file = parser.value(screenshot);
        if (!window.grab().save(file, "PNG")) {
            std::fprintf(stderr, "molvik-wizard: cannot write %s\n", qPrintable(file));
            return 1;
        }
        return control->startupFailure().isEmpty() ? 0 : 1;
    }
    window.show();
    return QApplication::exec();
}
