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
    for (const QString &row : tableRows(u"system-names.txt"_s)) {
        const QStringList c = row.split(u' ');
        const QString name = Reg::systemName(FixedVersionSource(c[0].toUInt(), c[1].toUInt(), c[2].toUInt()));
        EXPECT_EQ(name.isEmpty() ? u"-"_s : name, c[3]) << row.toStdString();
    }
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
