#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>

namespace molvik {

// Why a step failed: what the server or the system answered.
struct StepFailure
{
    QString answer;
};

// The time limit of the step under way and the operator's cancel, which
// every wait of a step answers to. Lives on the thread that runs the steps.
class StepClock
{
public:
    StepClock(int timeoutMs, const std::atomic_bool &cancelled);

    // A new step starts: its time limit starts with it.
    void restart() { m_deadline.setRemainingTime(m_timeout); }
    // Runs this thread's events until done() holds; throws StepFailure when
    // the step's time runs out or it is cancelled first.
    void waitUntil(const std::function<bool()> &done) const;
    void checkCancelled() const;

private:
    int m_timeout;
    const std::atomic_bool &m_cancelled;
    QDeadlineTimer m_deadline;
    QTimer m_tick; // wakes the wait, so a cancel is seen within a tick
};

} // namespace molvik
