#include "probe/RouteTest.h"

#include "probe/RouteProbe.h"
#include "store/RouteDef.h"

#include <QThread>

namespace molvik {

RouteTest::RouteTest(QObject *parent) : QObject(parent)
{}

RouteTest::~RouteTest()
{
    cancel();
    if (m_thread)
        m_thread->wait();
}

void RouteTest::start(const RouteDef &route)
{
    if (m_running)
        return;
    if (m_thread)
        m_thread->wait();
    m_running = true;
    m_cancelled = false;
    m_steps.clear();
    const RouteProbe::Settings settings{m_timeout, m_upload, m_send};
    // Reports are posted to this object's thread; the destructor waits for
    // the run, so this outlives every post.
    m_thread.reset(QThread::create([this, route, settings] {
        RouteProbe probe(
            route, settings, m_cancelled,
            [this](const QString &name) {
                QMetaObject::invokeMethod(
                    this, [this, name] { emit stepStarted(name); }, Qt::QueuedConnection);
            },
            [this](const Step &step) {
                QMetaObject::invokeMethod(
                    this,
                    [this, step] {
                        m_steps.append(step);
                        emit stepFinished(step);
                    },
                    Qt::QueuedConnection);
            });
        probe.run();
    }));
    connect(m_thread.get(), &QThread::finished, this, [this] {
        m_running = false;
        emit finished(std::none_of(m_steps.begin(), m_steps.end(), [](const Step &s) { return s.result == Result::Failed; }));
    });
    m_thread->start();
}

void RouteTest::cancel()
{
    m_cancelled = true;
}

} // namespace molvik
