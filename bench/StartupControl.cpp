// The host window with the control, as molvik-wizard builds it, run until its
// first paint. The control reads Routes.xml from the folder of its library.
#include "bench/FirstPaintExit.h"

#include "control/Molvik4.h"

#include <QApplication>
#include <QMainWindow>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    molvik::bench::FirstPaintExit exit(&app);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MolvikWizard"));
    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new molvik::Molvik4(central));
    window.setCentralWidget(central);
    window.show();
    return QApplication::exec();
}
