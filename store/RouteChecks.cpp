#include "store/RouteChecks.h"

#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "store/RouteDef.h"

#include <QStringList>

namespace molvik::RouteChecks {

namespace {

// Each entry on a line of its own after CR LF, numbered from 1.
class Problems
{
public:
    void add(const char *entry) { add(QLatin1String(entry)); }
    void add(const QString &entry)
    {
        m_text += QStringLiteral("\r\n") + Numeric::decimal(m_next) + entry;
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

// Plain text needs no look at the code page: every save looks at every value.
bool plainlyKept(QStringView value)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'<' || u == u'>' || u == u'|' || u == u'\n' || (u >= 0x80 && u < 0xA0) || u > 0xFF)
            return false;
    }
    return true;
}

// Each character the file cannot keep, once, in the order met: quoted, or
// "a line break".
QStringList unkeptCharacters(QStringView value)
{
    QStringList found;
    bool lineBreak = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QStringView c = value.mid(i, value[i].isHighSurrogate() && i + 1 < value.size() ? 2 : 1);
        i += c.size() - 1;
        // Only LF ends a line for the reader: a lone CR comes back as it was.
        if (c[0] == u'\n') {
            lineBreak = true;
            continue;
        }
        const bool cut = c[0] == u'<' || c[0] == u'>' || c[0] == u'|';
        const QString quoted = u'"' + c.toString() + u'"';
        if ((cut || AnsiText::decode(AnsiText::encode(c)) != c) && !found.contains(quoted))
            found << quoted;
    }
    if (lineBreak)
        found << QStringLiteral("a line break");
    return found;
}

} // namespace

QString unkeptValue(const QString &field, QStringView value)
{
    if (plainlyKept(value))
        return {};
    QStringList found = unkeptCharacters(value);
    if (found.isEmpty())
        return {};
    const QString last = found.takeLast();
    const QString listed = found.isEmpty() ? last : found.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return QStringLiteral("The routes file cannot keep %1 in %2.").arg(listed, field);
}

QString unkeptField(const RouteDef &route)
{
    for (const RouteField &f : routeFields()) {
        // The field's name is made into text only for a value that needs a look.
        if (f.kind != RouteField::Kind::Text || plainlyKept(route.*f.text))
            continue;
        if (QString told = unkeptValue(QLatin1String(f.name), route.*f.text); !told.isEmpty())
            return told;
    }
    return {};
}

QString unkeptProblems(std::initializer_list<std::pair<QString, QStringView>> values)
{
    Problems problems;
    for (const auto &[field, value] : values) {
        if (QString told = unkeptValue(field, value); !told.isEmpty())
            problems.add(QStringLiteral(". ") + told);
    }
    return problems.text();
}

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
