#include "store/RouteChecks.h"

#include "platform/Numeric.h"
#include "store/RouteDef.h"

namespace molvik::RouteChecks {

namespace {

// Each entry on a line of its own after CR LF, numbered from 1.
class Problems
{
public:
    void add(const char *entry)
    {
        m_text += QStringLiteral("\r\n") + Numeric::decimal(m_next) + QLatin1String(entry);
        ++m_next;
    }
    QString text() const { return m_text; }

private:
    QString m_text;
    int m_next = 1;
};

// An address needs an "@" somewhere after its first character.
bool validAddress(const QString &address)
{
    return address.indexOf(u'@', 1) >= 0;
}

} // namespace

QString nameTakenMessage()
{
    return QStringLiteral("Route Names Must be Unique, Please Select Another Name");
}

QString problemsTitle()
{
    return QStringLiteral("Please attend to the following problems before saving this route");
}

QString cleanName(QString name)
{
    for (const QChar c : {u'/', u'\\', u'*', u'?', u'<', u'"'})
        name.remove(c);
    return name;
}

QString ftpProblems(const RouteDef &route)
{
    Problems problems;
    if (route.FTPServer.isEmpty())
        problems.add(". You must specify a FTP Site Name or IP Address");
    if (route.FTPLogon.isEmpty())
        problems.add(". You must specify a Login User Name for the FTP site");
    return problems.text();
}

QString emailProblems(const RouteDef &route)
{
    Problems problems;
    if (route.AutoEmailName.isEmpty())
        problems.add(". You must specify an email account to send to.");
    else if (!validAddress(route.AutoEmailName))
        problems.add(". You must specify a valid email address");
    if (route.AutoEmailSubject.isEmpty())
        problems.add(". You must specify an email subject line.");
    if (route.AutoEmailMessage.isEmpty())
        problems.add(". You must specify an email message.");

    if (route.SMTP != No) {
        if (route.FTPServer.isEmpty())
            problems.add(". You must specify an SMTP Server name");
        // The account address is checked twice: an empty one gets both entries.
        if (route.AutoEmailAttach.isEmpty())
            problems.add(". You must specify a valid SMTP account for this server.");
        if (!validAddress(route.AutoEmailAttach))
            problems.add(". You must specify a valid email address for the SMTP server");
    }
    if (route.mailPOPLogin != No) {
        if (route.mailPOPServer.isEmpty())
            problems.add(". You must specify a valid Pop Server Name");
        if (route.FTPLogon.isEmpty())
            problems.add(". You must specify a valid account for this POP Server");
        if (route.FTPPassword.isEmpty())
            problems.add(". You must specify a valid Password for this POP server. Blank is not allowed");
    }
    return problems.text();
}

} // namespace molvik::RouteChecks
