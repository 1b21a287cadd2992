// Two processes saving one routes file at once, as two host programs that
// each embed the control do. The verdict never depends on how the saves
// interleave: every save of both must succeed whatever the order.
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

TEST(SaveRace, TwoProcessesSavingOneFileNeverFailEachOther)
{
    constexpr int kSaves = 400;
    constexpr qint64 kSecondFirst = 1000001;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"Routes.xml"_s);
    QProcess savers[2];
    const qint64 firsts[2] = {1, kSecondFirst};
    for (int i = 0; i < 2; ++i) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"ASAN_OPTIONS"_s, env.value(u"ASAN_OPTIONS"_s) + u":detect_leaks=0"_s);
        savers[i].setProcessEnvironment(env);
        savers[i].start(QStringLiteral(MOLVIK_SAVE_LOOP), {u"save"_s, path, QString::number(firsts[i]), QString::number(kSaves)});
    }
    for (QProcess &p : savers) {
        ASSERT_TRUE(p.waitForFinished(-1));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        EXPECT_EQ(p.readAllStandardOutput().count("saved "), kSaves);
    }
    // The last complete save wins: the final table of one of the two, whole.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray last = f.readAll();
    EXPECT_TRUE(last == saveLoopTable(kSaves) || last == saveLoopTable(kSecondFirst + kSaves - 1));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Routes.xml"_s});
}
