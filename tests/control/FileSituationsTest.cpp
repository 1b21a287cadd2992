// The routes file among other files, other users and odd file types: what
// the host is told, and that no byte of the operator's data is lost.
#include "control/Molvik4.h"
#include "store/RuleSys.h"
#include "support/FormsTestSupport.h"

#include <QProcess>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// The exit code of a program run to its end (-1 when it had to be killed); its standard error in err.
int run(const QString &program, const QStringList &arguments, QString &err)
{
    QProcess p;
    p.start(program, arguments);
    const bool ended = p.waitForFinished(20000);
    p.kill();
    p.waitForFinished(-1);
    err = QString::fromLocal8Bit(p.readAllStandardError());
    return ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Lays out the folder, blank between entries: "name" a routes file of that
// name, "name=text" a file of that text ("refused" one whose first line is
// not <Routes>), "name=fifo", "name>target" a symbolic link, "name=locked" a
// routes file nobody may read.
void layOut(const QString &dir, const QString &layout)
{
    for (const QString &entry : layout.split(u' ')) {
        const QString name = entry.section(u'=', 0, 0).section(u'>', 0, 0), what = entry.section(u'=', 1), path = dir + name;
        if (entry.contains(u'>'))
            QFile::link(dir + entry.section(u'>', 1), path);
        else if (what == u"fifo")
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
        else
            writeFile(path, what == u"refused"                    ? "<routes>\r\n<RouteDef>handmade</RouteDef>\r\n"
                            : what.isEmpty() || what == u"locked" ? routesOf({name})
                                                                  : what.toUtf8());
        if (what == u"locked")
            QFile::setPermissions(path, {});
    }
}

} // namespace

TEST(FileSituations, TheHostIsToldAndNoByteOfTheOperatorsDataIsLost)
{
    const bool root = ::geteuid() == 0;
    const struct
    {
        const char *name;
        QString layout;
        const char *told; // in what start-up and a save after it tell the host; "" for nothing
        QString kept;     // "before>after": a file's bytes before stand afterwards under the second name
        int checkExit;    // of molvik-routes check on Routes.xml afterwards
    } situations[] = {
        {"operator files beside", u"Routes.xml Routes.xml.backup Routes.xml.orig01 Routes.xml.202412 .Routes.xml.1"_s, "",
         u"Routes.xml Routes.xml.backup Routes.xml.orig01 Routes.xml.202412 .Routes.xml.1"_s, 0},
        {"symlink, a killed save's temporary file beside its target",
         u"real/Routes.xml real/.Routes.xml.Ab12Cd.saving=password Routes.xml>real/Routes.xml"_s, "",
         u"real/Routes.xml Routes.xml"_s, 0},
        {"FIFO", u"Routes.xml=fifo"_s, "Routes.xml: not a regular file", {}, 2},
        {"folder in the way", u"Routes.xml/inside=mine"_s, "Routes.xml: not a regular file", u"Routes.xml/inside"_s, 2},
        {"first line not <Routes>, an older rejected file", u"Routes.xml=refused Routes.xml.rejected=older"_s, "kept as",
         u"Routes.xml>Routes.xml.rejected"_s, 0},
        {"a refused file that cannot be moved aside", u"Routes.xml=refused Routes.xml.rejected/x=in-the-way"_s,
         "Routes.xml: ", u"Routes.xml"_s, 1},
        {"unreadable at start-up (readable to root)", u"Routes.xml=locked"_s, root ? "" : "Permission denied); kept as",
         root ? u"Routes.xml"_s : u"Routes.xml>Routes.xml.rejected"_s, 0},
    };
    for (const auto &s : situations) {
        SCOPED_TRACE(s.name);
        FormsFixture f;
        const QString dir = f.s.tmp.path() + u'/';
        layOut(dir, s.layout);
        const QStringList kept = s.kept.split(u' ', Qt::SkipEmptyParts);
        QList<QByteArray> before;
        for (const QString &k : kept)
            before << readFile(dir + k.section(u'>', 0, 0));
        QString told;
        {
            Molvik4 control(*f.context);
            QObject::connect(&control, &Molvik4::operationFailed,
                             [&](const QString &p, const QString &c) { told += p + u": " + c; });
            FormsFixture::settle();
            EXPECT_EQ(told, control.startupFailure());
            EXPECT_GE(control.Tree->topLevelItemCount(), 1); // what was read, or the default route in memory
            if (told.isEmpty())
                told = RuleSys::saveRoutes(f.store(), f.store().routesPath()).text();
        }
        EXPECT_TRUE(*s.told ? told.contains(QLatin1String(s.told)) : told.isEmpty()) << told.toStdString();
        for (qsizetype i = 0; i < kept.size(); ++i)
            EXPECT_EQ(readFile(dir + kept[i].section(u'>', -1)), before[i]) << kept[i].toStdString();
        EXPECT_FALSE(QFile::exists(dir + u"real/.Routes.xml.Ab12Cd.saving"_s));
        EXPECT_TRUE(!QFile::exists(dir + u"real"_s) || QFileInfo(dir + u"Routes.xml"_s).isSymLink());
        QString err;
        EXPECT_EQ(run(QStringLiteral(MOLVIK_ROUTES_TOOL), {u"check"_s, dir + u"Routes.xml"_s}, err), s.checkExit)
            << err.toStdString();
    }
}

TEST(FileSituations, AnotherUsersFileKeepsItsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root: the files belong to other users";
    const struct
    {
        const char *name;
        bool saverIsNobody; // else root saves
        uid_t folderOwner, fileOwner;
        unsigned folderMode, fileMode;
    } situations[] = {
        {"another user's file saved by root", false, 0, 4242, 0755, 0640},
        {"another user's file in a folder the saver may write", true, 0, 4242, 0777, 0666},
        {"a folder the saver may not write, holding a file it may", true, 4242, 65534, 0755, 0600},
    };
    for (const auto &s : situations) {
        SCOPED_TRACE(s.name);
        QTemporaryDir tmp;
        const QByteArray dir = QFile::encodeName(tmp.filePath(u"data"_s)), path = dir + "/Routes.xml";
        writeFile(QFile::decodeName(path), saveLoopTable(0));
        ASSERT_TRUE(::chmod(QFile::encodeName(tmp.path()).constData(), 0755) == 0 &&
                    ::chown(path.constData(), s.fileOwner, s.fileOwner) == 0 && ::chmod(path.constData(), s.fileMode) == 0 &&
                    ::chown(dir.constData(), s.folderOwner, s.folderOwner) == 0 && ::chmod(dir.constData(), s.folderMode) == 0);
        QStringList saver = u"setpriv --reuid=65534 --regid=65534 --clear-groups"_s.split(u' ').mid(0, s.saverIsNobody ? 4 : 0);
        saver << QStringLiteral(MOLVIK_SAVE_LOOP) << u"save"_s << QFile::decodeName(path) << u"1"_s << u"2"_s;
        QString err;
        EXPECT_EQ(run(saver.takeFirst(), saver, err), 0) << err.toStdString();
        EXPECT_EQ(readFile(QFile::decodeName(path)), saveLoopTable(2));
        struct stat st = {};
        ASSERT_EQ(::stat(path.constData(), &st), 0);
        EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(s.fileOwner, s.fileOwner, s.fileMode));
        EXPECT_EQ(QDir(QFile::decodeName(dir)).entryList(QDir::Files | QDir::Hidden), QStringList{u"Routes.xml"_s});
    }
}

TEST(FileSituations, AScreenshotRunWithAFailingStartUpEndsAndSaysWhy)
{
    // The data folder is where the control's library lies: the program and its libraries copied to a folder of our own.
    QTemporaryDir tmp;
    const QFileInfo program(QStringLiteral(MOLVIK_WIZARD));
    for (const QFileInfo &file : program.dir().entryInfoList({program.fileName(), u"lib*.so*"_s}, QDir::Files))
        ASSERT_TRUE(QFile::copy(file.absoluteFilePath(), tmp.filePath(file.fileName())));
    writeFile(tmp.filePath(u"Routes.xml/inside"_s), "mine");
    QString err;
    EXPECT_EQ(run(tmp.filePath(program.fileName()), {u"--screenshot"_s, tmp.filePath(u"shot.png"_s)}, err), 1);
    EXPECT_TRUE(err.contains(u"Routes.xml: not a regular file"_s)) << err.toStdString();
    EXPECT_GT(QFileInfo(tmp.filePath(u"shot.png"_s)).size(), 0);
}
