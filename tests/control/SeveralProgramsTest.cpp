// Several programs on one routes file: the control beside molvik-routes run
// as the other program. Nothing either of them saved may be lost.

#include "store/RuleSys.h"
#include "support/ControlDriver.h"

#include <QFileSystemWatcher>
#include <QProcess>
#include <QSignalSpy>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const QString kTool = QStringLiteral(MOLVIK_ROUTES_TOOL);
constexpr int kWait = 10000; // ms; only ever reached when something is wrong

// The names of a routes file's routes, "|" between.
QString namesIn(const QString &path)
{
    RouteStore st(plainEnvironment());
    RuleSys::loadRoutes(st, path);
    RuleSys::rebuildNames(st);
    return st.names.mid(1).join(u'|');
}

// A directory route named name, as molvik-routes add takes it, in folder.
QString routeJson(const QString &folder, const QString &name)
{
    const QString path = folder + u'/' + name + u".json"_s;
    writeFile(path, u"{\"RouteDef\": \"%1\", \"DirTransfer\": true, \"RemoteDirectory\": \"/srv/%1\"}"_s.arg(name).toUtf8());
    return path;
}

struct Programs : ControlDriver
{
    explicit Programs(const QStringList &names) : ControlDriver(routesOf(names)) {}

    // molvik-routes on the control's file: "add NAME", "delete SLOT", "rename SLOT NAME".
    void other(const QString &command)
    {
        QStringList args = command.split(u' ');
        if (args[0] == u"add")
            args[1] = routeJson(s.tmp.path(), args[1]);
        args.insert(1, file());
        const ProgramRun r = runProgram(kTool, args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    QString file() const { return s.path(u"Routes.xml"_s); }
    std::string inFile() const { return namesIn(file()).toStdString(); }
    std::string inTree() const
    {
        QStringList out;
        for (int i = 0; i < control->Tree->topLevelItemCount(); ++i)
            out << control->Tree->topLevelItem(i)->text(0);
        return out.join(u'|').toStdString();
    }

    QSignalSpy changed{control.get(), &Molvik4::routesChanged};
};

} // namespace

TEST(SeveralPrograms, WhatAnotherProgramSavesShowsAndStays)
{
    {
        SCOPED_TRACE("added by the other program: shown, and kept by a delete in the control");
        Programs d({u"r1"_s, u"r2"_s, u"r3"_s});
        d.select(3);
        d.other(u"add Night"_s);
        ASSERT_TRUE(d.changed.wait(kWait));
        EXPECT_EQ(d.tree().toStdString(), "D1|r1|4 D2|r2|4 D3|r3|4 D4|Night|4 @3"); // the selection stays on r3
        d.select(2);
        d.messages->answer(MsgResult::Yes);
        d.pressControl(1);
        EXPECT_EQ(d.inFile(), "r1|r3|Night");
        EXPECT_EQ(d.inTree(), d.inFile());
    }
    {
        SCOPED_TRACE("deleted by the other program while the control still shows it: it does not come back");
        Programs d({u"r1"_s, u"r2"_s, u"r3"_s, u"r4"_s});
        d.other(u"delete 2"_s);
        d.select(3);
        d.messages->answer(MsgResult::Yes);
        d.control->Command1_Click(1); // before the control has looked at the file again
        EXPECT_EQ(d.inFile(), "r1|r4");
        EXPECT_EQ(d.inTree(), d.inFile());
    }
    {
        SCOPED_TRACE("renamed by the other program, then another route edited in the control: the rename stays");
        Programs d({u"r1"_s, u"r2"_s, u"r3"_s});
        d.other(u"rename 1 First"_s);
        d.select(3);
        d.on(u"frmEdit"_s, [&d] { d.act(u"Text1(3)=/srv/elsewhere;OKButton"_s); });
        d.control->Command1_Click(3);
        EXPECT_EQ(d.inFile(), "First|r2|r3");
        EXPECT_TRUE(readFile(d.file()).contains("<RemoteDirectory>/srv/elsewhere</RemoteDirectory>"));
        d.expectNoMoreMessages();
    }
}

TEST(SeveralPrograms, AFormOpenWhileAnotherProgramSaves)
{
    {
        SCOPED_TRACE("a route added while New Route's pages are open: both kept, the tree follows once they close");
        Programs d({u"r1"_s});
        d.on(u"RuleName"_s, [&d] {
            QSignalSpy touched(d.control->findChild<QFileSystemWatcher *>(), &QFileSystemWatcher::directoryChanged);
            d.other(u"add Night"_s);
            ASSERT_TRUE(touched.wait(kWait));
            EXPECT_EQ(d.inTree(), "r1");
            d.act(u"Text1=Mine;OKButton"_s);
        });
        d.on(u"MoveVia"_s, [&d] { d.act(u"Option1(0)=1;OKButton"_s); });
        d.on(u"FileCopy"_s, [&d] { d.act(u"Command1;OKButton"_s); });
        d.dialogs->folders.push_back(u"/srv/mine"_s);
        d.pressControl(0);
        EXPECT_EQ(d.inFile(), "r1|Night|Mine");
        EXPECT_EQ(d.inTree(), d.inFile());
        EXPECT_EQ(d.changed.count(), 1);
    }
    {
        SCOPED_TRACE("the very route being edited changed by the other program: nothing written, the operator told");
        Programs d({u"r1"_s, u"r2"_s, u"r3"_s});
        QByteArray theirs;
        d.select(2);
        d.on(u"frmEdit"_s, [&] {
            d.other(u"rename 2 Theirs"_s);
            theirs = readFile(d.file());
            d.act(u"Text1(0)=Mine;OKButton"_s);
        });
        d.control->Command1_Click(3);
        d.expectMessage(RuleSys::changedElsewhereMessage(u"r2"_s), u"Routes Wizard"_s, MsgIcon::Exclamation, MsgButtons::Ok);
        EXPECT_TRUE(readFile(d.file()) == theirs) << "the other program's save was written over";
        EXPECT_EQ(d.inTree(), "r1|Theirs|r3");
        // Done again on the route as it now is, the edit goes through.
        d.select(2);
        d.on(u"frmEdit"_s, [&d] { d.act(u"Text1(0)=Mine;OKButton"_s); });
        d.control->Command1_Click(3);
        d.expectNoMoreMessages();
        EXPECT_EQ(d.inFile(), "r1|Mine|r3");
    }
}

TEST(SeveralPrograms, ARenameInTheTreeIsInTheFileAtOnce)
{
    // The other program's rename of another route, right after, finds it there.
    Programs d({u"r1"_s, u"r2"_s});
    d.select(2);
    bool cancel = false;
    d.control->Tree_AfterLabelEdit(cancel, u"Second"_s);
    EXPECT_EQ(d.changed.count(), 1);
    d.other(u"rename 1 First"_s);
    EXPECT_EQ(d.inFile(), "First|Second");
    ASSERT_TRUE(d.changed.wait(kWait));
    EXPECT_EQ(d.tree().toStdString(), "D1|First|4 D2|Second|4 @2");
}

TEST(SeveralPrograms, TwoToolsAddingAtOnceLoseNoRoute)
{
    // Each run: two shells, each adding three routes one after another.
    for (int run = 0; run < 5; ++run) {
        SCOPED_TRACE(run);
        QTemporaryDir tmp;
        const QString file = tmp.filePath(u"Routes.xml"_s);
        writeFile(file, routesOf({u"first"_s}));
        QStringList expected{u"first"_s};
        std::vector<std::unique_ptr<QProcess>> shells;
        for (const QString &who : {u"a"_s, u"b"_s}) {
            QStringList jsons;
            for (int n = 1; n <= 3; ++n) {
                jsons << routeJson(tmp.path(), who + QString::number(n));
                expected << who + QString::number(n);
            }
            auto &sh = shells.emplace_back(std::make_unique<QProcess>());
            const QString script = u"f=$1; shift; for j in \"$@\"; do \"$0\" add \"$f\" \"$j\" >/dev/null || exit 1; done"_s;
            sh->start(u"sh"_s, QStringList{u"-c"_s, script, kTool, file} + jsons);
        }
        for (auto &sh : shells) {
            ASSERT_TRUE(sh->waitForFinished(60000));
            EXPECT_EQ(sh->exitCode(), 0) << sh->readAllStandardError().toStdString();
        }
        QStringList found = namesIn(file).split(u'|');
        found.sort();
        expected.sort();
        EXPECT_EQ(found.join(u' ').toStdString(), expected.join(u' ').toStdString());
    }
}
