#pragma once

#include "probe/RouteTest.h"
#include "probe/StepClock.h"
#include "store/RouteDef.h"

#include <functional>

namespace molvik {

class Conversation;

// The steps of a route test, run one after another on the calling thread
// until one fails. Each step is reported as it starts and as it ends.
class RouteProbe
{
public:
    struct Settings
    {
        int timeoutMs;
        bool upload;
        bool send;
    };
    using Started = std::function<void(const QString &name)>;
    using Finished = std::function<void(const RouteTest::Step &step)>;

    RouteProbe(const RouteDef &route, const Settings &settings, const std::atomic_bool &cancelled, Started started,
               Finished finished);
    void run();

private:
    // Runs body as the step name; false when it failed.
    bool step(const QString &name, const std::function<QString()> &body);
    void report(RouteTest::Step step);
    // Connects and reads the server's greeting, which must begin with one of greeting's characters.
    bool connected(Conversation &server, const QString &which, const QString &host, quint16 port, const char *greeting);

    void directory();
    void ftp();
    QString ftpLogIn(Conversation &control);
    // One data connection for command; upload, when given, is sent on it.
    QString transfer(Conversation &control, const QString &command, const QByteArray *upload = nullptr);
    quint16 passivePort(Conversation &control);
    void email();
    void secureTransfer();

    RouteDef m_route;
    Settings m_settings;
    StepClock m_clock;
    Started m_started;
    Finished m_finished;
};

} // namespace molvik
