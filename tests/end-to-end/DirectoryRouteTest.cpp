#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"
#include "wizard/FileCopy.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

void click(QWidget &form, const char *button)
{
    auto *b = form.findChild<QAbstractButton *>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

void type(QWidget &form, const char *box, const QString &text)
{
    auto *e = form.findChild<QLineEdit *>(QLatin1String(box));
    ASSERT_NE(e, nullptr) << box;
    QTest::keyClicks(e, text);
}

} // namespace

TEST(EndToEnd, NewDirectoryCopyRoute)
{
    RealFlow flow;
    flow.dialogs->folders = {QStringLiteral("/srv/outgoing")};
    // Each step is scheduled before the click that opens its page.
    flow.whenModal(QStringLiteral("RuleName"), [&](QWidget &page) {
        type(page, "Text1", QStringLiteral("Scans \"out\""));
        flow.whenModal(QStringLiteral("MoveVia"), [&](QWidget &methods) {
            methods.findChild<QRadioButton *>(QStringLiteral("Option1(0)"))->click();
            flow.whenModal(QStringLiteral("FileCopy"), [&](QWidget &copy) {
                click(copy, "Command1");
                click(copy, "OKButton");
            });
            click(methods, "OKButton");
        });
        click(page, "OKButton");
    });
    ASSERT_EQ(flow.newRoute(), QStringLiteral("Scans out"));
    QTreeWidget *tree = flow.control->Tree;
    EXPECT_EQ(Molvik4::keyOf(tree->topLevelItem(1)), QStringLiteral("D2"));
    EXPECT_EQ(Molvik4::imageOf(tree->topLevelItem(1)), 4);
    EXPECT_EQ(Molvik4::keyOf(tree->currentItem()), QStringLiteral("D1"));

    const QByteArray file = flow.s.read(QStringLiteral("Routes.xml"));
    const QList<QByteArray> lines = file.split('\n');
    ASSERT_EQ(lines.size(), 59 * 2 + 2 + 1);
    const QByteArray dir = flow.s.tmp.path().toLocal8Bit();
    const QByteArray expected[] = {
        "<RouteDef>Scans out</RouteDef>\r",
        "<UserID></UserID>\r",
        "<UserDirectory>" + dir + "/Complete</UserDirectory>\r",
        "<FTPTransfer>False</FTPTransfer>\r",
        "<FTPSecure>False</FTPSecure>\r",
        "<FTPPassive>False</FTPPassive>\r",
        "<DirTransfer>True</DirTransfer>\r",
        "<EmailTransfer>False</EmailTransfer>\r",
        "<KelmTransfer>False</KelmTransfer>\r",
        "<KelmXTransfer>False</KelmXTransfer>\r",
        "<SafeUpload>False</SafeUpload>\r",
        "<ArchiveDirectory></ArchiveDirectory>\r",
        "<RemoteDirectory>/srv/outgoing</RemoteDirectory>\r",
    };
    for (int i = 0; i < int(std::size(expected)); ++i)
        EXPECT_EQ(lines[60 + i], expected[i]) << i;
    EXPECT_EQ(lines[60 + 23], "<mailPOPService>110</mailPOPService>\r");
    EXPECT_EQ(lines[60 + 24], "<mailSMTPService>25</mailSMTPService>\r");
    EXPECT_EQ(lines[60 + 26], "<Pattern>*.*</Pattern>\r");
    EXPECT_EQ(lines[60 + 27], "<DefaultRoute>True</DefaultRoute>\r");
    EXPECT_EQ(lines[60 + 29], "<FTPport>21</FTPport>\r");
    EXPECT_EQ(lines[119], "</Routes>\r");
    // The pages are gone or hidden; nothing is left on screen.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(EndToEnd, CancelledWizardAndDeleteWithRealMessageBoxes)
{
    RealFlow flow(true);
    // Add a second route so one can be deleted.
    flow.whenModal(QStringLiteral("RuleName"), [&](QWidget &page) {
        type(page, "Text1", QStringLiteral("Second"));
        flow.whenModal(QStringLiteral("MoveVia"), [&](QWidget &methods) {
            flow.whenModal(QStringLiteral("FileCopy"), [&](QWidget &copy) {
                type(copy, "Text1", QStringLiteral("/srv/two"));
                click(copy, "OKButton");
            });
            click(methods, "OKButton");
        });
        click(page, "OKButton");
    });
    QTest::mouseClick(flow.control->Command1[0], Qt::LeftButton);
    ASSERT_EQ(flow.s.store->routeCount, 2);

    // A wizard cancelled on its first page adds nothing.
    const QByteArray before = flow.s.read(QStringLiteral("Routes.xml"));
    flow.whenModal(QStringLiteral("RuleName"), [&](QWidget &page) { click(page, "CancelButton"); });
    QTest::mouseClick(flow.control->Command1[0], Qt::LeftButton);
    EXPECT_EQ(flow.s.read(QStringLiteral("Routes.xml")), before);

    // Delete the first route, answering the real confirmation box with Yes.
    QString asked;
    auto answer = std::make_shared<std::function<void(int)>>();
    *answer = [&, weak = std::weak_ptr(answer)](int left) {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            asked = box->windowTitle() + u'|' + box->text();
            box->button(QMessageBox::Yes)->click();
        } else if (left > 0) {
            QTimer::singleShot(10, [self = weak.lock(), left] { (*self)(left - 1); });
        }
    };
    QTimer::singleShot(0, [answer] { (*answer)(500); });
    QTest::mouseClick(flow.control->Command1[1], Qt::LeftButton);
    EXPECT_EQ(asked, QStringLiteral("Route Deleting... |Proceed with deletion?"));
    EXPECT_EQ(flow.s.store->routeCount, 1);
    EXPECT_EQ(flow.control->Tree->topLevelItem(0)->text(0), QStringLiteral("Second"));
    EXPECT_EQ(Molvik4::keyOf(flow.control->Tree->topLevelItem(0)), QStringLiteral("D1"));
    EXPECT_EQ(flow.s.read(QStringLiteral("Routes.xml")).count("<RouteDef>"), 1);
    EXPECT_TRUE(flow.missed.isEmpty()) << flow.missed.join(u',').toStdString();
}
