// The route test against real servers on 127.0.0.1: molvik-routes test over a
// table of situations, and the control's Test Route window.
#include "control/Molvik4.h"
#include "support/FormsTestSupport.h"
#include "support/RouteServers.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QPushButton>
#include <QSslConfiguration>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// The result word of every step, from the tool's lines or its JSON; the last step's answer.
QStringList results(const QByteArray &out, QString &lastAnswer)
{
    QStringList words;
    if (out.startsWith('{')) {
        for (const QJsonValue &step : QJsonDocument::fromJson(out).object().value(u"steps"_s).toArray()) {
            words << step[u"result"_s].toString();
            lastAnswer = step[u"answer"_s].toString();
        }
        return words;
    }
    for (const QString &line : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts)) {
        words << line.section(u' ', 0, 0);
        lastAnswer = line;
    }
    return words;
}

// Runs step on the first window find() gives, looking from whichever event
// loop runs at the time, for at most five seconds.
void whenUp(QObject *context, const std::function<QWidget *()> &find, const std::function<void(QWidget &)> &step, int left = 500)
{
    QTimer::singleShot(10, context, [=] {
        if (QWidget *window = find(); window && window->isVisible())
            step(*window);
        else if (left > 0)
            whenUp(context, find, step, left - 1);
    });
}

} // namespace

TEST(RouteTestTool, EverySituationGivesItsStepsAndStatusAndNoPassword)
{
    RouteServers servers;
    ASSERT_TRUE(servers.ready());
    QTemporaryDir dirs;
    for (const QString &folder : {u"source"_s, u"out"_s, u"read-only"_s})
        QDir(dirs.path()).mkdir(folder);
    // Whoever runs the tool can reach every folder; only read-only refuses new files.
    QFile::setPermissions(dirs.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(dirs.filePath(u"out"_s), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(dirs.filePath(u"read-only"_s), QFileDevice::Permissions(0x5555));
    const QString routes = dirs.filePath(u"Routes.xml"_s);

    QMap<QString, QStringList> sets;
    for (QString row : tableRows(u"route-test/situations.txt"_s)) {
        row = servers.fill(row.replace(u"{dirs}"_s, dirs.path()));
        if (!row.contains(u'|')) {
            sets[row.section(u" = "_s, 0, 0)] = row.section(u" = "_s, 1).split(u' ', Qt::SkipEmptyParts);
            continue;
        }
        SCOPED_TRACE(row.toStdString());
        QStringList cells = row.split(u'|');
        for (QString &cell : cells)
            cell = cell.trimmed();
        QStringList fields, options = cells[1].split(u' ', Qt::SkipEmptyParts);
        for (const QString &word : cells[2].split(u' ', Qt::SkipEmptyParts))
            fields << (word.contains(u'=') ? QStringList{word} : sets.value(word));
        const RouteDef route = routeOf(fields);
        writeRoutes(routes, {route});
        QFile::setPermissions(routes, QFileDevice::Permissions(0x6644));

        QStringList command{QStringLiteral(MOLVIK_ROUTES_TOOL), u"test"_s, routes, u"1"_s};
        if (options.removeAll(u"nobody"_s) > 0 && ::geteuid() == 0)
            command = QStringList{u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s} + command;
        const ProgramRun run = runProgram(command[0], command.mid(1) + options);
        QString lastAnswer;
        EXPECT_EQ(results(run.out, lastAnswer).join(u' ').toStdString(), cells[4].toStdString())
            << run.out.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.status, cells[3].toInt());
        EXPECT_TRUE(lastAnswer.contains(cells[5])) << lastAnswer.toStdString();
        for (const QString &password : {route.FTPPassword, route.PrxyPass, route.KXSecurePassword}) {
            EXPECT_TRUE(password.isEmpty() || !QByteArray(run.out + run.err).contains(password.toUtf8()))
                << run.out.toStdString();
        }
    }
    // Nothing was left behind: no test file on the FTP site or in the folder.
    EXPECT_EQ(QDir(servers[u"ftproot"_s] + u"/in"_s).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(dirs.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// A good secure route runs to its end in the window; a route whose site never
// answers, behind a proxy that did, is cancelled long before its time limit.
TEST(RouteTestWindow, TestRouteOnANodeShowsTheStepsAndCancelEndsAHangingOne)
{
    RouteServers servers;
    ASSERT_TRUE(servers.ready());
    QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
    ASSERT_TRUE(trusting.addCaCertificates(servers[u"cert"_s]));
    QSslConfiguration::setDefaultConfiguration(trusting);
    FormsFixture fx;
    const QStringList ftp =
        servers.fill(u"FTPTransfer=-1 FTPServer=127.0.0.1 FTPLogon=alice FTPPassword=ftp-s3cret"_s).split(u' ');
    writeRoutes(fx.s.path(u"Routes.xml"_s),
                {routeOf(ftp + servers.fill(u"RouteDef=Secure FTPport={ftps} FTPSecure=-1 FTPPassive=-1"_s).split(u' ')),
                 routeOf(ftp + servers
                                   .fill(u"RouteDef=Hanging FTPport={silent} PrxyEnabled=-1 PrxyHost=127.0.0.1 "
                                         "PrxyPort={relay_site} PrxyUser=proxy PrxyPass=proxy-s3cret rbSite=-1"_s)
                                   .split(u' '))});
    Molvik4 control(*fx.context);
    control.show();
    const QString shots = qEnvironmentVariable("MOLVIK_SHOTS"); // screenshots for a reader, when asked for

    const struct
    {
        QString route, finalResults;
    } runs[] = {{u"Secure"_s, u"ok ok ok ok ok"_s}, {u"Hanging"_s, u"ok FAILED"_s}};
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(runs[row].route.toStdString());
        QObject timers;
        QStringList seen;
        whenUp(&timers, &QApplication::activePopupWidget, [&](QWidget &menu) {
            for (const QAction *action : menu.actions())
                seen << action->text();
            whenUp(&timers, &QApplication::activeModalWidget, [&](QWidget &window) {
                seen << window.windowTitle();
                auto *steps = window.findChild<QTreeWidget *>(u"Steps"_s);
                auto *button = window.findChild<QPushButton *>(u"CancelButton"_s);
                const auto column = [steps](int c) {
                    QStringList texts;
                    for (int i = 0; i < steps->topLevelItemCount(); ++i)
                        texts << steps->topLevelItem(i)->text(c);
                    return texts.join(u' ');
                };
                if (row == 1) {
                    EXPECT_TRUE(QTest::qWaitFor([&] { return column(0) == u"ok ..."; }, 5000)) << column(0).toStdString();
                    EXPECT_EQ(button->text(), u"Cancel"_s);
                    EXPECT_TRUE(window.findChild<QWidget *>(u"Busy"_s)->isVisible());
                    if (!shots.isEmpty())
                        window.grab().save(shots + u"/route-test-running.png"_s);
                    button->click();
                    // Well within the 10 s time limit, which the wait below would outlast.
                    EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == u"Close"; }, 5000));
                    EXPECT_TRUE(column(2).endsWith(u"cancelled"_s)) << column(2).toStdString();
                }
                EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == u"Close"; }, 20000));
                EXPECT_EQ(column(0), runs[row].finalResults) << column(2).toStdString();
                EXPECT_FALSE(column(2).contains(u"s3cret"_s));
                if (!shots.isEmpty() && row == 0)
                    window.grab().save(shots + u"/route-test-done.png"_s);
                button->click();
            });
            QTest::keyClick(&menu, Qt::Key_Down);
            QTest::keyClick(&menu, Qt::Key_Return);
        });
        QWidget *viewport = control.Tree->viewport();
        const QPoint at = control.Tree->visualItemRect(control.Tree->topLevelItem(row)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event); // returns once the window is closed
        EXPECT_EQ(seen, QStringList({u"Test Route"_s, u"Test Route - "_s + runs[row].route}));
        EXPECT_EQ(control.Tree->currentItem(), control.Tree->topLevelItem(row));
    }
}
