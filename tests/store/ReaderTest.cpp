#include "store/RoutesReader.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

struct Loaded
{
    bool accepted;
    NativeStore s;
    const RouteDef &route(int n) const { return s.store->routes[std::size_t(n)]; }
    int count() const { return s.store->routeCount; }
};

std::unique_ptr<Loaded> load(const QByteArray &bytes)
{
    auto l = std::make_unique<Loaded>();
    l->s.write(QStringLiteral("Routes.xml"), bytes);
    l->accepted = RuleSys::loadRoutes(*l->s.store, l->s.store->routesPath());
    return l;
}

// One route holding the given element lines after its RouteDef.
std::unique_ptr<Loaded> loadLines(std::initializer_list<const char *> lines)
{
    QByteArray b = "<Routes>\r\n<RouteDef>r</RouteDef>\r\n";
    for (const char *l : lines)
        b += QByteArray(l) + "\r\n";
    return load(b + "</Routes>\r\n");
}

} // namespace

TEST(Reader, FirstLineDecidesWhetherItIsARoutesFile)
{
    EXPECT_TRUE(load(crlf({"<Routes>", "</Routes>"}))->accepted);
    EXPECT_EQ(load(crlf({"<Routes>", "</Routes>"}))->count(), 0);
    EXPECT_TRUE(load("<Routes>")->accepted); // no line end at all
    EXPECT_TRUE(load("<Routes>\n<RouteDef>lf only</RouteDef>\n")->accepted);
    for (const QByteArray &bad : {QByteArray("<routes>\r\n"), QByteArray(" <Routes>\r\n"), QByteArray("\xef\xbb\xbf<Routes>\r\n"),
                                  QByteArray(""), QByteArray("\r\n<Routes>\r\n"), QByteArray("<Routes> \r\n")}) {
        auto l = load(bad);
        EXPECT_FALSE(l->accepted) << bad.toStdString();
        EXPECT_EQ(l->count(), 0);
    }
    NativeStore none;
    EXPECT_FALSE(RuleSys::loadRoutes(*none.store, none.path(QStringLiteral("absent.xml"))));
}

TEST(Reader, NumbersAndFlags)
{
    auto l = loadLines({"<FTPport>0</FTPport>", "<PrxyPort>2121</PrxyPort>", "<mailPOPService>70000</mailPOPService>",
                        "<mailSMTPService>0</mailSMTPService>", "<KXSecurePort>0</KXSecurePort>", "<SMTP>true</SMTP>",
                        "<FTPSecure> FALSE </FTPSecure>", "<FTPPassive>-1</FTPPassive>", "<DirTransfer>7</DirTransfer>"});
    EXPECT_EQ(l->route(1).FTPport, 21);
    EXPECT_EQ(l->route(1).PrxyPort, 2121);
    EXPECT_EQ(l->route(1).mailPOPService, 0); // 70000 does not fit: unchanged
    EXPECT_EQ(l->route(1).mailSMTPService, 25);
    EXPECT_EQ(l->route(1).KXSecurePort, 0);
    EXPECT_EQ(l->route(1).SMTP, Yes);
    EXPECT_EQ(l->route(1).FTPSecure, No);
    EXPECT_EQ(l->route(1).FTPPassive, Yes);
    EXPECT_EQ(l->route(1).DirTransfer, Yes);

    // Unconvertible values leave what the slot held before.
    auto u = loadLines({"<FTPport>2121</FTPport>", "<FTPport></FTPport>", "<FTPport>abc</FTPport>", "<FTPport>2.5</FTPport>",
                        "<FTPport>99999999999</FTPport>", "<SMTP>True</SMTP>", "<SMTP>yes</SMTP>", "<SMTP></SMTP>",
                        "<mailPOPService> -5 </mailPOPService>", "<mailPOPService>0x10</mailPOPService>"});
    EXPECT_EQ(u->route(1).FTPport, 2121);
    EXPECT_EQ(u->route(1).SMTP, Yes);
    EXPECT_EQ(u->route(1).mailPOPService, -5);
    auto n = loadLines({"<SMTP>True</SMTP>", "<SMTP>0</SMTP>"});
    EXPECT_EQ(n->route(1).SMTP, No);
}

TEST(Reader, LinesAreSplitAtAngleBracketsAndBars)
{
    auto l = loadLines({"  <UserID>ops</UserID>", "<Foo>1</Foo>", "<Pattern>*.doc|*.txt</Pattern>",
                        "<RemoteDirectory>C:\\x>y</RemoteDirectory>", "<ArchiveDirectory>no closing tag",
                        "<ValidSchedule> keep blanks </ValidSchedule>", "</UserID>", "plain text", "<DTemplatePath>",
                        "<DialUpEntry>a</DialUpEntry> trailing <junk>"});
    EXPECT_EQ(l->route(1).UserID, QStringLiteral("ops"));
    EXPECT_EQ(l->route(1).Pattern, QStringLiteral("*.doc"));
    EXPECT_EQ(l->route(1).RemoteDirectory, QStringLiteral("C:\\x"));
    EXPECT_EQ(l->route(1).ArchiveDirectory, QStringLiteral("no closing tag"));
    EXPECT_EQ(l->route(1).ValidSchedule, QStringLiteral(" keep blanks "));
    EXPECT_EQ(l->route(1).DTemplatePath, QString());
    EXPECT_EQ(l->route(1).DialUpEntry, QStringLiteral("a"));
    EXPECT_EQ(l->count(), 1);

    // A message written over three lines comes back as its first line only.
    auto m = load(
        "<Routes>\r\n<RouteDef>m</RouteDef>\r\n<AutoEmailMessage>one\r\ntwo <x>\r\nthree</AutoEmailMessage>\r\n</Routes>\r\n");
    EXPECT_EQ(m->route(1).AutoEmailMessage, QStringLiteral("one"));
}

TEST(Reader, RouteBlocksAndTheirLimits)
{
    // Lines after the closing line are not read; an empty name is a route;
    // lines before the first RouteDef go to the unused slot 0.
    auto l = load(crlf({"<Routes>", "<UserID>early</UserID>", "<RouteDef></RouteDef>", "", "<RouteDef>second</RouteDef>",
                        "<UserID>two</UserID>", "</Routes>", "<RouteDef>after</RouteDef>"}));
    EXPECT_TRUE(l->accepted);
    EXPECT_EQ(l->count(), 2);
    EXPECT_EQ(l->route(1).RouteDef, QString());
    EXPECT_EQ(l->route(2).UserID, QStringLiteral("two"));
    EXPECT_EQ(l->s.store->names, (QStringList{QString(), QString(), QStringLiteral("second")}));

    // Missing elements keep what the slot held before; a file ending without
    // the closing line is read to its end.
    NativeStore s;
    s.store->routes[1].FTPServer = QStringLiteral("stale");
    s.write(QStringLiteral("Routes.xml"), crlf({"<Routes>", "<RouteDef>x</RouteDef>"}));
    EXPECT_TRUE(RuleSys::loadRoutes(*s.store, s.store->routesPath()));
    EXPECT_EQ(s.store->routes[1].FTPServer, QStringLiteral("stale"));

    // Eleven routes: the first ten are kept and nothing spills into slot 10.
    QByteArray eleven = "<Routes>\r\n";
    for (int i = 1; i <= 11; ++i)
        eleven += QByteArray("<RouteDef>r") + QByteArray::number(i) + "</RouteDef>\r\n<UserID>u" + QByteArray::number(i) +
                  "</UserID>\r\n";
    auto e = load(eleven + "</Routes>\r\n");
    EXPECT_EQ(e->count(), 10);
    EXPECT_EQ(e->route(10).RouteDef, QStringLiteral("r10"));
    EXPECT_EQ(e->route(10).UserID, QStringLiteral("u10"));
    EXPECT_EQ(e->s.store->names.size(), 11);
}

TEST(Reader, AFileFromAnotherWriter)
{
    const QByteArray other = "<Routes>\n"
                             "    <RouteDef>Indented</RouteDef>\n"
                             "    <Pattern>*.txt</Pattern>\n"
                             "    <Unknown>whatever</Unknown>\n"
                             "    <FTPTransfer>TRUE</FTPTransfer>\r\n"
                             "\t<FTPport> 990 </FTPport>\n"
                             "\n"
                             "  <RouteDef>Second</RouteDef>\n"
                             "  <KelmXTransfer>1</KelmXTransfer>\n"
                             "</Routes>\n"
                             "<RouteDef>ignored</RouteDef>\n";
    auto l = load(other);
    EXPECT_TRUE(l->accepted);
    ASSERT_EQ(l->count(), 2);
    EXPECT_EQ(l->route(1).RouteDef, QStringLiteral("Indented"));
    EXPECT_EQ(l->route(1).Pattern, QStringLiteral("*.txt"));
    EXPECT_EQ(l->route(1).FTPTransfer, Yes);
    EXPECT_EQ(l->route(1).FTPport, 990);
    EXPECT_EQ(l->route(2).KelmXTransfer, Yes);
    EXPECT_EQ(l->route(2).Pattern, QString());

    // Read twice, each time from a count of 0, gives the same table.
    RouteStore &st = *l->s.store;
    const auto first = st.routes;
    st.routeCount = 0;
    EXPECT_TRUE(RuleSys::loadRoutes(st, st.routesPath()));
    EXPECT_EQ(st.routes, first);
}

TEST(Reader, OverlongLinesAreSkippedAndIssuesReported)
{
    QByteArray b = "<Routes>\r\n<RouteDef>a</RouteDef>\r\n<UserID>";
    b += QByteArray(RoutesReader::kMaxLine + 10, 'x');
    b += "</UserID>\r\n<Pattern>*.p</Pattern>\r\n<SMTP>maybe</SMTP>\r\n<Nope>1</Nope>\r\n";
    QBuffer buffer(&b);
    buffer.open(QIODevice::ReadOnly);
    NativeStore s;
    QStringList issues;
    EXPECT_TRUE(RoutesReader::read(buffer, *s.store,
                                   [&](const RoutesReader::Issue &i) { issues << QString::number(i.line) + u' ' + i.message; }));
    EXPECT_EQ(s.store->routes[1].UserID, QString());
    EXPECT_EQ(s.store->routes[1].Pattern, QStringLiteral("*.p"));
    ASSERT_EQ(issues.size(), 4) << issues.join(u'\n').toStdString();
    EXPECT_TRUE(issues[0].startsWith(QStringLiteral("3 skipped: a line longer")));
    EXPECT_TRUE(issues[1].startsWith(QStringLiteral("5 value not taken: SMTP")));
    EXPECT_TRUE(issues[2].startsWith(QStringLiteral("6 skipped: unknown element")));
    EXPECT_TRUE(issues[3].contains(QStringLiteral("without \"</Routes>\"")));

    // An overlong first line is not "<Routes>".
    QByteArray longFirst = QByteArray(RoutesReader::kMaxLine * 3, '<');
    QBuffer lb(&longFirst);
    lb.open(QIODevice::ReadOnly);
    NativeStore s2;
    EXPECT_FALSE(RoutesReader::read(lb, *s2.store));
}
