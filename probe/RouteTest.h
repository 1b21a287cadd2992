#pragma once

#include "platform/MolvikExport.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace molvik {

struct RouteDef;

// Checks, step by step, that a route's destination can be reached with its
// settings, leaving nothing behind there. Runs on a thread of its own; every
// signal arrives on the thread that owns this object.
class MOLVIK_EXPORT RouteTest : public QObject
{
    Q_OBJECT

public:
    enum class Result { Ok, Failed, NotTestable };
    Q_ENUM(Result)

    struct Step
    {
        QString name;
        Result result = Result::Ok;
        QString answer; // what the server or the file system answered; never a password
    };

    explicit RouteTest(QObject *parent = nullptr);
    // Cancels a run under way and waits for it to stop.
    ~RouteTest() override;

    // For the next start: the time limit of each network step (10 s unless
    // told), and the optional steps: an FTP upload, an email sent.
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }
    void setUpload(bool on) { m_upload = on; }
    void setSend(bool on) { m_send = on; }

    // Ignored while a run is under way.
    void start(const RouteDef &route);
    // The step under way fails as cancelled and no further step runs.
    void cancel();
    bool isRunning() const { return m_running; }
    // The finished steps of the last run, in order.
    const QList<Step> &steps() const { return m_steps; }

signals:
    void stepStarted(const QString &name);
    void stepFinished(const molvik::RouteTest::Step &step);
    // passed: no step failed.
    void finished(bool passed);

private:
    int m_timeout = 10000;
    bool m_upload = false;
    bool m_send = false;
    bool m_running = false;
    QList<Step> m_steps;
    std::atomic_bool m_cancelled = false;
    std::unique_ptr<QThread> m_thread;
};

} // namespace molvik
