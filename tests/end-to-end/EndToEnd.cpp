#include "end-to-end/EndToEnd.h"

#include "forms/RealMessageBoxes.h"
#include "forms/RealModalRunner.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace molvik::test {

RealFlow::RealFlow(const QByteArray &routes, bool realMessageBoxes)
{
    if (!routes.isNull())
        s.write(QStringLiteral("Routes.xml"), routes);
    const std::shared_ptr<MessageBoxes> boxes =
        realMessageBoxes ? std::shared_ptr<MessageBoxes>(std::make_shared<RealMessageBoxes>()) : messages;
    context = std::make_unique<FormContext>(*s.store, FormServices{std::make_shared<RealModalRunner>(), boxes, dialogs});
    control = std::make_unique<Molvik4>(*context);
    control->show();
}

void RealFlow::then(const QString &modal, Step step)
{
    if (m_steps.empty())
        QTimer::singleShot(0, &m_timers, [this] { poll(500); });
    m_steps.emplace_back(modal, std::move(step));
}

void RealFlow::act(QWidget &window, const QString &steps)
{
    auto *box = qobject_cast<QMessageBox *>(&window);
    for (const QString &step : steps.split(u';')) {
        for (QAbstractButton *button : box ? box->buttons() : QList<QAbstractButton *>())
            if (button->text().remove(u'&') == step)
                button->click();
        step == u"close" ? void(window.close()) : box ? void() : actIn(&window, step);
    }
}

// One poll at a time, each its own single-shot so the nested exec() loops run
// it; the next is scheduled before a step that may open a further window.
void RealFlow::poll(int left)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (m_steps.empty() || left == 0)
        return;
    const auto &[name, step] = m_steps.front();
    if (modal && modal->isVisible() && (modal->objectName() == name || modal->inherits(name.toLatin1()))) {
        const Step run = step;
        m_steps.pop_front();
        QTimer::singleShot(0, &m_timers, [this] { poll(500); });
        run(*modal);
        return;
    }
    QTimer::singleShot(10, &m_timers, [this, left] { poll(left - 1); });
}

void RealFlow::pressControl(int index)
{
    QTest::mouseClick(control->Command1[index], Qt::LeftButton);
    settle();
    EXPECT_TRUE(m_steps.empty()) << "step for " << (m_steps.empty() ? "" : m_steps.front().first.toStdString()) << " never ran";
    if (QWidget *left = QApplication::activeModalWidget())
        left->hide();
}

} // namespace molvik::test
