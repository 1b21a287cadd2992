#pragma once

#include "control/Molvik4.h"
#include "support/PageDriver.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>

namespace molvik::test {

// A control on the given routes file whose pages run through the real
// QDialog::exec(); message boxes and system dialogs are scripted unless a test
// asks for real ones.
struct RealFlow : PageDriver
{
    explicit RealFlow(const QByteArray &routes = {}, bool realMessageBoxes = false);

    using Step = std::function<void(QWidget &)>;
    // Queues a step for the next modal window of that object name or class,
    // run once it is up.
    void then(const QString &modal, Step step);
    // Fills and presses in turn as PageDriver::act; "close" closes the window
    // as its title-bar button does; on a message box a step is a button's text.
    static void act(QWidget &window, const QString &steps);
    // Presses the control's button and checks that every queued step ran.
    void pressControl(int index);

    std::unique_ptr<Molvik4> control;

private:
    void poll(int left);

    std::deque<std::pair<QString, Step>> m_steps;
    QObject m_timers; // owns the pending polls: none outlives the flow
};

} // namespace molvik::test
