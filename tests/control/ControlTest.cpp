// The control on a temporary data folder with scripted seams: start-up, the
// tree, the route limit and failed saves.

#include "control/ImageList.h"
#include "control/Molvik4.h"
#include "store/RouteStore.h"
#include "support/PageDriver.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// A disk whose writes fail when told to.
class SwitchableFileSystem final : public FileSystem
{
public:
    IoResult writeWhole(const QString &path, const QByteArray &content) const override
    {
        if (failWrites)
            return IoResult::failure(IoResult::Code::WriteFailed, path, u"No space left on device"_s, 28);
        return FileSystem::writeWhole(path, content);
    }
    mutable bool failWrites = false;
};

struct ControlDriver : PageDriver
{
    explicit ControlDriver(const QByteArray &routes = {}) : PageDriver(std::make_shared<SwitchableFileSystem>())
    {
        disk = std::static_pointer_cast<const SwitchableFileSystem>(s.store->environment().fileSystem);
        if (!routes.isNull())
            s.write(u"Routes.xml"_s, routes);
        control = std::make_unique<Molvik4>(*context);
        QObject::connect(control.get(), &Molvik4::operationFailed,
                         [this](const QString &path, const QString &cause) { failures << path + u'|' + cause; });
    }

    // "key|text|image" per node, " " between, then the selected key.
    QString tree() const
    {
        QStringList out;
        for (int i = 0; i < control->Tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *n = control->Tree->topLevelItem(i);
            out << u"%1|%2|%3"_s.arg(Molvik4::keyOf(n), n->text(0)).arg(Molvik4::imageOf(n));
        }
        return out.join(u' ') + u" @"_s + Molvik4::keyOf(control->Tree->currentItem());
    }
    void select(int slot) { control->Tree->setCurrentItem(control->Tree->topLevelItem(slot - 1)); }
    void pressControl(int index) { QTest::mouseClick(control->Command1[index], Qt::LeftButton); }
    QByteArray routesFile() const { return readFile(s.path(u"Routes.xml"_s)); }

    std::shared_ptr<const SwitchableFileSystem> disk;
    std::unique_ptr<Molvik4> control;
    QStringList failures; // "path|cause" of every operationFailed
};

const QStringList kThree = {u"r1"_s, u"r2"_s, u"r3"_s};

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
        {"empty folder: the default route", QByteArray(), golden(u"new-route/default.xml"_s), u"D1|Default Route|4 @D1"_s},
        {"accepted, without routes: never rewritten", "<Routes>\r\n</Routes>\r\n", "<Routes>\r\n</Routes>\r\n", u" @"_s}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        ControlDriver d(r.file);
        EXPECT_EQ(d.tree(), r.tree);
        EXPECT_EQ(d.routesFile().replace(QFile::encodeName(d.s.tmp.path()), "DATA").toStdString(), r.after.toStdString());
        EXPECT_TRUE(QDir(d.s.path(u"Complete"_s)).exists() && QDir(d.s.path(u"Hold"_s)).exists());
        EXPECT_EQ(d.control->startupFailure(), QString());
        // The last route stays, and with none Delete and Edit do nothing; New Route opens the wizard.
        d.pressControl(1);
        if (r.file.isNull())
            d.expectMessage(u" You can't Delete the Last Route!"_s, QString(), MsgIcon::None, MsgButtons::Ok);
        else
            d.pressControl(3);
        d.on(u"RuleName"_s, [&d] { d.press(u"CancelButton"_s); });
        d.pressControl(0);
        EXPECT_EQ(d.modal->shown(), std::vector<QString>{u"RuleName"_s});
        EXPECT_EQ(d.tree(), r.tree);
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
        EXPECT_EQ(d.tree(), u"D1||%1 @D1"_s.arg(row.section(u'/', 1, 1)));
        QTreeWidgetItem *unused = nullptr;
        d.control->AddTreeNode(unused);
        EXPECT_EQ(d.tree(), u"D1||%1 D1||%2 @D1"_s.arg(row.section(u'/', 1, 1), row.section(u'/', 2, 2)));
        EXPECT_EQ(d.control->Tree->currentItem(), d.control->Tree->topLevelItem(1));
    }
    // The icons behind the numbers are real pictures.
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(d.control->ImageList1->icon(i).pixmap(16, 16).isNull()) << i;
}

TEST(NewRoute, OpensTheWizardOnAFreshRecordBelowTheLimitOfEight)
{
    for (const int count : {7, 8, 9}) {
        SCOPED_TRACE(count);
        QStringList names;
        for (int i = 1; i <= count; ++i)
            names << u"r%1"_s.arg(i);
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
        EXPECT_EQ(d.routesFile(), routesOf(names));
        // The tree is rebuilt after a cancelled wizard, which selects the first route.
        EXPECT_TRUE(d.tree().endsWith(count < 8 ? u"@D1"_s : u"@D3"_s));
    }
}

TEST(FailedSave, ReachesTheHostAndKeepsTheFile)
{
    // Delete goes on, and the editor closes without a word: only the host hears.
    for (const int button : {1, 3}) {
        ControlDriver d(routesOf(kThree));
        d.disk->failWrites = true;
        d.select(2);
        d.messages->answer(MsgResult::Yes);
        if (button == 3)
            d.on(u"frmEdit"_s, [&d] { d.act(u"Text1(0)=Renamed;OKButton"_s); });
        d.pressControl(button);
        EXPECT_EQ(d.failures, QStringList{d.s.path(u"Routes.xml"_s) + u"|No space left on device"_s}) << button;
        EXPECT_EQ(d.routesFile(), routesOf(kThree));
    }
}
