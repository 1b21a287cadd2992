// The control on a temporary data folder with scripted seams: start-up, the
// tree, the route limit and failed saves; the routes file among other files,
// other users and odd file types, where no byte of the operator's data may be
// lost. Names the file would not keep are refused wherever they are typed.

#include "control/ImageList.h"
#include "control/Molvik4.h"
#include "editor/frmEdit.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "support/PageDriver.h"
#include "wizard/RuleName.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// A disk whose writes fail when told to.
class SwitchableFileSystem final : public FileSystem
{
public:
    IoResult writeWhole(const QString &path, const QByteArray &content, const DurableWrite::FolderLock *held) const override
    {
        if (failWrites)
            return IoResult::failure(IoResult::Code::WriteFailed, path, u"No space left on device"_s, 28);
        return FileSystem::writeWhole(path, content, held);
    }
    mutable bool failWrites = false;
};

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

// The control on the given routes file or folder layout.
struct ControlDriver : PageDriver
{
    explicit ControlDriver(const QByteArray &routes = {}, const QString &layout = {})
        : PageDriver(std::make_shared<SwitchableFileSystem>())
    {
        disk = std::static_pointer_cast<const SwitchableFileSystem>(s.store->environment().fileSystem);
        if (!routes.isNull())
            s.write(u"Routes.xml"_s, routes);
        if (!layout.isEmpty())
            layOut(s.tmp.path() + u'/', layout);
        control = std::make_unique<Molvik4>(*context);
        QObject::connect(control.get(), &Molvik4::operationFailed,
                         [this](const QString &path, const QString &cause) { failures << path + u": " + cause; });
    }

    // "key|text|image" per node, " " between, then the selected node's place (0: none).
    QString tree() const
    {
        QStringList out;
        for (int i = 0; i < control->Tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *n = control->Tree->topLevelItem(i);
            out << u"%1|%2|%3"_s.arg(Molvik4::keyOf(n), n->text(0)).arg(Molvik4::imageOf(n));
        }
        return out.join(u' ') + u" @"_s + QString::number(control->Tree->indexOfTopLevelItem(control->Tree->currentItem()) + 1);
    }
    void select(int slot) { control->Tree->setCurrentItem(control->Tree->topLevelItem(slot - 1)); }
    void pressControl(int index) { QTest::mouseClick(control->Command1[index], Qt::LeftButton); }

    std::shared_ptr<const SwitchableFileSystem> disk;
    std::unique_ptr<Molvik4> control;
    QStringList failures; // "path: cause" of every operationFailed
};

} // namespace

TEST(Startup, WhatTheFolderHoldsDecidesTheTree)
{
    // A refused file is kept aside: the file situations test covers it.
    const struct
    {
        const char *row;
        QByteArray file, after;
        QString tree;
    } rows[] = {
        {"empty folder: the default route", QByteArray(), golden(u"new-route/default.xml"_s), u"D1|Default Route|4 @1"_s},
        {"accepted, without routes: never rewritten", "<Routes>\r\n</Routes>\r\n", "<Routes>\r\n</Routes>\r\n", u" @0"_s}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        ControlDriver d(r.file);
        EXPECT_EQ(d.tree(), r.tree);
        EXPECT_EQ(d.s.read(u"Routes.xml"_s).replace(QFile::encodeName(d.s.tmp.path()), "DATA").toStdString(),
                  r.after.toStdString());
        EXPECT_TRUE(QDir(d.s.path(u"Complete"_s)).exists() && QDir(d.s.path(u"Hold"_s)).exists());
        // The last route stays, and with none Delete and Edit do nothing; New Route opens the wizard.
        d.pressControl(1);
        if (r.file.isNull())
            d.expectMessage(u" You can't Delete the Last Route!"_s, QString(), MsgIcon::None, MsgButtons::Ok);
        else
            d.pressControl(3);
        d.on(u"RuleName"_s, [&d] { d.press(u"CancelButton"_s); });
        d.pressControl(0);
        EXPECT_EQ(d.modal->shown(), std::vector<QString>{u"RuleName"_s});
        d.expectNoMoreMessages();
    }
}

TEST(Tree, ImagesFollowTheFlagsInBothOrders)
{
    // The flags ("+" between), then the image the rebuilt tree shows and the one an added node gets.
    ControlDriver d;
    for (const QString &row :
         u"-/0/0 DirTransfer/4/5 KelmXTransfer/5/4 HyperTransfer/0/6 FTPTransfer+DirTransfer/4/5 "
         u"FTPTransfer+FTPMonitor/9/9 DirTransfer+KelmXTransfer/5/5 EmailTransfer+HyperTransfer/3/6"_s.split(u' ')) {
        SCOPED_TRACE(row.toStdString());
        d.store().workingRoute = RouteDef{};
        for (const QString &flag : row.section(u'/', 0, 0).split(u'+'))
            d.given(flag == u"-" ? QString() : flag + u"=True"_s);
        d.store().routes[1] = d.store().workingRoute;
        d.store().routeCount = 1;
        d.control->UpdateTree();
        EXPECT_EQ(d.tree(), u"D1||%1 @1"_s.arg(row.section(u'/', 1, 1)));
        QTreeWidgetItem *unused = nullptr;
        d.control->AddTreeNode(unused);
        EXPECT_EQ(d.tree(), u"D1||%1 D1||%2 @2"_s.arg(row.section(u'/', 1, 1), row.section(u'/', 2, 2)));
    }
    // The icons behind the numbers are real pictures.
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(d.control->ImageList1->icon(i).pixmap(16, 16).isNull()) << i;
}

TEST(NewRoute, OpensTheWizardOnAFreshRecordBelowTheLimitOfEight)
{
    for (const int count : {7, 8, 9}) {
        SCOPED_TRACE(count);
        const QStringList names = u"r1 r2 r3 r4 r5 r6 r7 r8 r9"_s.split(u' ').mid(0, count);
        ControlDriver d(routesOf(names));
        d.setFields(u"RouteDef FTPport"_s, u"left over|999"_s);
        d.select(3);
        if (count < 8) {
            d.on(u"RuleName"_s, [&d] {
                EXPECT_EQ(d.fields(u"RouteDef FTPport"_s), u"|21"_s);
                d.press(u"CancelButton"_s);
            });
        }
        d.pressControl(0);
        if (count >= 8)
            d.expectMessage(u"You have created the Maximum Number of Routes Allowed!"_s, u"Routes Wizard Information"_s,
                            MsgIcon::Critical, MsgButtons::Ok);
        d.expectNoMoreMessages();
        EXPECT_EQ(d.s.read(u"Routes.xml"_s), routesOf(names));
        // The tree is rebuilt after a cancelled wizard, which selects the first route.
        EXPECT_TRUE(d.tree().endsWith(count < 8 ? u"@1"_s : u"@3"_s));
    }
}

TEST(FailedSave, ReachesTheHostAndKeepsTheFile)
{
    // Delete goes on, and the editor closes without a word: only the host hears.
    for (const int button : {1, 3}) {
        ControlDriver d(routesOf({u"r1"_s, u"r2"_s, u"r3"_s}));
        d.disk->failWrites = true;
        d.select(2);
        d.messages->answer(MsgResult::Yes);
        if (button == 3)
            d.on(u"frmEdit"_s, [&d] { d.act(u"Text1(0)=Renamed;OKButton"_s); });
        d.pressControl(button);
        EXPECT_EQ(d.failures, QStringList{d.s.path(u"Routes.xml"_s) + u": No space left on device"_s}) << button;
        EXPECT_EQ(d.s.read(u"Routes.xml"_s), routesOf({u"r1"_s, u"r2"_s, u"r3"_s}));
    }
}

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
        QTemporaryDir original; // the same layout, left alone
        layOut(original.path() + u'/', s.layout);
        ControlDriver d({}, s.layout);
        const QString dir = d.s.tmp.path() + u'/';
        FormsFixture::settle();
        QString told = d.failures.join(QString());
        EXPECT_EQ(told, d.control->startupFailure());
        EXPECT_GE(d.control->Tree->topLevelItemCount(), 1); // what was read, or the default route in memory
        if (told.isEmpty())
            told = RuleSys::saveRoutes(d.store(), d.store().routesPath()).text();
        EXPECT_TRUE(*s.told ? told.contains(QLatin1String(s.told)) : told.isEmpty()) << told.toStdString();
        for (const QString &k : s.kept.split(u' ', Qt::SkipEmptyParts))
            EXPECT_EQ(readFile(dir + k.section(u'>', -1)), readFile(original.filePath(k.section(u'>', 0, 0)))) << k.toStdString();
        EXPECT_FALSE(QFile::exists(dir + u"real/.Routes.xml.Ab12Cd.saving"_s));
        EXPECT_TRUE(!QFile::exists(dir + u"real"_s) || QFileInfo(dir + u"Routes.xml"_s).isSymLink());
        const ProgramRun check = runProgram(QStringLiteral(MOLVIK_ROUTES_TOOL), {u"check"_s, dir + u"Routes.xml"_s});
        EXPECT_EQ(check.status, s.checkExit) << check.err.toStdString();
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
        const QString program = saver.takeFirst();
        const ProgramRun save = runProgram(program, saver);
        EXPECT_EQ(save.status, 0) << save.err.toStdString();
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
    const ProgramRun shot = runProgram(tmp.filePath(program.fileName()), {u"--screenshot"_s, tmp.filePath(u"shot.png"_s)});
    EXPECT_EQ(shot.status, 1);
    EXPECT_TRUE(shot.err.contains("Routes.xml: not a regular file")) << shot.err.toStdString();
    EXPECT_GT(QFileInfo(tmp.filePath(u"shot.png"_s)).size(), 0);
}

TEST(Program, HelpAndVersionNeedNoDisplay)
{
    for (const auto &[option, start] : {std::pair(u"--help"_s, "Usage: "), std::pair(u"--version"_s, "molvik-wizard ")}) {
        QProcess p;
        QProcessEnvironment bare; // no display of any kind
        bare.insert(u"PATH"_s, u"/usr/bin:/bin"_s);
        p.setProcessEnvironment(bare);
        p.start(QStringLiteral(MOLVIK_WIZARD), {option});
        EXPECT_TRUE(p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0);
        EXPECT_TRUE(p.readAllStandardOutput().startsWith(start));
    }
}

// Names the routes file would not keep, as typed on the name page (which
// first takes out what it always takes out), in the tree, in the editor and
// to the routes tool: each says which characters, and the file stays as it was.
TEST(UnkeptValues, RefusedWithWhatCannotBeKeptAndTheFileUnchanged)
{
    const QString rows[][3] = {
        {u"Tom & \"Jerry\" <scan> 'q' \U0001F680"_s, u"\">\" and \"\U0001F680\""_s, u"\"<\", \">\" and \"\U0001F680\""_s},
        {u"A<b>\"c\"&d|e"_s, u"\">\" and \"|\""_s, u"\"<\", \">\" and \"|\""_s},
        {u"\u015Ckipper \u20AC5"_s, u"\"\u015C\""_s, u"\"\u015C\""_s}};
    for (const auto &[typed, cleaned, raw] : rows) {
        SCOPED_TRACE(typed.toStdString());
        ControlDriver d(routesOf({u"Alpha"_s, u"Beta"_s}));
        const QByteArray before = d.s.read(u"Routes.xml"_s);
        const auto told = [](const QString &what, const char *field = "Route Name") {
            return u"The routes file cannot keep %1 in %2."_s.arg(what, QLatin1String(field));
        };
        d.store().editIndex = 2;
        for (const auto &[form, box] :
             {std::pair<Form *, QString>(&d.open<RuleName>(), u"Text1"_s), {&d.open<frmEdit>(), u"Text1(0)"_s}}) {
            actIn(form, box + u'=' + typed + u";OKButton"_s);
            d.expectMessage(u"\r\n1. "_s + told(box == u"Text1" ? cleaned : raw), kProblemsTitle, MsgIcon::Information,
                            MsgButtons::Ok);
            EXPECT_TRUE(form->isVisible());
        }
        QTreeWidget *tree = d.control->Tree;
        d.select(2);
        tree->editItem(tree->currentItem());
        FormsFixture::settle();
        tree->findChild<QLineEdit *>()->setText(typed);
        QTest::keyClick(tree->findChild<QLineEdit *>(), Qt::Key_Return);
        FormsFixture::settle();
        d.expectMessage(told(raw), u"Routes Wizard"_s, MsgIcon::None, MsgButtons::Ok);
        EXPECT_EQ(tree->topLevelItem(1)->text(0) + d.store().routes[2].RouteDef, u"BetaBeta"_s);

        d.s.write(u"r.json"_s, "{\"RouteDef\": \"" + QString(typed).replace(u'"', u"\\\""_s).toUtf8() +
                                   "\", \"DirTransfer\": true, \"RemoteDirectory\": \"/\"}");
        const ProgramRun add = runProgram(QStringLiteral(MOLVIK_ROUTES_TOOL), {u"add"_s, d.s.path(u"Routes.xml"_s), d.s.path(u"r.json"_s)});
        EXPECT_EQ(add.status, 1);
        EXPECT_EQ(QString::fromUtf8(add.err), u"molvik-routes: "_s + told(cleaned, "RouteDef") + u'\n');
        EXPECT_EQ(d.s.read(u"Routes.xml"_s), before);
    }
}
