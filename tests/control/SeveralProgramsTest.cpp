// Several programs on one routes file: the control beside molvik-routes run
// as the other program. Nothing either of them saved may be lost.

#include "control/Molvik4.h"
#include "store/RuleSys.h"
#include "support/PageDriver.h"

#include <QFileSystemWatcher>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const QString kTool = QStringLiteral(MOLVIK_ROUTES_TOOL);
constexpr int kWait = 10000; // ms; reached only when something is wrong

// The names of a routes file's routes, blank between.
std::string namesIn(const QString &path)
{
    RouteStore st(plainEnvironment());
    RuleSys::loadRoutes(st, path);
    RuleSys::rebuildNames(st);
    return st.names.mid(1).join(u' ').toStdString();
}

// molvik-routes on file: "add NAME" (a directory route), "delete SLOT" or "rename SLOT NAME".
QStringList toolArguments(const QString &file, const QString &command)
{
    QStringList args = command.split(u' ');
    if (args[0] == u"add") {
        const QString json = file + u'.' + args[1] + u".json"_s;
        writeFile(json, u"{\"RouteDef\": \"%1\", \"DirTransfer\": true, \"RemoteDirectory\": \"/srv/%1\"}"_s.arg(args[1]).toUtf8());
        args[1] = json;
    }
    args.insert(1, file);
    return args;
}

} // namespace

TEST(SeveralPrograms, EachChangeLandsOnTheFileAsItIsNow)
{
    // Each row: the routes at first; what the other program does and when:
    // "before" the control's command, once the tree shows it, "unseen" before
    // the control has looked, "inside" the command's first form, or "after"
    // it; the command's button (-1: a rename in the tree) and slot, its form's
    // steps (or the new name); the routes in the file at last.
    for (const QString &row : {
             u"r1 r2 r3    | add Night      | before | 1 2  |                                  | r1 r3 Night"_s,
             u"r1          | add Night      | inside | 0 1  | Text1=Mine;OKButton              | r1 Night Mine"_s,
             u"r1 r2 r3 r4 | delete 2       | unseen | 1 3  |                                  | r1 r4"_s,
             u"r1 r2 r3    | rename 1 First | unseen | 3 3  | Text1(3)=/srv/elsewhere;OKButton | First r2 r3"_s,
             u"r1 r2 r3    | rename 2 Theirs| inside | 3 2  | Text1(0)=Mine;OKButton           | r1 Theirs r3"_s,
             u"r1 r2       | rename 1 First | after  | -1 2 | Second                           | First Second"_s}) {
        SCOPED_TRACE(row.toStdString());
        const QStringList cells = row.split(QRegularExpression(u"\\s*\\|\\s*"_s));
        const QString &other = cells[1], &when = cells[2], &steps = cells[4];
        const int button = cells[3].section(u' ', 0, 0).toInt(), slot = cells[3].section(u' ', 1).toInt();
        PageDriver d;
        const QString file = d.s.path(u"Routes.xml"_s);
        writeFile(file, routesOf(cells[0].split(u' ')));
        Molvik4 control(*d.context);
        const auto tree = [&control] {
            QStringList names;
            for (int i = 0; i < control.Tree->topLevelItemCount(); ++i)
                names << control.Tree->topLevelItem(i)->text(0);
            return names.join(u' ').toStdString();
        };
        QSignalSpy changed(&control, &Molvik4::routesChanged);
        QByteArray theirs;
        const auto runOther = [&] {
            const ProgramRun run = runProgram(kTool, toolArguments(file, other));
            EXPECT_EQ(run.status, 0) << run.err.toStdString();
            theirs = readFile(file);
        };
        if (when != u"inside" && when != u"after")
            runOther();
        if (when == u"before") {
            EXPECT_TRUE(changed.wait(kWait) && tree() == namesIn(file));
        }
        control.Tree->setCurrentItem(control.Tree->topLevelItem(slot - 1));
        if (button == 0 || button == 3) {
            d.on(button == 0 ? u"RuleName"_s : u"frmEdit"_s, [&] {
                if (when == u"inside") {
                    // Seen, but followed only once the form closes.
                    QSignalSpy touched(control.findChild<QFileSystemWatcher *>(), &QFileSystemWatcher::directoryChanged);
                    runOther();
                    EXPECT_TRUE(touched.wait(kWait) && tree() != namesIn(file));
                }
                d.act(steps);
            });
        }
        if (button == 0) {
            d.on(u"MoveVia"_s, [&d] { d.act(u"Option1(0)=1;OKButton"_s); });
            d.on(u"FileCopy"_s, [&d] { d.act(u"Command1;OKButton"_s); });
            d.dialogs->folders.push_back(u"/srv/mine"_s);
        }
        bool cancel = false;
        if (button < 0)
            control.Tree_AfterLabelEdit(cancel, steps);
        else
            control.Command1_Click(button);
        if (when == u"after") {
            runOther();
            EXPECT_TRUE(changed.wait(kWait));
        }
        EXPECT_EQ(namesIn(file), cells[5].toStdString());
        EXPECT_EQ(tree(), namesIn(file));
        EXPECT_GE(changed.count(), 1);
        if (button == 1)
            d.expectMessage(u"Proceed with deletion?"_s, u"Route Deleting... "_s, MsgIcon::None, MsgButtons::YesNo);
        if (when == u"inside" && button == 3) { // the very route being edited
            d.expectMessage(RuleSys::changedElsewhereMessage(u"r2"_s), u"Routes Wizard"_s, MsgIcon::Exclamation, MsgButtons::Ok);
            EXPECT_TRUE(readFile(file) == theirs) << "the other program's save was written over";
        }
        d.expectNoMoreMessages();
    }
}

TEST(SeveralPrograms, TwoToolsAddingAtOnceLoseNoRoute)
{
    // Five runs of two shells, each adding three routes one after another.
    const QString script = uR"(for n in 1 2 3; do printf '{"RouteDef": "%s", "DirTransfer": true, "RemoteDirectory": "/srv"}' )"
                           uR"("$2$n" | "$0" add "$1" - >/dev/null || exit 1; done)"_s;
    for (int run = 0; run < 5; ++run) {
        QTemporaryDir tmp;
        const QString file = tmp.filePath(u"Routes.xml"_s);
        writeFile(file, routesOf({u"first"_s}));
        QProcess a, b;
        a.start(u"sh"_s, {u"-c"_s, script, kTool, file, u"a"_s});
        b.start(u"sh"_s, {u"-c"_s, script, kTool, file, u"b"_s});
        EXPECT_TRUE(a.waitForFinished(60000) && b.waitForFinished(60000) && a.exitCode() == 0 && b.exitCode() == 0);
        QStringList found = QString::fromStdString(namesIn(file)).split(u' ');
        found.sort();
        EXPECT_EQ(found.join(u' ').toStdString(), "a1 a2 a3 b1 b2 b3 first") << "run " << run;
    }
}
