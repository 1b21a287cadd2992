#include "platform/FileSystem.h"
#include "support/StoreTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

unsigned mode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

TEST(FileSystem, WriteWholeReplacesTheFileKeepsItsModeAndLeavesOthersAlone)
{
    QTemporaryDir tmp;
    const FileSystem fs;
    const QString path = tmp.filePath(u"Routes.xml"_s);
    ASSERT_TRUE(fs.writeWhole(path, "first").ok());
    EXPECT_EQ(readFile(path), "first");
    EXPECT_EQ(mode(path), 0600u); // a new file holds passwords: owner only

    ::chmod(QFile::encodeName(path).constData(), 0644); // as its owner set it
    writeFile(tmp.filePath(u".Routes.xml.aB3xY9.saving"_s), "secret"); // left by an interrupted save
    writeFile(path + u".backup"_s, "");                                // the operator's own
    ASSERT_TRUE(fs.writeWhole(path, "second").ok());
    EXPECT_EQ(readFile(path), "second");
    EXPECT_EQ(mode(path), 0644u);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{u"Routes.xml"_s, u"Routes.xml.backup"_s}));

    QDir().mkdir(tmp.filePath(u"blocked"_s)); // a folder where the file should be stays
    EXPECT_FALSE(fs.writeWhole(tmp.filePath(u"blocked"_s), "x").ok());
    EXPECT_TRUE(QFileInfo(tmp.filePath(u"blocked"_s)).isDir());
}
