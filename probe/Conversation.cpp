#include "probe/Conversation.h"

#include "probe/StepClock.h"

namespace molvik {

namespace {

// Longer than any reply a server sends; more without a line end is not a reply.
constexpr qint64 kLongestLine = 64 * 1024;

QString socketError(const QAbstractSocket &socket)
{
    return socket.error() == QAbstractSocket::UnknownSocketError ? QStringLiteral("the connection was lost")
                                                                 : socket.errorString();
}

} // namespace

QString shownCommand(const QString &line)
{
    return line.startsWith(QLatin1String("PASS ")) ? QStringLiteral("PASS ********") : line;
}

void waitEncrypted(const StepClock &clock, QSslSocket &socket)
{
    socket.startClientEncryption();
    clock.waitUntil([&socket] { return socket.isEncrypted() || socket.state() == QAbstractSocket::UnconnectedState; });
    if (socket.isEncrypted())
        return;
    QStringList why;
    for (const QSslError &e : socket.sslHandshakeErrors())
        why << e.errorString();
    throw StepFailure{why.isEmpty()
                          ? socketError(socket)
                          : QStringLiteral("the server's certificate is not trusted: ") + why.join(QStringLiteral("; "))};
}

void Conversation::open(const QString &host, quint16 port)
{
    if (host.isEmpty() || port == 0)
        throw StepFailure{QStringLiteral("the route names no server or no port")};
    m_socket.connectToHost(host, port);
    m_clock.waitUntil([this] {
        return m_socket.state() == QAbstractSocket::ConnectedState || m_socket.state() == QAbstractSocket::UnconnectedState;
    });
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        throw StepFailure{socketError(m_socket)};
}

void Conversation::secure()
{
    waitEncrypted(m_clock, m_socket);
}

QString Conversation::readLine()
{
    m_clock.waitUntil([this] {
        return m_socket.canReadLine() || m_socket.state() == QAbstractSocket::UnconnectedState ||
               m_socket.bytesAvailable() > kLongestLine;
    });
    if (!m_socket.canReadLine())
        throw StepFailure{m_socket.state() == QAbstractSocket::UnconnectedState
                              ? socketError(m_socket)
                              : QStringLiteral("the answer is not a line of text")};
    return QString::fromUtf8(m_socket.readLine(kLongestLine)).trimmed();
}

QString Conversation::reply()
{
    QString line = readLine();
    if (m_replies == Replies::Coded && line.size() >= 4 && line[3] == u'-') {
        const QString last = line.left(3) + u' ';
        while (!line.startsWith(last))
            line = readLine();
    }
    return line;
}

QString Conversation::expect(const char *accepted, const QString &sent)
{
    const QString answer = reply();
    const QString shown = sent.isEmpty() ? answer : shownCommand(sent) + QStringLiteral(" -> ") + answer;
    if (answer.isEmpty() || !QLatin1String(accepted).contains(answer[0]))
        throw StepFailure{shown};
    return shown;
}

QString Conversation::ask(const QString &line)
{
    m_clock.checkCancelled();
    m_socket.write(line.toUtf8() + "\r\n");
    return reply();
}

QString Conversation::send(const QString &line, const char *accepted)
{
    m_clock.checkCancelled();
    m_socket.write(line.toUtf8() + "\r\n");
    return expect(accepted, line);
}

} // namespace molvik
