#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"
#include "wizard/FileFTP.h"
#include "wizard/frmProxy.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

void type(QWidget &form, const char *box, const QString &text)
{
    auto *edit = form.findChild<QLineEdit *>(QLatin1String(box));
    ASSERT_NE(edit, nullptr) << box;
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
}

void click(QWidget &form, const char *button)
{
    auto *b = form.findChild<QAbstractButton *>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

// The file's lines without their CR LF; a line without its CR is marked.
QList<QByteArray> lines(const QByteArray &file)
{
    QList<QByteArray> out = file.split('\n');
    if (!out.isEmpty() && out.back().isEmpty())
        out.pop_back();
    for (QByteArray &l : out) {
        if (l.endsWith('\r'))
            l.chop(1);
        else
            l += "<no CR>";
    }
    return out;
}

} // namespace

TEST(EndToEnd, NewFtpRouteWithProxy)
{
    RealFlow flow;
    ASSERT_EQ(flow.s.store->routeCount, 1); // the default route, written at start-up
    // Each step is scheduled before the click that opens its page.
    flow.whenModal(QStringLiteral("RuleName"), [&](QWidget &name) {
        type(name, "Text1", QStringLiteral("Upload site"));
        flow.whenModal(QStringLiteral("MoveVia"), [&](QWidget &methods) {
            click(methods, "Option1(1)");
            flow.whenModal(QStringLiteral("FileFTP"), [&](QWidget &page) {
                type(page, "Text1(0)", QStringLiteral("ftp.example.org"));
                type(page, "Text1(1)", QStringLiteral("kel"));
                type(page, "Text1(2)", QStringLiteral("s3cret"));
                type(page, "editPort", QStringLiteral("2121"));
                click(page, "cbSecure");
                click(page, "cbPassive");
                click(page, "cbProxy");
                flow.whenModal(QStringLiteral("frmProxy"), [&](QWidget &proxy) {
                    EXPECT_EQ(proxy.findChild<QLineEdit *>(QStringLiteral("editPrxyPort"))->text(), QStringLiteral("21"));
                    type(proxy, "editPrxyHost", QStringLiteral("proxy.example.org"));
                    type(proxy, "editPrxyUsr", QStringLiteral("puser"));
                    type(proxy, "editPrxyPwd", QStringLiteral("ppass"));
                    type(proxy, "editPrxyPort", QStringLiteral("8080"));
                    click(proxy, "rbSite");
                    // Back on the page once the dialog is hidden.
                    flow.whenModal(QStringLiteral("FileFTP"), [&](QWidget &again) { click(again, "OKButton"); });
                    click(proxy, "OKButton");
                });
                click(page, "Command1");
            });
            click(methods, "OKButton");
        });
        click(name, "OKButton");
    });
    QTest::mouseClick(flow.control->Command1[0], Qt::LeftButton);
    FormsFixture::settle();

    EXPECT_TRUE(flow.missed.isEmpty()) << flow.missed.join(u',').toStdString();
    EXPECT_TRUE(flow.messages->shown.empty());
    EXPECT_EQ(flow.context->loaded<FileFTP>(), nullptr);
    EXPECT_EQ(flow.context->loaded<frmProxy>(), nullptr);
    QTreeWidget *tree = flow.control->Tree;
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("Upload site"));

    const QList<QByteArray> file = lines(flow.s.read(QStringLiteral("Routes.xml")));
    ASSERT_EQ(file.size(), 2 + 2 * 59);
    EXPECT_EQ(file.front(), "<Routes>");
    EXPECT_EQ(file[1], "<RouteDef>Default Route</RouteDef>");
    EXPECT_EQ(file.back(), "</Routes>");
    const QByteArray complete = flow.s.path(QStringLiteral("Complete")).toLocal8Bit();
    const QList<QByteArray> expected = {
        "<RouteDef>Upload site</RouteDef>",
        "<UserID></UserID>",
        "<UserDirectory>" + complete + "</UserDirectory>",
        "<FTPTransfer>True</FTPTransfer>",
        "<FTPSecure>True</FTPSecure>",
        "<FTPPassive>True</FTPPassive>",
        "<DirTransfer>False</DirTransfer>",
        "<EmailTransfer>False</EmailTransfer>",
        "<KelmTransfer>False</KelmTransfer>",
        "<KelmXTransfer>False</KelmXTransfer>",
        "<SafeUpload>False</SafeUpload>",
        "<ArchiveDirectory></ArchiveDirectory>",
        "<RemoteDirectory></RemoteDirectory>",
        "<RemoteFTPDirectory> </RemoteFTPDirectory>",
        "<FTPServer>ftp.example.org</FTPServer>",
        "<FTPLogon>kel</FTPLogon>",
        "<FTPPassword>s3cret</FTPPassword>",
        "<AutoEmailName></AutoEmailName>",
        "<AutoEmailAttach></AutoEmailAttach>",
        "<AutoEmailMessage></AutoEmailMessage>",
        "<AutoEmailSubject></AutoEmailSubject>",
        "<SMTP>True</SMTP>",
        "<mailPOPServer></mailPOPServer>",
        "<mailPOPService>110</mailPOPService>",
        "<mailSMTPService>25</mailSMTPService>",
        "<mailPOPLogin>False</mailPOPLogin>",
        "<Pattern>*.*</Pattern>",
        "<DefaultRoute>True</DefaultRoute>",
        "<FTPMonitor>False</FTPMonitor>",
        "<FTPport>2121</FTPport>",
        "<ValidSchedule></ValidSchedule>",
        "<PrxyHost>proxy.example.org</PrxyHost>",
        "<PrxyUser>puser</PrxyUser>",
        "<PrxyPass>ppass</PrxyPass>",
        "<PrxyPort>8080</PrxyPort>",
        "<PrxyEnabled>True</PrxyEnabled>",
        "<rbUser>False</rbUser>",
        "<rbSite>True</rbSite>",
        "<rbLogin>False</rbLogin>",
        "<rbOpen>False</rbOpen>",
        "<Disabled>False</Disabled>",
        "<DialUpEntry></DialUpEntry>",
        "<KXSecureIP></KXSecureIP>",
        "<KXSecurePassword></KXSecurePassword>",
        "<KXSecurePort>0</KXSecurePort>",
        "<GenEmailNotify>False</GenEmailNotify>",
        "<HyperTransfer>False</HyperTransfer>",
        "<SRI2Wave>False</SRI2Wave>",
        "<DSS2Wave>False</DSS2Wave>",
        "<Wave2SRI>False</Wave2SRI>",
        "<Recursive>False</Recursive>",
        "<GenDirList>False</GenDirList>",
        "<GenDirZip>False</GenDirZip>",
        "<GenDirUnZip>False</GenDirUnZip>",
        "<DTemplatePath></DTemplatePath>",
        "<KXSecurePrintData>False</KXSecurePrintData>",
        "<KXSecurePrintDoc>False</KXSecurePrintDoc>",
        "<EncryptFile>False</EncryptFile>",
        "<DecryptFile>False</DecryptFile>",
    };
    ASSERT_EQ(expected.size(), 59);
    for (int i = 0; i < 59; ++i)
        EXPECT_EQ(file[60 + i], expected[i]) << "line " << 61 + i;
}
