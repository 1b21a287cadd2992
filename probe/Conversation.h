#pragma once

#include <QSslSocket>
#include <QString>

namespace molvik {

class StepClock;

// A dialogue of command lines and replies with an FTP, SMTP or POP3 server on
// one connection. Every failure throws StepFailure with the exchange that
// failed; a password never appears in it.
class Conversation
{
public:
    // Coded: "250 text", "250-" on every line but the last; Pop3: "+OK" or "-ERR".
    enum class Replies { Coded, Pop3 };

    Conversation(const StepClock &clock, Replies replies) : m_clock(clock), m_replies(replies) {}

    void open(const QString &host, quint16 port);
    // TLS over the open connection, checked against the name it was opened with.
    void secure();
    // The next whole reply; its last line for a reply of several.
    QString reply();
    // The reply, which must begin with one of the characters of accepted.
    QString expect(const char *accepted, const QString &sent = {});
    // Sends the line and answers the reply, whatever it is.
    QString ask(const QString &line);
    // Sends the line and answers "LINE -> reply"; the reply must begin with
    // one of the characters of accepted.
    QString send(const QString &line, const char *accepted);

    QSslSocket &socket() { return m_socket; }

private:
    QString readLine();

    const StepClock &m_clock;
    Replies m_replies;
    QSslSocket m_socket;
};

// How a command line is shown: a password never.
QString shownCommand(const QString &line);
// Waits until the socket is encrypted; a certificate that is not trusted is
// said so.
void waitEncrypted(const StepClock &clock, QSslSocket &socket);

} // namespace molvik
