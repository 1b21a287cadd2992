// Seeded random clicks, keys and texts over the control and every page it
// opens, through the real modal loops and message boxes. After every event
// the routes file is absent or whole. MOLVIK_MONKEY_EVENTS and
// MOLVIK_MONKEY_SEED set the length and the seed (scripts/monkey).
#include "end-to-end/EndToEnd.h"
#include "store/RuleSys.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

bool absentOrWhole(const QString &path)
{
    RouteStore back(plainEnvironment());
    return !QFile::exists(path) || (RuleSys::loadRoutes(back, path) && back.routeCount <= RouteStore::kMaxRoutes);
}

} // namespace

TEST(Monkey, RandomInputNeverCrashesHangsOrLeavesAPartialRoutesFile)
{
    int left = qEnvironmentVariableIsSet("MOLVIK_MONKEY_EVENTS") ? qEnvironmentVariableIntValue("MOLVIK_MONKEY_EVENTS") : 300;
    const quint32 seed = quint32(qEnvironmentVariableIntValue("MOLVIK_MONKEY_SEED"));
    QRandomGenerator rng(seed);
    RealFlow flow({}, true);
    const QString path = flow.s.path(QStringLiteral("Routes.xml"));
    const QString pool = QStringLiteral("aZ09 _-.:/\\*?\"<>|");
    // Typed texts are ASCII, as QTest types them; long ones are set whole, past every box's limit.
    const QString longText = QStringLiteral("w\u00e9\u20ac\u4e2d<|>\n").repeated(5000);
    auto text = [&] {
        QString t;
        for (int n = int(rng.bounded(12)); n > 0; --n)
            t += pool[int(rng.bounded(int(pool.size())))];
        return t;
    };
    QStringList failures;
    QEventLoop loop;
    int closing = 0;
    std::function<void()> step = [&] {
        if (!absentOrWhole(path))
            failures << QStringLiteral("%1 events before the end: the routes file is not whole").arg(left);
        QWidget *modal = QApplication::activeModalWidget();
        // The next event is due before this one acts: an act may block in a nested modal loop, which runs it.
        if (left <= 0 || !failures.isEmpty()) { // wind down: close what is open, innermost first
            if (modal && ++closing > 500)
                failures << QStringLiteral("does not close: ") + modal->objectName();
            if (!modal || closing > 500) {
                loop.quit();
                return;
            }
            QTimer::singleShot(0, flow.control.get(), step);
            modal->close();
            return;
        }
        --left;
        QTimer::singleShot(0, flow.control.get(), step);
        QWidget *root = modal ? modal : flow.control.get();
        QList<QWidget *> targets;
        for (QWidget *w : root->findChildren<QWidget *>())
            if (w->isVisible() && w->isEnabled() &&
                QByteArray("QPushButton QRadioButton QCheckBox QLineEdit QPlainTextEdit QTreeWidget")
                    .contains(w->metaObject()->className()))
                targets << w;
        const int choice = int(rng.bounded(10));
        if (targets.isEmpty() || choice == 0) {
            const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Space, Qt::Key_F2, Qt::Key_Delete};
            return QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : root, keys[rng.bounded(6)]);
        }
        QWidget *w = targets[int(rng.bounded(int(targets.size())))];
        if (auto *tree = qobject_cast<QTreeWidget *>(w); tree && tree->topLevelItemCount() > 0) {
            tree->setCurrentItem(tree->topLevelItem(int(rng.bounded(tree->topLevelItemCount()))));
            tree->editItem(tree->currentItem());
            if (auto *editor = tree->findChild<QLineEdit *>(); editor && choice < 5) {
                QTest::keyClicks(editor, text());
                QTest::keyClick(editor, Qt::Key_Return);
            }
        } else if (auto *line = qobject_cast<QLineEdit *>(w)) {
            choice < 3 ? line->setText(longText) : QTest::keyClicks(line, text());
        } else if (auto *box = qobject_cast<QPlainTextEdit *>(w)) {
            choice < 3 ? box->setPlainText(longText) : QTest::keyClicks(box, text());
        } else if (!tree) {
            QTest::mouseClick(w, Qt::LeftButton);
        }
    };
    QTimer::singleShot(0, flow.control.get(), step);
    loop.exec();
    EXPECT_TRUE(failures.isEmpty()) << "seed " << seed << ": " << failures.join(u'\n').toStdString();
}
