// The start-up baseline: a bare Qt window holding a tree and three buttons,
// run until its first paint.
#include "bench/FirstPaintExit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    molvik::bench::FirstPaintExit exit(&app);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    auto *tree = new QTreeWidget(central);
    for (int i = 1; i <= 10; ++i)
        new QTreeWidgetItem(tree, {QStringLiteral("Route %1").arg(i)});
    layout->addWidget(tree);
    auto *buttons = new QHBoxLayout;
    for (const char *text : {"New", "Edit", "Delete"})
        buttons->addWidget(new QPushButton(QString::fromLatin1(text), central));
    layout->addLayout(buttons);
    window.setCentralWidget(central);
    window.show();
    return QApplication::exec();
}
