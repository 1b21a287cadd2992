#include "end-to-end/EndToEnd.h"
#include "forms/RealMessageBoxes.h"
#include "forms/RealModalRunner.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace molvik::test {

RealFlow::RealFlow(bool realMessageBoxes)
{
    std::shared_ptr<MessageBoxes> boxes = messages;
    if (realMessageBoxes)
        boxes = std::make_shared<RealMessageBoxes>();
    context = std::make_unique<FormContext>(*s.store, FormServices{std::make_shared<RealModalRunner>(), boxes, dialogs});
    control = std::make_unique<Molvik4>(*context);
    control->show();
}

void RealFlow::whenModal(const QString &name, std::function<void(QWidget &)> step)
{
    // Each poll is its own single-shot, so the nested exec() loops can run it.
    // The poll holds itself only weakly; the pending single-shot keeps it alive,
    // and the control ends it, so a step that never ran cannot outlive the flow.
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [this, name, step, weak = std::weak_ptr(poll)](int left) {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name && modal->isVisible()) {
            step(*modal);
            return;
        }
        if (left == 0) {
            missed << name;
            if (modal)
                modal->hide();
            return;
        }
        QTimer::singleShot(10, control.get(), [self = weak.lock(), left] { (*self)(left - 1); });
    };
    QTimer::singleShot(0, control.get(), [poll] { (*poll)(500); });
}

QString RealFlow::newRoute()
{
    QTest::mouseClick(control->Command1[0], Qt::LeftButton);
    FormsFixture::settle();
    EXPECT_TRUE(missed.isEmpty()) << missed.join(u',').toStdString();
    EXPECT_TRUE(messages->shown.empty());
    QTreeWidget *tree = control->Tree;
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    return tree->topLevelItemCount() == 2 ? tree->topLevelItem(1)->text(0) : QString();
}

} // namespace molvik::test
