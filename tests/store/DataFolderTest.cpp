#include "store/Reg.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

TEST(DataFolder, SystemNames)
{
    const struct
    {
        quint32 platform, major, minor;
        const char *name;
    } rows[] = {
        {1, 4, 0, "95"},    {1, 4, 10, "98"},  {1, 4, 90, "ME"},    {1, 4, 5, ""},       {2, 3, 51, "NT3.51"},
        {2, 4, 0, "NT4"},   {2, 5, 0, "2000"}, {2, 5, 1, "XP"},     {2, 5, 2, "XP"},     {2, 6, 0, "Vista"},
        {2, 6, 3, "Vista"}, {2, 10, 0, ""},    {0, 0, 0, "Failed"}, {3, 6, 0, "Failed"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(Reg::systemName(FixedVersionSource(r.platform, r.major, r.minor)), QLatin1String(r.name))
            << r.platform << ' ' << r.major << '.' << r.minor;
#ifndef Q_OS_WIN
    EXPECT_EQ(Reg::systemName(SystemVersionSource()), u"Failed"_s); // the record is zeroed outside Windows
#endif
}

// Select sets the component folder or the shared one; ensure only ever sets
// the shared one. Each is tried on a store of its own, as each makes the folder.
TEST(DataFolder, SelectAndEnsureFollowTheVersionAndTheFolderName)
{
    const struct
    {
        const char *name;
        quint32 major;
        const char *component;
        bool shared;
    } rows[] = {
        {"before version 6", 5, "D:\\Apps\\Kelmora", false},
        {"version 6", 6, "D:\\Apps\\Kelmora", true},
        {"last extension dropped", 6, "D:\\Apps\\Kelmora.old", true},
        {"name matched exactly", 6, "D:\\Apps\\kelmora", false},
        {"another name", 6, "D:\\Apps\\Routing", false},
        {"after version 6", 10, "D:\\Apps\\Kelmora", false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        WindowsStore selected(row.major, QLatin1String(row.component)), ensured(row.major, QLatin1String(row.component));
        ensured.store.dataFolder = u"E:\\elsewhere"_s;
        EXPECT_TRUE(Reg::selectDataFolder(selected.store).ok() && Reg::ensureDataFolder(ensured.store).ok());
        EXPECT_EQ(selected.store.dataFolder, row.shared ? Reg::kVistaDataFolder : QLatin1String(row.component));
        EXPECT_EQ(ensured.store.dataFolder, row.shared ? Reg::kVistaDataFolder : u"E:\\elsewhere"_s);
        EXPECT_EQ(QDir(selected.local(Reg::kVistaDataFolder)).exists(), row.shared);
        EXPECT_EQ(QDir(ensured.local(Reg::kVistaDataFolder)).exists(), row.shared);
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

TEST(DataFolder, ReadExplanationGivesTheFileOrTheFailure)
{
    WindowsStore w;
    writeFile(w.local(u"D:\\Apps\\Kelmora\\Wizard\\FileFTP.dat"_s), "Line one\r\nCaf\xe9 \x80\r\n");
    EXPECT_EQ(Reg::readExplanation(w.store.environment(), u"FileFTP"_s), QString::fromUtf8("Line one\r\nCaf\u00e9 \u20ac\r\n"));
    EXPECT_EQ(Reg::readExplanation(w.store.environment(), u"FileEmail"_s), u"2 No such file or directory"_s);
}
