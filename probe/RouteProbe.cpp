#include "probe/RouteProbe.h"

#include "probe/Conversation.h"
#include "store/TransferMethod.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTcpServer>
#include <QUuid>

namespace molvik {

namespace {

quint16 portOr(qint32 port, quint16 standard)
{
    return port == 0 ? standard : quint16(qBound(0, port, 65535));
}

// A name that cannot clash with anything already at the destination.
QString uniqueName()
{
    return QStringLiteral("molvik-route-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".txt");
}

// The commands that log in to the FTP server, through the proxy by its login
// type when there is one. Where several types are set, the one the proxy
// options show selected wins.
QStringList ftpLogInCommands(const RouteDef &r)
{
    const QString site = r.FTPport == 0 || r.FTPport == 21 ? r.FTPServer : r.FTPServer + u':' + QString::number(r.FTPport);
    const QStringList own{QStringLiteral("USER ") + r.FTPLogon, QStringLiteral("PASS ") + r.FTPPassword};
    const QStringList atSite{QStringLiteral("USER ") + r.FTPLogon + u'@' + site, QStringLiteral("PASS ") + r.FTPPassword};
    const QStringList proxy{QStringLiteral("USER ") + r.PrxyUser, QStringLiteral("PASS ") + r.PrxyPass};
    if (r.PrxyEnabled == No)
        return own;
    if (r.rbUser != No)
        return atSite;
    if (r.rbSite != No)
        return proxy + QStringList{QStringLiteral("SITE ") + site} + own;
    if (r.rbLogin != No)
        return proxy + atSite;
    if (r.rbOpen != No)
        return proxy + QStringList{QStringLiteral("OPEN ") + site} + own;
    return own;
}

QString proxyTypeName(const RouteDef &r)
{
    if (r.PrxyEnabled == No)
        return {};
    const char *type = r.rbUser != No    ? "User"
                       : r.rbSite != No  ? "Site"
                       : r.rbLogin != No ? "Login"
                       : r.rbOpen != No  ? "Open"
                                         : nullptr;
    return type ? QStringLiteral(" through the proxy (%1)").arg(QLatin1String(type)) : QStringLiteral(" through the proxy");
}

// The first connection a data listener is offered, taken as a descriptor so
// it can become a TLS socket.
class DataListener : public QTcpServer
{
public:
    qintptr descriptor = -1;

protected:
    void incomingConnection(qintptr handle) override
    {
        if (descriptor < 0)
            descriptor = handle;
        else
            QTcpSocket().setSocketDescriptor(handle); // closed as it goes
    }
};

} // namespace

RouteProbe::RouteProbe(const RouteDef &route, const Settings &settings, const std::atomic_bool &cancelled, Started started,
                       Finished finished)
    : m_route(route), m_settings(settings), m_clock(settings.timeoutMs, cancelled), m_started(std::move(started)),
      m_finished(std::move(finished))
{}

void RouteProbe::run()
{
    switch (transferMethod(m_route)) {
    case TransferMethod::Directory:
        return directory();
    case TransferMethod::Ftp:
    case TransferMethod::FtpMonitor:
        return ftp();
    case TransferMethod::Email:
        return email();
    case TransferMethod::Secure:
        return secureTransfer();
    case TransferMethod::Hyper:
        return report({QStringLiteral("Hyper transfer"), RouteTest::Result::NotTestable, QStringLiteral("not testable here")});
    case TransferMethod::None:
        break;
    }
    report({QStringLiteral("Transfer method"), RouteTest::Result::Failed, QStringLiteral("the route has no transfer method")});
}

bool RouteProbe::step(const QString &name, const std::function<QString()> &body)
{
    m_started(name);
    m_clock.restart();
    try {
        report({name, RouteTest::Result::Ok, body()});
        return true;
    } catch (const StepFailure &failure) {
        report({name, RouteTest::Result::Failed, failure.answer});
        return false;
    }
}

bool RouteProbe::connected(Conversation &server, const QString &which, const QString &host, quint16 port, const char *greeting)
{
    return step(QStringLiteral("Connect to %1%2:%3").arg(which, host).arg(port), [&]() -> QString {
        server.open(host, port);
        return server.expect(greeting);
    });
}

void RouteProbe::report(RouteTest::Step step)
{
    // Whatever a server echoes back, a password is never shown.
    for (const QString *password : {&m_route.FTPPassword, &m_route.PrxyPass, &m_route.KXSecurePassword}) {
        if (!password->isEmpty()) {
            step.name.replace(*password, QStringLiteral("********"));
            step.answer.replace(*password, QStringLiteral("********"));
        }
    }
    m_finished(step);
}

void RouteProbe::directory()
{
    const QString source = QDir::fromNativeSeparators(m_route.UserDirectory);
    const QString target = QDir::fromNativeSeparators(m_route.RemoteDirectory);
    const auto folder = [](const QString &path) {
        const QFileInfo info(path);
        if (path.isEmpty())
            throw StepFailure{QStringLiteral("the route names no folder")};
        if (!info.exists())
            throw StepFailure{QStringLiteral("the folder does not exist")};
        if (!info.isDir())
            throw StepFailure{QStringLiteral("not a folder")};
    };
    if (!step(QStringLiteral("Read the source folder %1").arg(m_route.UserDirectory), [&]() -> QString {
            folder(source);
            if (!QFileInfo(source).isReadable())
                throw StepFailure{QStringLiteral("the folder cannot be read")};
            return QStringLiteral("%1 files waiting").arg(QDir(source).entryList(QDir::Files).size());
        }))
        return;
    if (!step(QStringLiteral("Create and remove a file in %1").arg(m_route.RemoteDirectory), [&]() -> QString {
            folder(target);
            QFile probe(target + u'/' + uniqueName());
            if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                throw StepFailure{QStringLiteral("no new file can be created: ") + probe.errorString()};
            probe.close();
            if (!probe.remove())
                throw StepFailure{
                    QStringLiteral("%1 was created but cannot be removed: %2").arg(probe.fileName(), probe.errorString())};
            return QStringLiteral("a new empty file was created and removed");
        }))
        return;
    step(QStringLiteral("Free space in %1").arg(m_route.RemoteDirectory), [&]() -> QString {
        const QStorageInfo storage(target);
        if (!storage.isValid())
            throw StepFailure{QStringLiteral("the free space cannot be read")};
        if (storage.bytesAvailable() <= 0)
            throw StepFailure{QStringLiteral("no free space")};
        return QLocale::c().formattedDataSize(storage.bytesAvailable()) + QStringLiteral(" free");
    });
}

void RouteProbe::ftp()
{
    const RouteDef &r = m_route;
    const bool proxy = r.PrxyEnabled != No;
    const QString host = proxy ? r.PrxyHost : r.FTPServer;
    const quint16 port = portOr(proxy ? r.PrxyPort : r.FTPport, 21);
    Conversation control(m_clock, Conversation::Replies::Coded);
    if (!connected(control, proxy ? QStringLiteral("the proxy ") : QString(), host, port, "2"))
        return;
    if (r.FTPSecure != No && !step(QStringLiteral("Secure the connection (AUTH TLS)"), [&]() -> QString {
            control.send(QStringLiteral("AUTH TLS"), "2");
            control.secure();
            control.send(QStringLiteral("PBSZ 0"), "2");
            return control.send(QStringLiteral("PROT P"), "2");
        }))
        return;
    if (!step(QStringLiteral("Log in as ") + r.FTPLogon + proxyTypeName(r), [&]() -> QString { return ftpLogIn(control); }))
        return;
    if (!r.RemoteFTPDirectory.isEmpty() &&
        !step(QStringLiteral("Change to the folder ") + r.RemoteFTPDirectory,
              [&]() -> QString { return control.send(QStringLiteral("CWD ") + r.RemoteFTPDirectory, "2"); }))
        return;
    const QString mode = r.FTPPassive != No ? QStringLiteral("passive") : QStringLiteral("active");
    if (!step(QStringLiteral("List the folder (%1)").arg(mode),
              [&]() -> QString { return transfer(control, QStringLiteral("LIST")); }))
        return;
    if (m_settings.upload && !step(QStringLiteral("Upload and delete a test file"), [&]() -> QString {
            const QString name = uniqueName();
            const QByteArray content = "A route test's file, deleted at once.\r\n";
            transfer(control, QStringLiteral("STOR ") + name, &content);
            try {
                return control.send(QStringLiteral("DELE ") + name, "2");
            } catch (StepFailure &failure) {
                failure.answer = name + QStringLiteral(" is left on the server: ") + failure.answer;
                throw;
            }
        }))
        return;
    step(QStringLiteral("Quit"), [&]() -> QString { return control.send(QStringLiteral("QUIT"), "2"); });
}

QString RouteProbe::ftpLogIn(Conversation &control)
{
    QString answer;
    bool loggedIn = false;
    for (const QString &command : ftpLogInCommands(m_route)) {
        const bool password = command.startsWith(QLatin1String("PASS "));
        // A user that needs no password is in at once.
        if (password && loggedIn)
            continue;
        answer = control.send(command, command.startsWith(QLatin1String("USER ")) ? "23" : "2");
        loggedIn = !password && answer.contains(QLatin1String(" -> 2"));
    }
    return answer;
}

quint16 RouteProbe::passivePort(Conversation &control)
{
    // EPSV names only a port, on the address already connected to.
    QString answer = control.ask(QStringLiteral("EPSV"));
    const QRegularExpressionMatch extended = QRegularExpression(QStringLiteral(R"(\(\|\|\|(\d+)\|\))")).match(answer);
    if (answer.startsWith(u'2') && extended.hasMatch())
        return quint16(extended.captured(1).toUInt());
    answer = control.ask(QStringLiteral("PASV"));
    const QRegularExpressionMatch classic =
        QRegularExpression(QStringLiteral(R"((\d+),(\d+),(\d+),(\d+),(\d+),(\d+))")).match(answer);
    if (!answer.startsWith(u'2') || !classic.hasMatch())
        throw StepFailure{QStringLiteral("PASV -> ") + answer};
    // The address in the reply is ignored: behind a NAT it is often not the
    // server's, and the control connection already reaches it.
    return quint16(classic.captured(5).toUInt() * 256 + classic.captured(6).toUInt());
}

QString RouteProbe::transfer(Conversation &control, const QString &command, const QByteArray *upload)
{
    QSslSocket data;
    DataListener listener;
    const bool passive = m_route.FTPPassive != No;
    // A short listing can arrive and the connection close before the reply
    // to the command is read.
    bool opened = false;
    QObject::connect(&data, &QAbstractSocket::connected, [&opened] { opened = true; });
    QSslSocket &socket = control.socket();
    if (passive) {
        data.connectToHost(socket.peerAddress(), passivePort(control));
    } else {
        if (!listener.listen(socket.localAddress()))
            throw StepFailure{QStringLiteral("no port to listen on: ") + listener.errorString()};
        const QHostAddress here = socket.localAddress();
        const quint16 port = listener.serverPort();
        bool ipv4 = false;
        const quint32 a = here.toIPv4Address(&ipv4);
        control.send(ipv4 ? QStringLiteral("PORT %1,%2,%3,%4,%5,%6")
                                .arg(a >> 24)
                                .arg((a >> 16) & 255)
                                .arg((a >> 8) & 255)
                                .arg(a & 255)
                                .arg(port >> 8)
                                .arg(port & 255)
                          : QStringLiteral("EPRT |2|%1|%2|").arg(here.toString()).arg(port),
                     "2");
    }
    control.send(command, "1");
    if (!passive) {
        m_clock.waitUntil([&listener] { return listener.descriptor >= 0; });
        opened = data.setSocketDescriptor(listener.descriptor);
    }
    m_clock.waitUntil([&] { return opened || data.state() == QAbstractSocket::UnconnectedState; });
    if (!opened)
        throw StepFailure{QStringLiteral("no data connection: ") + data.errorString()};
    if (m_route.FTPSecure != No) {
        data.setPeerVerifyName(socket.peerName());
        waitEncrypted(m_clock, data);
    }
    qint64 bytes = 0;
    if (upload) {
        bytes = data.write(*upload);
        data.disconnectFromHost();
    }
    m_clock.waitUntil([&] {
        bytes += data.readAll().size();
        return data.state() == QAbstractSocket::UnconnectedState;
    });
    return control.expect("2", command) + QStringLiteral(" (%1 bytes)").arg(bytes);
}

void RouteProbe::email()
{
    const RouteDef &r = m_route;
    if (r.SMTP == No) {
        report({QStringLiteral("Send through the system's mail"), RouteTest::Result::NotTestable,
                QStringLiteral("not testable here: the workstation's mail system sends this route's mail")});
        return;
    }
    if (r.mailPOPLogin != No) {
        Conversation pop(m_clock, Conversation::Replies::Pop3);
        if (!connected(pop, QStringLiteral("the POP3 server "), r.mailPOPServer, portOr(r.mailPOPService, 110), "+"))
            return;
        if (!step(QStringLiteral("Log in by POP3 as ") + r.FTPLogon, [&]() -> QString {
                pop.send(QStringLiteral("USER ") + r.FTPLogon, "+");
                const QString answer = pop.send(QStringLiteral("PASS ") + r.FTPPassword, "+");
                pop.send(QStringLiteral("QUIT"), "+");
                return answer;
            }))
            return;
    }
    Conversation smtp(m_clock, Conversation::Replies::Coded);
    if (!connected(smtp, QStringLiteral("the SMTP server "), r.FTPServer, portOr(r.mailSMTPService, 25), "2"))
        return;
    if (!step(QStringLiteral("Greet the server (EHLO)"), [&]() -> QString {
            const QHostAddress here = smtp.socket().localAddress();
            const QString literal =
                here.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[IPv6:%1]") : QStringLiteral("[%1]");
            const QString name = literal.arg(here.toString());
            if (const QString answer = smtp.ask(QStringLiteral("EHLO ") + name); answer.startsWith(u'2'))
                return QStringLiteral("EHLO ") + name + QStringLiteral(" -> ") + answer;
            return smtp.send(QStringLiteral("HELO ") + name, "2");
        }))
        return;
    if (!step(QStringLiteral("Sender <%1>").arg(r.AutoEmailAttach),
              [&]() -> QString { return smtp.send(QStringLiteral("MAIL FROM:<%1>").arg(r.AutoEmailAttach), "2"); }))
        return;
    if (!step(QStringLiteral("Recipient <%1>").arg(r.AutoEmailName),
              [&]() -> QString { return smtp.send(QStringLiteral("RCPT TO:<%1>").arg(r.AutoEmailName), "2"); }))
        return;
    const bool sent = !m_settings.send || step(QStringLiteral("Send a test message"), [&]() -> QString {
        smtp.send(QStringLiteral("DATA"), "3");
        const auto oneLine = [](QString text) { return text.replace(u'\r', u' ').replace(u'\n', u' '); };
        const QString subject = r.AutoEmailSubject.isEmpty() ? QStringLiteral("Route test") : oneLine(r.AutoEmailSubject);
        const QString message = QStringLiteral("From: <%1>\r\nTo: <%2>\r\nSubject: %3\r\nDate: %4\r\nMIME-Version: 1.0\r\n"
                                               "Content-Type: text/plain; charset=utf-8\r\n\r\n"
                                               "A test of the route \"%5\": it reaches this recipient.\r\n.\r\n")
                                    .arg(r.AutoEmailAttach, r.AutoEmailName, subject,
                                         QDateTime::currentDateTime().toString(Qt::RFC2822Date), oneLine(r.RouteDef));
        smtp.socket().write(message.toUtf8());
        return smtp.expect("2", QStringLiteral("the message"));
    });
    if (!sent || (!m_settings.send &&
                  !step(QStringLiteral("Reset (RSET)"), [&]() -> QString { return smtp.send(QStringLiteral("RSET"), "2"); })))
        return;
    step(QStringLiteral("Quit"), [&]() -> QString { return smtp.send(QStringLiteral("QUIT"), "2"); });
}

void RouteProbe::secureTransfer()
{
    const quint16 port = portOr(m_route.KXSecurePort, 0);
    step(QStringLiteral("Connect to the transfer server %1:%2").arg(m_route.KXSecureIP).arg(port), [&]() -> QString {
        Conversation server(m_clock, Conversation::Replies::Coded);
        server.open(m_route.KXSecureIP, port);
        return QStringLiteral("connected to ") + server.socket().peerAddress().toString();
    });
}

} // namespace molvik
