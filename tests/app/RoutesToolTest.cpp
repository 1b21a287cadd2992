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
    if (!p.waitForStarted(-1) || !p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString example()
{
    return QStringLiteral(MOLVIK_EXAMPLES "/Routes.xml");
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Splits the list output into cells by the header's column starts.
std::vector<QStringList> tableOf(const QByteArray &out)
{
    const QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    std::vector<QStringList> rows;
    if (lines.isEmpty())
        return rows;
    std::vector<qsizetype> starts;
    for (const char *column : {"SLOT", "NAME", "METHOD", "SOURCE", "PATTERN", "DESTINATION"})
        starts.push_back(lines[0].indexOf(QLatin1String(column)));
    for (const QString &line : lines) {
        QStringList cells;
        for (std::size_t c = 0; c < starts.size(); ++c) {
            const qsizetype end = c + 1 < starts.size() ? starts[c + 1] : line.size();
            cells.append(line.mid(starts[c], end - starts[c]).trimmed());
        }
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

TEST(RoutesTool, HelpAndCommandLineErrors)
{
    for (const QStringList &args : {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("-h")},
                                    QStringList{QStringLiteral("check"), QStringLiteral("--help")}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        for (const char *needle :
             {"list FILE", "export FILE", "check FILE", "\"accepted\"", "Exit status", "FTPTransfer", "FTPMonitor",
              "EmailTransfer", "KelmTransfer", "DirTransfer", "KelmXTransfer", "HyperTransfer", "last one", "none"})
            EXPECT_TRUE(r.out.contains(needle)) << needle;
    }
    for (const QStringList &args :
         {QStringList{}, QStringList{QStringLiteral("frob"), example()}, QStringList{QStringLiteral("list")},
          QStringList{QStringLiteral("list"), example(), example()}, QStringList{QStringLiteral("--verbose")}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("Usage: molvik-routes")) << r.err.toStdString();
    }
    EXPECT_TRUE(tool({QStringLiteral("frob"), example()}).err.contains("unknown command \"frob\""));
}

TEST(RoutesTool, AMissingOrUnreadableFileIsOneLineOnStandardErrorAndStatusTwo)
{
    QTemporaryDir tmp;
    QStringList paths = {tmp.filePath(QStringLiteral("absent.xml")), tmp.path()};
    if (::geteuid() != 0) { // root reads a file whatever its mode
        const QString locked = tmp.filePath(QStringLiteral("locked.xml"));
        QFile f(locked);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<Routes>\r\n</Routes>\r\n");
        f.close();
        QFile::setPermissions(locked, QFileDevice::Permissions());
        paths.append(locked);
    }
    for (const char *command : {"list", "export", "check"}) {
        for (const QString &path : paths) {
            const ToolRun r = tool({QLatin1String(command), path});
            EXPECT_EQ(r.status, 2) << command << ' ' << path.toStdString();
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(path.toUtf8())) << r.err.toStdString();
        }
    }
}

TEST(RoutesTool, ListShowsTheExampleFileOneRowPerMethod)
{
    const ToolRun r = tool({QStringLiteral("list"), example()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const auto rows = tableOf(r.out);
    ASSERT_EQ(rows.size(), 8u) << r.out.toStdString();
    const QString complete = QStringLiteral("C:\\programData\\Kelmora\\Complete");
    const QStringList expected[] = {
        {u"1"_s, u"Scans to archive share"_s, u"directory"_s, complete, u"*.pdf"_s, u"\\\\files01\\archive\\scans"_s},
        {u"2"_s, u"Partner upload through proxy"_s, u"FTP"_s, complete, u"*.xml"_s, u"ftp.partner.example:/incoming/orders"_s},
        {u"3"_s, u"Supplier pickup"_s, u"FTP monitor"_s, complete, u"*.*"_s, u"ftp.supplier.example:/outgoing"_s},
        {u"4"_s, u"Invoices by SMTP"_s, u"email"_s, complete, u"*.*"_s, u"accounts@customer.example"_s},
        {u"5"_s, QString::fromUtf8("Rapports d'ann\u00e9e par MAPI"), u"email"_s, complete, u"*.doc"_s,
         u"reports@office.example"_s},
        {u"6"_s, u"Secure download to head office"_s, u"secure transfer"_s, complete, u"*.*"_s, u"192.0.2.40:7443"_s},
        {u"7"_s, u"Hyper transfer to the print room"_s, u"hyper transfer"_s, complete, u"*.ps"_s, u"\\\\print01\\spool"_s},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(rows[i + 1], expected[i]) << "row " << i + 1;
}

TEST(RoutesTool, ListPicksTheMethodInTheTreeOrder)
{
    using Flags = std::vector<YesNo RouteDef::*>;
    const std::pair<Flags, const char *> cases[] = {
        {{}, "none"},
        {{&RouteDef::FTPTransfer}, "FTP"},
        {{&RouteDef::FTPTransfer, &RouteDef::DirTransfer}, "directory"},
        {{&RouteDef::FTPTransfer, &RouteDef::FTPMonitor}, "FTP monitor"},
        {{&RouteDef::FTPMonitor, &RouteDef::EmailTransfer}, "email"},
        {{&RouteDef::EmailTransfer, &RouteDef::KelmTransfer}, "secure transfer"},
        {{&RouteDef::KelmTransfer, &RouteDef::DirTransfer}, "directory"},
        {{&RouteDef::DirTransfer, &RouteDef::KelmXTransfer}, "secure transfer"},
        {{&RouteDef::KelmXTransfer, &RouteDef::HyperTransfer, &RouteDef::FTPTransfer}, "hyper transfer"},
        {{&RouteDef::EmailTransfer}, "email"},
    };
    NativeStore s;
    RouteStore &st = *s.store;
    for (const auto &[flags, method] : cases) {
        RouteDef &r = st.routes[std::size_t(++st.routeCount)];
        r.RouteDef = QStringLiteral("r%1").arg(st.routeCount);
        for (const auto flag : flags)
            r.*flag = 1; // any value other than 0 is yes
    }
    s.write(QStringLiteral("Routes.xml"), RoutesWriter::serialize(st));
    const ToolRun r = tool({QStringLiteral("list"), s.path(QStringLiteral("Routes.xml"))});
    ASSERT_EQ(r.status, 0);
    const auto rows = tableOf(r.out);
    ASSERT_EQ(rows.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rows[i + 1][2], QLatin1String(cases[i].second)) << "route " << i + 1;
}

TEST(RoutesTool, ExportHoldsExactlyWhatLoadRoutesHolds)
{
    NativeStore s;
    // Quotes, backslashes, a tab, a control byte and Windows-1252 letters in
    // values; a yes/no given as a number.
    s.write(QStringLiteral("odd.xml"),
            crlf({"<Routes>", "<RouteDef>say \"hi\" \\\\srv\\x\ttab\x01</RouteDef>", "<UserID>caf\xe9 \x80</UserID>",
                  "<SMTP>7</SMTP>", "<mailPOPService>-5</mailPOPService>", "<FTPport>0</FTPport>", "</Routes>"}));
    s.write(QStringLiteral("empty-list.xml"), crlf({"<Routes>", "</Routes>"}));
    s.write(QStringLiteral("not-routes.xml"), crlf({"<routes>", "<RouteDef>x</RouteDef>"}));
    const QStringList before = QDir(s.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    const QString files[] = {example(), QStringLiteral(MOLVIK_TEST_DATA "/full-table.xml"), s.path(QStringLiteral("odd.xml")),
                             s.path(QStringLiteral("empty-list.xml")), s.path(QStringLiteral("not-routes.xml"))};
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        NativeStore expected;
        const bool accepted = RuleSys::loadRoutes(*expected.store, file);
        const RouteStore &st = *expected.store;

        const ToolRun r = tool({QStringLiteral("export"), file});
        EXPECT_EQ(r.status, accepted ? 0 : 1);
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        const QJsonObject top = doc.object();
        EXPECT_EQ(top.keys(), (QStringList{u"accepted"_s, u"count"_s, u"routes"_s}));
        EXPECT_EQ(top[u"accepted"].toBool(!accepted), accepted);
        ASSERT_TRUE(top[u"count"].isDouble());
        EXPECT_EQ(top[u"count"].toInt(), st.routeCount);
        const QJsonArray routes = top[u"routes"].toArray();
        ASSERT_EQ(routes.size(), st.routeCount);

        // Keys in the file's element order, route after route.
        qsizetype at = 0;
        for (int slot = 1; slot <= st.routeCount; ++slot) {
            for (const RouteField &f : routeFields()) {
                const qsizetype next = r.out.indexOf(QByteArray("\"" + QByteArray(f.name) + "\":"), at);
                ASSERT_GT(next, at) << f.name << " of route " << slot;
                at = next;
            }
        }
        for (int slot = 1; slot <= st.routeCount; ++slot) {
            const QJsonObject o = routes[slot - 1].toObject();
            const RouteDef &route = st.routes[std::size_t(slot)];
            EXPECT_EQ(o.size(), kRouteFieldCount);
            for (const RouteField &f : routeFields()) {
                const QJsonValue v = o[QLatin1String(f.name)];
                switch (f.kind) {
                case RouteField::Kind::Text:
                    ASSERT_TRUE(v.isString()) << f.name;
                    EXPECT_EQ(v.toString(), route.*f.text) << f.name;
                    break;
                case RouteField::Kind::YesNo:
                    ASSERT_TRUE(v.isBool()) << f.name;
                    EXPECT_EQ(v.toBool(), route.*f.int16 != 0) << f.name;
                    break;
                case RouteField::Kind::Int16:
                    ASSERT_TRUE(v.isDouble()) << f.name;
                    EXPECT_EQ(v.toDouble(), route.*f.int16) << f.name;
                    break;
                case RouteField::Kind::Int32:
                    ASSERT_TRUE(v.isDouble()) << f.name;
                    EXPECT_EQ(v.toDouble(), route.*f.int32) << f.name;
                    break;
                }
            }
        }
    }

    const QJsonObject odd = QJsonDocument::fromJson(tool({QStringLiteral("export"), files[2]}).out)[u"routes"][0].toObject();
    EXPECT_EQ(odd[u"RouteDef"].toString(), QStringLiteral("say \"hi\" \\\\srv\\x\ttab\x01"));
    EXPECT_EQ(odd[u"UserID"].toString(), QString::fromUtf8("caf\u00e9 \u20ac"));
    EXPECT_EQ(odd[u"SMTP"].toBool(), true);
    EXPECT_EQ(odd[u"mailPOPService"].toInt(), -5);
    EXPECT_EQ(odd[u"FTPport"].toInt(), 21);
    EXPECT_EQ(odd[u"PrxyPort"].toInt(), 0);
    // Reading never writes: no Hold folder, no file appears beside the routes file.
    EXPECT_EQ(QDir(s.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

TEST(RoutesTool, CheckReportsEveryLineLoadRoutesSkipsWithItsNumber)
{
    NativeStore s;
    QByteArray text = crlf({
        "<Routes>",                               // 1
        "<UserID>early</UserID>",                 // 2 before the first route
        "<RouteDef>one</RouteDef>",               // 3
        "  <UserID>ops</UserID>",                 // 4 indentation is fine
        "",                                       // 5 empty lines are fine
        "just some text",                         // 6 not an element line
        "<Foo>1</Foo>",                           // 7 unknown element
        "<FTPport>abc</FTPport>",                 // 8 not a number
        "<SMTP>yes</SMTP>",                       // 9 not True/False/number
        "<mailPOPService>70000</mailPOPService>", // 10 out of 16-bit range
        "</AutoEmailMessage>",                    // 11 closing tag on its own
        "<FTPport>0</FTPport>",                   // 12 taken (as 21)
    });
    for (int n = 2; n <= 10; ++n) // 13 to 21
        text += QByteArray("<RouteDef>") + QByteArray::number(n) + "</RouteDef>\r\n";
    text += crlf({"<RouteDef>eleven</RouteDef>"}); // 22 beyond the tenth
    // 23: the end, without "</Routes>"
    s.write(QStringLiteral("crafted.xml"), text);

    const ToolRun r = tool({QStringLiteral("check"), s.path(QStringLiteral("crafted.xml"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.isEmpty());
    QList<int> lines;
    QStringList messages;
    for (const QString &line : QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        ASSERT_GT(colon, 0) << line.toStdString();
        lines.append(line.left(colon).toInt());
        messages.append(line.mid(colon + 2));
    }
    EXPECT_EQ(lines, (QList<int>{2, 6, 7, 8, 9, 10, 11, 22, 23})) << r.out.toStdString();
    if (messages.size() == 9) {
        EXPECT_TRUE(messages[2].contains(u"Foo"));
        EXPECT_TRUE(messages[3].contains(u"FTPport") && messages[3].contains(u"abc"));
        EXPECT_TRUE(messages[4].contains(u"SMTP"));
        EXPECT_TRUE(messages[5].contains(u"mailPOPService"));
        EXPECT_TRUE(messages[7].contains(u"eleven"));
        EXPECT_TRUE(messages[8].contains(u"</Routes>"));
    }
    // What check reports is what load-routes did: ten routes, the eleventh
    // gone, FTPport taken from line 12 only.
    const QJsonObject exported =
        QJsonDocument::fromJson(tool({QStringLiteral("export"), s.path(QStringLiteral("crafted.xml"))}).out).object();
    EXPECT_EQ(exported[u"count"].toInt(), 10);
    EXPECT_EQ(exported[u"routes"][0][u"FTPport"].toInt(), 21);
    EXPECT_EQ(exported[u"routes"][0][u"UserID"].toString(), u"ops"_s);

    // Clean files, lines after "</Routes>" and LF line ends give nothing to report.
    s.write(QStringLiteral("trailing.xml"), crlf({"<Routes>", "<RouteDef>a</RouteDef>", "</Routes>", "garbage", "<Foo>"}));
    s.write(QStringLiteral("lf.xml"), "<Routes>\n<RouteDef>a</RouteDef>\n\n<Pattern>*.*</Pattern>\n</Routes>\n");
    for (const QString &clean :
         {example(), QStringLiteral(MOLVIK_TEST_DATA "/full-table.xml"), QStringLiteral(MOLVIK_TEST_DATA "/default-route.xml"),
          s.path(QStringLiteral("trailing.xml")), s.path(QStringLiteral("lf.xml"))}) {
        const ToolRun c = tool({QStringLiteral("check"), clean});
        EXPECT_EQ(c.status, 0) << clean.toStdString() << '\n' << c.out.toStdString();
        EXPECT_TRUE(c.out.isEmpty() && c.err.isEmpty());
    }

    // Not a routes file: one report at line 1, whatever follows.
    for (const QByteArray &bad :
         {QByteArray(""), QByteArray(" <Routes>\r\n<Foo>\r\n"), QByteArray("<routes>\r\n</Routes>\r\n")}) {
        s.write(QStringLiteral("bad.xml"), bad);
        const ToolRun c = tool({QStringLiteral("check"), s.path(QStringLiteral("bad.xml"))});
        EXPECT_EQ(c.status, 1);
        EXPECT_TRUE(c.out.startsWith("1: ")) << c.out.toStdString();
        EXPECT_EQ(c.out.count('\n'), 1);
        const ToolRun l = tool({QStringLiteral("list"), s.path(QStringLiteral("bad.xml"))});
        EXPECT_EQ(l.status, 1);
        EXPECT_TRUE(l.out.isEmpty());
        EXPECT_TRUE(l.err.contains("not a routes file"));
    }
}

TEST(ExampleRoutesFile, IsWhatTheWriterWritesAndHoldsEveryMethod)
{
    const QByteArray bytes = fileBytes(example());
    ASSERT_FALSE(bytes.isEmpty());
    NativeStore s;
    s.write(QStringLiteral("Routes.xml"), bytes);
    RouteStore &st = *s.store;
    ASSERT_TRUE(RuleSys::loadRoutes(st, st.routesPath()));
    ASSERT_EQ(st.routeCount, 7);
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(s.read(QStringLiteral("Routes.xml")), bytes);

    // CR LF after every one of 59 lines per route, Windows-1252 text.
    EXPECT_EQ(bytes.count("\r\n"), 59 * 7 + 2);
    EXPECT_EQ(bytes.count('\n'), 59 * 7 + 2);
    EXPECT_TRUE(bytes.contains("ann\xe9"
                               "e"));

    const auto &r = st.routes;
    EXPECT_TRUE(r[1].DirTransfer && !r[1].RemoteDirectory.isEmpty());
    EXPECT_TRUE(r[2].FTPTransfer && r[2].PrxyEnabled && !r[2].PrxyHost.isEmpty() && r[2].rbUser);
    EXPECT_TRUE(r[3].FTPMonitor);
    EXPECT_TRUE(r[4].EmailTransfer && r[4].SMTP && r[4].mailPOPLogin);
    EXPECT_TRUE(r[5].EmailTransfer && !r[5].SMTP);
    EXPECT_TRUE(r[6].KelmTransfer && r[6].KXSecurePort != 0);
    EXPECT_TRUE(r[7].HyperTransfer);
}
