#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

struct ToolRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun tool(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral(MOLVIK_ROUTES_TOOL), arguments);
    ToolRun r;
    if (p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit)
        r = {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    return r;
}

const QString kExample = QStringLiteral(MOLVIK_EXAMPLES "/Routes.xml");
const QString kFullTable = QStringLiteral(MOLVIK_TEST_DATA "/full-table.xml");

// The list output cut into cells at the header's column starts.
std::vector<QStringList> tableOf(const QByteArray &out)
{
    const QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    std::vector<qsizetype> starts;
    for (const char *column : {"SLOT", "NAME", "METHOD", "SOURCE", "PATTERN", "DESTINATION"})
        starts.push_back(lines.value(0).indexOf(QLatin1String(column)));
    starts.push_back(-1);
    std::vector<QStringList> rows;
    for (const QString &line : lines) {
        QStringList cells;
        for (std::size_t c = 0; c + 1 < starts.size(); ++c)
            cells.append(line.mid(starts[c], starts[c + 1] < 0 ? -1 : starts[c + 1] - starts[c]).trimmed());
        rows.push_back(cells);
    }
    return rows;
}

// A route as export must show it: texts as strings, yes/no as booleans,
// numbers as numbers.
QJsonObject jsonOf(const RouteDef &route)
{
    QJsonObject o;
    for (const RouteField &f : routeFields()) {
        const QString name = QLatin1String(f.name);
        if (f.kind == RouteField::Kind::Text)
            o[name] = route.*f.text;
        else if (f.kind == RouteField::Kind::YesNo)
            o[name] = route.*f.int16 != 0;
        else
            o[name] = f.kind == RouteField::Kind::Int16 ? route.*f.int16 : route.*f.int32;
    }
    return o;
}

} // namespace

TEST(RoutesTool, HelpCommandLineErrorsAndUnreadableFiles)
{
    for (const QStringList &args : QList<QStringList>{{u"--help"_s}, {u"-h"_s}, {u"check"_s, u"--help"_s}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        for (const char *needle :
             {"list FILE", "export FILE", "check FILE", "\"accepted\"", "Exit status", "FTPTransfer", "FTPMonitor",
              "EmailTransfer", "KelmTransfer", "DirTransfer", "KelmXTransfer", "HyperTransfer", "last one", "none"})
            EXPECT_TRUE(r.out.contains(needle)) << needle;
    }
    for (const QStringList &args :
         QList<QStringList>{{}, {u"frob"_s, kExample}, {u"list"_s}, {u"list"_s, kExample, kExample}, {u"--verbose"_s}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("Usage: molvik-routes")) << r.err.toStdString();
    }
    EXPECT_TRUE(tool({u"frob"_s, kExample}).err.contains("unknown command \"frob\""));

    // A missing or unreadable file: one line naming it on standard error.
    NativeStore s;
    QStringList paths = {s.path(u"absent.xml"_s), s.tmp.path()};
    if (::geteuid() != 0) { // root reads a file whatever its mode
        s.write(u"locked.xml"_s, crlf({"<Routes>", "</Routes>"}));
        QFile::setPermissions(s.path(u"locked.xml"_s), QFileDevice::Permissions());
        paths.append(s.path(u"locked.xml"_s));
    }
    for (const QString &command : {u"list"_s, u"export"_s, u"check"_s}) {
        for (const QString &path : paths) {
            const ToolRun r = tool({command, path});
            EXPECT_EQ(r.status, 2) << command.toStdString() << ' ' << path.toStdString();
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(path.toUtf8())) << r.err.toStdString();
        }
    }
}

TEST(RoutesTool, ListShowsOneRowPerRouteWithTheMethodTheTreeWouldShow)
{
    const ToolRun r = tool({u"list"_s, kExample});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty());
    const QString complete = u"C:\\programData\\Kelmora\\Complete"_s;
    const std::vector<QStringList> example = {
        {u"SLOT"_s, u"NAME"_s, u"METHOD"_s, u"SOURCE"_s, u"PATTERN"_s, u"DESTINATION"_s},
        {u"1"_s, u"Scans to archive share"_s, u"directory"_s, complete, u"*.pdf"_s, u"\\\\files01\\archive\\scans"_s},
        {u"2"_s, u"Partner upload through proxy"_s, u"FTP"_s, complete, u"*.xml"_s, u"ftp.partner.example:/incoming/orders"_s},
        {u"3"_s, u"Supplier pickup"_s, u"FTP monitor"_s, complete, u"*.*"_s, u"ftp.supplier.example:/outgoing"_s},
        {u"4"_s, u"Invoices by SMTP"_s, u"email"_s, complete, u"*.*"_s, u"accounts@customer.example"_s},
        {u"5"_s, u"Rapports d'ann\u00e9e par MAPI"_s, u"email"_s, complete, u"*.doc"_s, u"reports@office.example"_s},
        {u"6"_s, u"Secure download to head office"_s, u"secure transfer"_s, complete, u"*.*"_s, u"192.0.2.40:7443"_s},
        {u"7"_s, u"Hyper transfer to the print room"_s, u"hyper transfer"_s, complete, u"*.ps"_s, u"\\\\print01\\spool"_s},
    };
    EXPECT_EQ(tableOf(r.out), example) << r.out.toStdString();
    // The example is what the writer writes; beyond one route per method it
    // shows a proxy, and email both by SMTP and not.
    QFile file(kExample);
    NativeStore loaded;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly) && RuleSys::loadRoutes(*loaded.store, kExample));
    EXPECT_EQ(RoutesWriter::serialize(*loaded.store), file.readAll());
    EXPECT_TRUE(loaded.store->routes[2].PrxyEnabled && loaded.store->routes[4].SMTP && !loaded.store->routes[5].SMTP);

    // Several transfer flags set: the last in the tree's order wins (one flag alone: the example).
    using Flags = std::vector<YesNo RouteDef::*>;
    const std::pair<Flags, QString> cases[] = {
        {{}, u"none"_s},
        {{&RouteDef::FTPTransfer, &RouteDef::DirTransfer}, u"directory"_s},
        {{&RouteDef::FTPMonitor, &RouteDef::EmailTransfer}, u"email"_s},
        {{&RouteDef::EmailTransfer, &RouteDef::KelmTransfer}, u"secure transfer"_s},
        {{&RouteDef::KelmTransfer, &RouteDef::DirTransfer}, u"directory"_s},
        {{&RouteDef::DirTransfer, &RouteDef::KelmXTransfer}, u"secure transfer"_s},
        {{&RouteDef::KelmXTransfer, &RouteDef::HyperTransfer, &RouteDef::FTPTransfer}, u"hyper transfer"_s},
    };
    NativeStore s;
    RouteStore &st = *s.store;
    for (const auto &[flags, method] : cases) {
        RouteDef &route = st.routes[std::size_t(++st.routeCount)];
        route.RouteDef = u"r%1"_s.arg(st.routeCount);
        for (const auto flag : flags)
            route.*flag = 1; // any value other than 0 is yes
    }
    s.write(u"Routes.xml"_s, RoutesWriter::serialize(st));
    const auto rows = tableOf(tool({u"list"_s, s.path(u"Routes.xml"_s)}).out);
    ASSERT_EQ(rows.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rows[i + 1][2], cases[i].second) << "route " << i + 1;
}

TEST(RoutesTool, ExportHoldsExactlyWhatLoadRoutesHolds)
{
    NativeStore s;
    // Quotes, backslashes, a tab, a control byte and Windows-1252 letters in
    // values; yes/no and numbers the reader converts.
    s.write(u"odd.xml"_s,
            crlf({"<Routes>", "<RouteDef>say \"hi\" \\\\srv\\x\ttab\x01</RouteDef>", "<UserID>caf\xe9 \x80</UserID>",
                  "<SMTP>7</SMTP>", "<mailPOPService>-5</mailPOPService>", "<FTPport>0</FTPport>", "</Routes>"}));
    s.write(u"empty-list.xml"_s, crlf({"<Routes>", "</Routes>"}));
    s.write(u"not-routes.xml"_s, crlf({"<routes>", "<RouteDef>x</RouteDef>"}));
    const auto entries = [&] { return QDir(s.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); };
    const QStringList before = entries();

    for (const QString &file :
         {kExample, kFullTable, s.path(u"odd.xml"_s), s.path(u"empty-list.xml"_s), s.path(u"not-routes.xml"_s)}) {
        SCOPED_TRACE(file.toStdString());
        NativeStore expected;
        const bool accepted = RuleSys::loadRoutes(*expected.store, file);
        QJsonArray routes;
        for (int slot = 1; slot <= expected.store->routeCount; ++slot)
            routes.append(jsonOf(expected.store->routes[std::size_t(slot)]));
        const QJsonObject want{{u"accepted"_s, accepted}, {u"count"_s, expected.store->routeCount}, {u"routes"_s, routes}};

        const ToolRun r = tool({u"export"_s, file});
        EXPECT_EQ(r.status, accepted ? 0 : 1);
        const QJsonDocument got = QJsonDocument::fromJson(r.out);
        ASSERT_TRUE(got.isObject()) << r.out.toStdString();
        EXPECT_EQ(got.toJson().toStdString(), QJsonDocument(want).toJson().toStdString());

        // Keys in the documented order: the three above, then each route's in the file's element order.
        QByteArrayList keys = {"accepted", "count", "routes"};
        for (int slot = 1; slot <= expected.store->routeCount; ++slot) {
            for (const RouteField &f : routeFields())
                keys.append(f.name);
        }
        qsizetype at = 0;
        for (const QByteArray &key : keys) {
            const qsizetype next = r.out.indexOf(QByteArray('"' + key + "\":"), at);
            ASSERT_GT(next, at) << key.toStdString();
            at = next;
        }
    }
    // Reading never writes: no Hold folder, no file appears beside the routes file.
    EXPECT_EQ(entries(), before);
}

TEST(RoutesTool, CheckReportsEveryLineLoadRoutesSkipsWithItsNumber)
{
    // A crafted file line by line, with what check must say about each ("" for nothing).
    std::vector<std::pair<QByteArray, QByteArray>> lines = {
        {"<Routes>", ""},
        {"<UserID>early</UserID>", "before the first RouteDef"},
        {"<RouteDef>one</RouteDef>", ""},
        {"  <UserID>ops</UserID>", ""}, // indentation is fine
        {"", ""},
        {"just some text", "not an element line"},
        {"<Foo>1</Foo>", "unknown element \"Foo\""},
        {"<FTPport>abc</FTPport>", "FTPport \"abc\""},
        {"<SMTP>yes</SMTP>", "SMTP \"yes\""},
        {"<mailPOPService>70000</mailPOPService>", "mailPOPService \"70000\""},
        {"</AutoEmailMessage>", "\"/AutoEmailMessage\""},
        {"<FTPport>0</FTPport>", ""}, // taken, as 21
    };
    for (int n = 2; n <= 10; ++n)
        lines.push_back({"<RouteDef>" + QByteArray::number(n) + "</RouteDef>", ""});
    lines.push_back({"<RouteDef>eleven</RouteDef>", "beyond the tenth (\"eleven\")"});
    QByteArray text;
    std::vector<std::pair<qsizetype, QByteArray>> want;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i].first + "\r\n";
        if (!lines[i].second.isEmpty())
            want.push_back({qsizetype(i) + 1, lines[i].second});
    }
    want.push_back({qsizetype(lines.size()) + 1, "without \"</Routes>\""});
    NativeStore s;
    s.write(u"crafted.xml"_s, text);

    const ToolRun r = tool({u"check"_s, s.path(u"crafted.xml"_s)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.isEmpty());
    const QByteArrayList got = r.out.trimmed().split('\n');
    ASSERT_EQ(std::size_t(got.size()), want.size()) << r.out.toStdString();
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_TRUE(got[i].startsWith(QByteArray(QByteArray::number(want[i].first) + ": ")) && got[i].contains(want[i].second))
            << got[i].toStdString() << " instead of line " << want[i].first << ": ..." << want[i].second.toStdString();

    // Clean files, lines after "</Routes>" and LF line ends give nothing to report.
    s.write(u"trailing.xml"_s, crlf({"<Routes>", "<RouteDef>a</RouteDef>", "</Routes>", "garbage", "<Foo>"}));
    s.write(u"lf.xml"_s, "<Routes>\n<RouteDef>a</RouteDef>\n\n<Pattern>*.*</Pattern>\n</Routes>\n");
    for (const QString &clean : {kExample, kFullTable, QStringLiteral(MOLVIK_TEST_DATA "/default-route.xml"),
                                 s.path(u"trailing.xml"_s), s.path(u"lf.xml"_s)}) {
        const ToolRun c = tool({u"check"_s, clean});
        EXPECT_EQ(c.status, 0) << clean.toStdString() << '\n' << c.out.toStdString();
        EXPECT_TRUE(c.out.isEmpty() && c.err.isEmpty());
    }

    // Not a routes file: check reports line 1 only, whatever follows; list refuses it.
    for (const QByteArray &bad :
         {QByteArray(""), QByteArray(" <Routes>\r\n<Foo>\r\n"), QByteArray("<routes>\r\n</Routes>\r\n")}) {
        s.write(u"bad.xml"_s, bad);
        const ToolRun c = tool({u"check"_s, s.path(u"bad.xml"_s)});
        EXPECT_EQ(c.status, 1);
        EXPECT_TRUE(c.out.startsWith("1: ") && c.out.count('\n') == 1) << c.out.toStdString();
        const ToolRun l = tool({u"list"_s, s.path(u"bad.xml"_s)});
        EXPECT_EQ(l.status, 1);
        EXPECT_TRUE(l.out.isEmpty());
        EXPECT_TRUE(l.err.contains("not a routes file"));
    }
}
