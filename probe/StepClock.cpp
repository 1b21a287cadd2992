#include "probe/StepClock.h"

#include <QCoreApplication>

namespace molvik {

StepClock::StepClock(int timeoutMs, const std::atomic_bool &cancelled) : m_timeout(timeoutMs), m_cancelled(cancelled)
{
    m_tick.start(50);
    restart();
}

void StepClock::checkCancelled() const
{
    if (m_cancelled)
        throw StepFailure{QStringLiteral("cancelled")};
}

void StepClock::waitUntil(const std::function<bool()> &done) const
{
    while (!done()) {
        checkCancelled();
        if (m_deadline.hasExpired())
            throw StepFailure{QStringLiteral("no answer within the time limit of %1 s").arg(m_timeout / 1000.0)};
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace molvik
