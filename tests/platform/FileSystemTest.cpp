#include "platform/FileSystem.h"
#include "support/WindowsPathFileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace molvik;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

unsigned mode(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

TEST(FileSystem, BaseNameDropsTheLastExtensionOnly)
{
    const FileSystem native;
    const WindowsPathFileSystem windows(QStringLiteral("/nowhere"));
    EXPECT_EQ(native.baseName(QStringLiteral("/opt/Kelmora")), QStringLiteral("Kelmora"));
    EXPECT_EQ(native.baseName(QStringLiteral("/opt/Kelmora.old")), QStringLiteral("Kelmora"));
    EXPECT_EQ(native.baseName(QStringLiteral("/opt/a.b.c/")), QStringLiteral("a.b"));
    EXPECT_EQ(windows.baseName(QStringLiteral("D:\\Apps\\Kelmora.old")), QStringLiteral("Kelmora"));
    EXPECT_EQ(windows.baseName(QStringLiteral("D:\\Apps\\Routing")), QStringLiteral("Routing"));
    EXPECT_EQ(windows.localPath(QStringLiteral("C:\\programData\\Kelmora\\Routes.xml")),
              QStringLiteral("/nowhere/C/programData/Kelmora/Routes.xml"));
}

TEST(FileSystem, FoldersAreMadeOneLevelAtATime)
{
    QTemporaryDir tmp;
    const FileSystem fs;
    const QString a = tmp.filePath(QStringLiteral("a"));
    EXPECT_FALSE(fs.createFolder(a + QStringLiteral("/b")).ok());
    ASSERT_TRUE(fs.createFolder(a).ok());
    EXPECT_TRUE(fs.folderExists(a));
    EXPECT_FALSE(fs.fileExists(a));
    const IoResult again = fs.createFolder(a);
    EXPECT_EQ(again.code, IoResult::Code::CreateFolderFailed);
    EXPECT_EQ(again.path, a);
}

TEST(FileSystem, WriteWholeReplacesAtomicallyAndKeepsModes)
{
    QTemporaryDir tmp;
    const FileSystem fs;
    const QString path = tmp.filePath(QStringLiteral("Routes.xml"));

    ASSERT_TRUE(fs.writeWhole(path, "first").ok());
    EXPECT_EQ(contents(path), QByteArray("first"));
    // A new file holds passwords: owner only.
    EXPECT_EQ(mode(path), 0600);

    // An existing file keeps the mode its owner gave it.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                    QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // A leftover temporary file of an interrupted save is removed.
    QFile stray(tmp.filePath(QStringLiteral(".Routes.xml.aB3xY9.saving")));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.write("secret");
    stray.close();
    QFile unrelated(tmp.filePath(QStringLiteral("Routes.xml.backup")));
    ASSERT_TRUE(unrelated.open(QIODevice::WriteOnly));
    unrelated.close();

    ASSERT_TRUE(fs.writeWhole(path, "second").ok());
    EXPECT_EQ(contents(path), QByteArray("second"));
    EXPECT_EQ(mode(path), 0644);
    EXPECT_FALSE(QFile::exists(stray.fileName()));
    EXPECT_TRUE(QFile::exists(unrelated.fileName()));

    ASSERT_TRUE(fs.writeWhole(path, QByteArray()).ok());
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(FileSystem, FailuresNameThePathAndLeaveTheOldFile)
{
    QTemporaryDir tmp;
    const FileSystem fs;
    const QString missing = tmp.filePath(QStringLiteral("gone/Routes.xml"));
    const IoResult r = fs.writeWhole(missing, "x");
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.path, missing);
    EXPECT_TRUE(r.text().startsWith(missing + QStringLiteral(": ")));
    EXPECT_FALSE(r.message.isEmpty());

    // A folder standing where the file should be.
    const QString blocked = tmp.filePath(QStringLiteral("blocked"));
    QDir().mkdir(blocked);
    EXPECT_FALSE(fs.writeWhole(blocked, "x").ok());
    EXPECT_TRUE(QFileInfo(blocked).isDir());

    QByteArray out;
    const IoResult notFound = fs.readAll(tmp.filePath(QStringLiteral("nope.dat")), out);
    EXPECT_EQ(notFound.code, IoResult::Code::NotFound);
    EXPECT_EQ(notFound.systemError, ENOENT);
}
