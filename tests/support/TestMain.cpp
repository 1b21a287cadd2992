#ifdef MOLVIK_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Tests run with real widgets and no display: offscreen unless told otherwise.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime; // QTemporaryDir makes it owner only, as a runtime folder must be
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    static QtMessageHandler previousHandler = nullptr;
    previousHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        // The offscreen platform warns about every fixed-size window; nothing to act on.
        if (!message.startsWith(QLatin1String("This plugin does not support propagateSizeHints")))
            previousHandler(type, context, message);
    });
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
