#include "platform/AnsiText.h"
#include "store/Reg.h"
#include "store/RoutesReader.h"
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

// A new route's working record after routes with every field set, yes/no
// fields off and then on: carried fields show their old values, the others
// their fresh ones.
TEST(RouteTable, ResetGivesFreshValuesAndKeepsTheCarriedFields)
{
    RouteStore st(plainEnvironment());
    for (const int previous : {0, 5}) {
        st.workingRoute = sampleRoute(previous);
        RuleSys::resetWorkingRoute(st);
        st.routes[std::size_t(++st.routeCount)] = st.workingRoute;
    }
    EXPECT_EQ(RoutesWriter::serialize(st).toStdString(), golden(u"fresh-routes.xml"_s).toStdString());
}

TEST(RouteTable, AppendAndSaveWritesUntilTheTableIsFullAndRemembersAFailure)
{
    NativeStore s;
    RouteStore &st = *s.store;
    st.dataFolder = s.path(u"missing"_s);
    st.workingRoute = sampleRoute(1);
    RuleSys::appendAndSave(st); // kept in memory, the failure remembered
    EXPECT_TRUE(st.lastAppendFailure.path.endsWith(u"Routes.xml"_s));
    st.dataFolder = s.tmp.path();
    st.workingRoute = sampleRoute(2);
    RuleSys::appendAndSave(st);
    EXPECT_TRUE(st.lastAppendFailure.ok() && st.routeCount == 2 && st.routes[1] == sampleRoute(1) &&
                st.routes[2] == sampleRoute(2));
    EXPECT_EQ(s.read(u"Routes.xml"_s), RoutesWriter::serialize(st));

    fillSaveLoopTable(st, 0); // ten routes in the file: nothing appended, nothing written
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    const QByteArray before = s.read(u"Routes.xml"_s);
    RuleSys::appendAndSave(st);
    EXPECT_TRUE(st.routeCount == 10 && s.read(u"Routes.xml"_s) == before && st.lastRefusal == RuleSys::routeLimitMessage());
}

TEST(RouteTable, TheDefaultRouteOnWindowsIsItsGoldenFile)
{
    WindowsStore w;
    RouteStore &st = w.store;
    ASSERT_TRUE(Reg::selectDataFolder(st).ok());
    RuleSys::makeDefaultRoute(st);
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(readFile(w.local(u"C:\\programData\\Kelmora\\Routes.xml"_s)), golden(u"default-route.xml"_s));
    EXPECT_TRUE(QDir(w.local(u"C:\\programData\\Kelmora\\Hold"_s)).exists());
    EXPECT_FALSE(QDir(w.local(u"C:\\programData\\Kelmora\\Complete"_s)).exists());
}

TEST(RouteTable, GoldenTablesRoundTripByteForByte)
{
    for (const QString &file :
         {QStringLiteral(MOLVIK_TEST_DATA "/full-table.xml"), QStringLiteral(MOLVIK_EXAMPLES "/Routes.xml")}) {
        SCOPED_TRACE(file.toStdString());
        NativeStore s;
        ASSERT_TRUE(RuleSys::loadRoutes(*s.store, file));
        ASSERT_TRUE(RuleSys::saveRoutes(*s.store, s.store->routesPath()).ok());
        EXPECT_EQ(s.read(u"Routes.xml"_s), readFile(file));
    }
}

TEST(RouteTable, ValueFormsAndTheEmptyTable)
{
    NativeStore s;
    RouteStore &st = *s.store;
    RouteDef &r = st.routes[1]; // SMTP: any value other than 0 is yes; FTPServer: not in the code page
    std::tie(r.RouteDef, r.mailPOPService, r.FTPport, r.SMTP, r.AutoEmailMessage, r.FTPServer) =
        std::tuple(u"a<b>|c"_s, -5, -2147483647 - 1, 1, u"two\r\nlines"_s, QString::fromUtf8("\u4e2d"));
    st.routeCount = 1;
    EXPECT_EQ(RoutesWriter::serialize(st).toStdString(), golden(u"value-forms.xml"_s).toStdString());

    s.write(u"Routes.xml"_s, "<Routes>\r\nold\r\n"); // a count of 0 leaves the file empty
    st.routeCount = 0;
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    EXPECT_EQ(s.read(u"Routes.xml"_s), QByteArray());
}

// A value as long as a line may be comes back whole, with the route after
// it untouched; one byte more is refused and the file on disk stays as it was.
TEST(RouteTable, TheLongestLineRoundTripsAndOneByteMoreIsRefused)
{
    NativeStore s;
    RouteStore &st = *s.store, back(st.environment());
    fillSaveLoopTable(st, 1); // three routes
    st.routes[1].RemoteDirectory.fill(u'x', RoutesReader::kMaxLine - qsizetype(sizeof "<RemoteDirectory></RemoteDirectory>") + 1);
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    ASSERT_TRUE(RuleSys::loadRoutes(back, st.routesPath()));
    EXPECT_EQ(
        std::tuple(back.routeCount, back.routes[1].RemoteDirectory, back.routes[1].RemoteFTPDirectory, back.routes[2].RouteDef),
        std::tuple(3, st.routes[1].RemoteDirectory, st.routes[1].RemoteFTPDirectory, st.routes[2].RouteDef));

    const QByteArray before = s.read(u"Routes.xml"_s);
    st.routes[1].RemoteDirectory += u'x';
    EXPECT_EQ(RuleSys::saveRoutes(st, st.routesPath()).code, IoResult::Code::LineTooLong);
    EXPECT_EQ(s.read(u"Routes.xml"_s), before);
}

TEST(DataFolder, SystemNames)
{
    for (const QString &row : tableRows(u"system-names.txt"_s)) {
        const QStringList c = row.split(u' ');
        const QString name = Reg::systemName(FixedVersionSource(c[0].toUInt(), c[1].toUInt(), c[2].toUInt()));
        EXPECT_EQ((name.isEmpty() ? u"-"_s : name).toStdString(), c.value(3).toStdString()) << row.toStdString();
    }
#ifndef Q_OS_WIN
    EXPECT_EQ(Reg::systemName(SystemVersionSource()), u"Failed"_s); // the record is zeroed outside Windows
#endif
}

// Select sets the component folder or the shared one; ensure only ever sets
// the shared one. Each is tried on a store of its own, as each makes the folder.
TEST(DataFolder, SelectAndEnsureFollowTheVersionAndTheFolderName)
{
    const auto chosen = [](const WindowsStore &w, bool ok) -> QString {
        return (ok ? w.store.dataFolder : u"failed"_s) + (QDir(w.local(Reg::kVistaDataFolder)).exists() ? u" (made)"_s : u""_s);
    };
    for (const QString &row : tableRows(u"data-folders.txt"_s)) {
        const QStringList c = row.split(u" | "_s);
        WindowsStore selected(c.value(1).toUInt(), c.value(2)), ensured(c.value(1).toUInt(), c.value(2));
        ensured.store.dataFolder = u"E:\\elsewhere"_s;
        const QStringList got{c.value(0), c.value(1), c.value(2), chosen(selected, Reg::selectDataFolder(selected.store).ok()),
                              chosen(ensured, Reg::ensureDataFolder(ensured.store).ok())};
        EXPECT_EQ(got.join(u" | "_s).toStdString(), row.toStdString());
    }
}

// One level only: without C:\programData the shared folder cannot be made.
TEST(DataFolder, ASharedFolderThatCannotBeMadeIsNamedAndStopsASave)
{
    WindowsStore w;
    QDir(w.local(u"C:\\programData"_s)).removeRecursively();
    EXPECT_EQ(Reg::ensureDataFolder(w.store).path, Reg::kVistaDataFolder);
    EXPECT_EQ(w.store.dataFolder, Reg::kVistaDataFolder);
    w.store.routeCount = 1;
    EXPECT_EQ(RuleSys::saveRoutes(w.store, w.store.routesPath()).code, IoResult::Code::CreateFolderFailed);
}

// Every character the code page holds but the reader's cuts and LF comes
// back exactly, in every text field; the rest are refused, named, and the
// file stays as it was.
TEST(RouteTable, EveryKeptCharacterRoundTripsAndTheRestAreRefused)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += QByteArrayView("<>|\n").contains(char(b)) ? QByteArray() : QByteArray(1, char(b));
    NativeStore s;
    RouteStore &st = *s.store, back(st.environment());
    fillSaveLoopTable(st, 1);
    QStringList texts, read;
    for (const RouteField &f : routeFields()) {
        if (f.kind == RouteField::Kind::Text)
            texts << (st.routes[2].*f.text = AnsiText::decode(QByteArray(all.mid(texts.size()) + all.left(texts.size()))));
    }
    ASSERT_TRUE(RuleSys::saveRoutes(st, st.routesPath()).ok());
    ASSERT_TRUE(RuleSys::loadRoutes(back, st.routesPath()));
    for (const RouteField &f : routeFields())
        read << (f.kind == RouteField::Kind::Text ? back.routes[2].*f.text : QString());
    read.removeAll(QString());
    EXPECT_EQ(read, texts);

    const QByteArray before = s.read(u"Routes.xml"_s);
    st.routes[3].FTPPassword = u"<x>|\r\n\U0001F680\u0100"_s;
    const IoResult refused = RuleSys::saveRoutes(st, st.routesPath());
    EXPECT_EQ(
        std::tuple(refused.code, refused.message),
        std::tuple(
            IoResult::Code::ValueNotKept,
            u"route 3: The routes file cannot keep \"<\", \">\", \"|\", \"\U0001F680\", \"\u0100\" and a line break in FTPPassword."_s));
    EXPECT_EQ(s.read(u"Routes.xml"_s), before);
}
