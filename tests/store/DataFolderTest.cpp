#include "store/Reg.h"
#include "support/StoreTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

TEST(DataFolder, SystemNameTable)
{
    struct Case
    {
        quint32 platform, major, minor;
        const char *name;
    };
    const Case cases[] = {
        {1, 4, 0, "95"},    {1, 4, 10, "98"},  {1, 4, 90, "ME"},    {1, 4, 5, ""},       {2, 3, 51, "NT3.51"},
        {2, 4, 0, "NT4"},   {2, 5, 0, "2000"}, {2, 5, 1, "XP"},     {2, 5, 2, "XP"},     {2, 6, 0, "Vista"},
        {2, 6, 3, "Vista"}, {2, 10, 0, ""},    {0, 0, 0, "Failed"}, {3, 6, 0, "Failed"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Reg::systemName(FixedVersionSource(c.platform, c.major, c.minor)), QLatin1String(c.name))
            << c.platform << " " << c.major << "." << c.minor;
        // This build's real record outside Windows is zeroed.
#ifndef Q_OS_WIN
    EXPECT_EQ(Reg::systemName(SystemVersionSource()), QStringLiteral("Failed"));
#endif
}

TEST(DataFolder, SelectionFollowsVersionAndFolderName)
{
    struct Case
    {
        const char *component;
        quint32 major, minor;
        const char *dataFolder;
    };
    const Case cases[] = {
        {"D:\\Apps\\Kelmora", 5, 1, "D:\\Apps\\Kelmora"},
        {"D:\\Apps\\Kelmora", 6, 1, "C:\\programData\\Kelmora"},
        {"D:\\Apps\\Kelmora.old", 6, 0, "C:\\programData\\Kelmora"},
        {"D:\\Apps\\kelmora", 6, 0, "D:\\Apps\\kelmora"},
        {"D:\\Apps\\Routing", 6, 0, "D:\\Apps\\Routing"},
        {"D:\\Apps\\Kelmora", 10, 0, "D:\\Apps\\Kelmora"},
    };
    for (const Case &c : cases) {
        WindowsStore w(QLatin1String(c.component), 2, c.major, c.minor);
        w.store->dataFolder = QStringLiteral("stale");
        EXPECT_TRUE(Reg::selectDataFolder(*w.store).ok());
        EXPECT_EQ(w.store->dataFolder, QLatin1String(c.dataFolder)) << c.component << " " << c.major;
        const bool shared = QLatin1String(c.dataFolder) == Reg::kVistaDataFolder;
        EXPECT_EQ(QDir(w.local(Reg::kVistaDataFolder)).exists(), shared);
    }
}

TEST(DataFolder, EnsureOnlyEverSetsTheSharedFolder)
{
    WindowsStore xp(QStringLiteral("D:\\Apps\\Kelmora"), 2, 5, 1);
    xp.store->dataFolder = QStringLiteral("E:\\elsewhere");
    EXPECT_TRUE(Reg::ensureDataFolder(*xp.store).ok());
    EXPECT_EQ(xp.store->dataFolder, QStringLiteral("E:\\elsewhere"));

    WindowsStore vista;
    vista.store->dataFolder = QStringLiteral("E:\\elsewhere");
    EXPECT_TRUE(Reg::ensureDataFolder(*vista.store).ok());
    EXPECT_EQ(vista.store->dataFolder, Reg::kVistaDataFolder);
    EXPECT_TRUE(QDir(vista.local(Reg::kVistaDataFolder)).exists());

    // One level only: without C:\programData the folder cannot be made, and
    // the failure names it while the data folder is still set.
    WindowsStore bare;
    QDir(bare.local(QStringLiteral("C:\\programData"))).removeRecursively();
    const IoResult r = Reg::ensureDataFolder(*bare.store);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.path, Reg::kVistaDataFolder);
    EXPECT_EQ(bare.store->dataFolder, Reg::kVistaDataFolder);
}

TEST(DataFolder, ReadExplanationGivesTheFileOrTheFailure)
{
    WindowsStore w;
    const QByteArray text("Line one\r\nCaf\xe9 \x80\r\n");
    w.write(QStringLiteral("D:\\Apps\\Kelmora\\Wizard\\FileFTP.dat"), text);
    EXPECT_EQ(Reg::readExplanation(w.store->environment(), QStringLiteral("FileFTP")),
              QString::fromUtf8("Line one\r\nCaf\u00e9 \u20ac\r\n"));
    const QString missing = Reg::readExplanation(w.store->environment(), QStringLiteral("FileEmail"));
    EXPECT_EQ(missing, QStringLiteral("2 No such file or directory"));
}
