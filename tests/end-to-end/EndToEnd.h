#pragma once

#include "control/Molvik4.h"
#include "support/PageDriver.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>

namespace molvik::test {

// A control whose pages run through the real QDialog::exec(); message boxes
// and system dialogs are scripted unless a test asks for real ones.
struct RealFlow : PageDriver
{
    explicit RealFlow(bool realMessageBoxes = false);

    using Step = std::function<void(QWidget &)>;
    // Queues a step for the next modal window of that object name or class,
    // run once it is up; a text step is fills and presses as PageDriver::act.
    void then(const QString &modal, Step step);
    void then(const QString &modal, const QString &steps);
    // Presses the control's button and checks that every queued step ran.
    void pressControl(int index);
    // Presses New Route and returns the one route it added to the default.
    QString newRoute();

    std::unique_ptr<Molvik4> control;

private:
    void poll(int left);

    std::deque<std::pair<QString, Step>> m_steps;
    QObject m_timers; // owns the pending polls: none outlives the flow
};

} // namespace molvik::test
