#include "support/FormsTestSupport.h"

#include "store/RouteStore.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileFTP.h"
#include "wizard/frmProxy.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>

using namespace molvik;
using namespace molvik::test;

namespace {

struct FtpFixture : FormsFixture
{
    RouteDef &w = store().workingRoute;

    // Steps run in the order the forms are shown: queue the page's step first.
    void expectPage(std::function<void(FileFTP &)> step)
    {
        modal->expect(QStringLiteral("FileFTP"), [step](Form &f) { step(static_cast<FileFTP &>(f)); });
    }
    // Shows the page as the transfer-method page does.
    void open() { context->showModal(context->form<FileFTP>()); }
    void run(std::function<void(FileFTP &)> step)
    {
        expectPage(std::move(step));
        open();
    }

    void fillProxy()
    {
        w.PrxyHost = QStringLiteral("proxy.example.org");
        w.PrxyUser = QStringLiteral("puser");
        w.PrxyPass = QStringLiteral("ppass");
        w.PrxyPort = 8080;
        w.rbSite = Yes;
    }

    bool saved() const { return QFile::exists(s.path(QStringLiteral("Routes.xml"))); }
    QString problems() const { return modal->problems().join(u';'); }
};

void typeSiteAndUser(FileFTP &page)
{
    FormsFixture::type(page, QStringLiteral("Text1(0)"), QStringLiteral("ftp.example.org"));
    FormsFixture::type(page, QStringLiteral("Text1(1)"), QStringLiteral("kel"));
}

} // namespace

TEST(FtpPage, LoadShowsTheRecordAndTheProxyButtonFollowsItsBox)
{
    for (const bool proxy : {true, false}) {
        FtpFixture fx;
        fx.w.FTPServer = QStringLiteral("site");
        fx.w.FTPLogon = QStringLiteral("login");
        fx.w.FTPPassword = QStringLiteral("secret");
        fx.w.RemoteFTPDirectory = QStringLiteral("/in");
        fx.w.FTPport = proxy ? 0 : 990;
        fx.w.PrxyEnabled = yesNo(proxy);
        fx.w.FTPSecure = yesNo(!proxy);
        fx.w.FTPPassive = yesNo(proxy);
        fx.w.SafeUpload = yesNo(!proxy);
        fx.run([&](FileFTP &page) {
            EXPECT_EQ(page.Text1[0]->text(), QStringLiteral("site"));
            EXPECT_EQ(page.Text1[1]->text(), QStringLiteral("login"));
            EXPECT_EQ(page.Text1[2]->text(), QStringLiteral("secret"));
            EXPECT_EQ(page.Text1[2]->displayText(), QStringLiteral("******"));
            EXPECT_EQ(page.Text1[3]->text(), QStringLiteral("/in"));
            EXPECT_EQ(page.editPort->text(), proxy ? QStringLiteral("21") : QStringLiteral("990"));
            EXPECT_EQ(checkValue(page.cbProxy), proxy ? 1 : 0);
            EXPECT_EQ(checkValue(page.cbSecure), proxy ? 0 : 1);
            EXPECT_EQ(checkValue(page.cbPassive), proxy ? 1 : 0);
            EXPECT_EQ(checkValue(page.cbSafeUpload), proxy ? 0 : 1);
            EXPECT_EQ(page.Command1->isVisible(), proxy);
            FormsFixture::click(page, QStringLiteral("cbProxy"));
            EXPECT_EQ(page.Command1->isVisible(), !proxy);
            // The other boxes change nothing else on the page.
            FormsFixture::click(page, QStringLiteral("cbSecure"));
            FormsFixture::click(page, QStringLiteral("cbPassive"));
            EXPECT_EQ(page.Command1->isVisible(), !proxy);
            EXPECT_EQ(fx.w.FTPSecure, yesNo(!proxy));
            // Safe upload reaches the record at the click, and Cancel keeps it.
            FormsFixture::click(page, QStringLiteral("cbSafeUpload"));
            EXPECT_EQ(fx.w.SafeUpload, yesNo(proxy));
            FormsFixture::click(page, QStringLiteral("CancelButton"));
        });
        EXPECT_EQ(fx.w.SafeUpload, yesNo(proxy));
        EXPECT_EQ(fx.w.PrxyEnabled, yesNo(proxy));
        EXPECT_EQ(fx.context->loaded<FileFTP>(), nullptr);
        EXPECT_FALSE(fx.saved());
        EXPECT_TRUE(fx.problems().isEmpty()) << fx.problems().toStdString();
    }
}

TEST(FtpPage, ExplainShowsTheBoxBelowTheParameters)
{
    FtpFixture fx;
    QFile text(fx.s.path(QStringLiteral("Wizard/FileFTP.dat")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("How FTP routes work.\r\n");
    text.close();
    fx.run([&](FileFTP &page) {
        const int normal = page.heightTwips();
        page.panel->Explain->click();
        // One pixel is up to 15 twips at 96 dpi.
        EXPECT_NEAR(page.heightTwips() - normal, 1815 + 250, 15);
        EXPECT_EQ(page.panel->Text2->toPlainText(), QStringLiteral("How FTP routes work.\n"));
        EXPECT_GE(page.panel->Text2->geometry().top(), page.OKButton->geometry().bottom());
        EXPECT_GE(page.panel->Text2->geometry().top(), page.Frame1->geometry().bottom());
        page.panel->Explain->click();
        EXPECT_EQ(page.heightTwips(), normal);
        FormsFixture::click(page, QStringLiteral("CancelButton"));
    });
}

TEST(FtpPage, PortIsConvertedAsA16BitNumber)
{
    struct Case
    {
        const char *text;
        qint32 stored;
    };
    const Case cases[] = {
        {"0", 0},   {"21", 21},       {"2121", 2121}, {"40000", 990},     {"abc", 990}, {"-5", -5},   {"2.5", 2},
        {"3.5", 4}, {"32767", 32767}, {"32768", 990}, {"-32768", -32768}, {"", 990},    {" 77 ", 77}, {"1e3", 1000},
    };
    for (const Case &c : cases) {
        FtpFixture fx;
        fx.w.FTPport = 990;
        fx.store().editIndex = 1;
        fx.run([&](FileFTP &page) {
            typeSiteAndUser(page);
            FormsFixture::type(page, QStringLiteral("editPort"), QString::fromLatin1(c.text));
            FormsFixture::click(page, QStringLiteral("OKButton"));
        });
        EXPECT_EQ(fx.w.FTPport, c.stored) << '"' << c.text << '"';
        EXPECT_TRUE(fx.messages->shown.empty()) << c.text;
        EXPECT_TRUE(fx.problems().isEmpty()) << c.text << fx.problems().toStdString();
    }
}

TEST(FtpPage, MissingSiteOrUserIsReportedAsNumberedProblems)
{
    const QString site = QStringLiteral(". You must specify a FTP Site Name or IP Address");
    const QString user = QStringLiteral(". You must specify a Login User Name for the FTP site");
    struct Case
    {
        const char *site;
        const char *user;
        QString message;
    };
    const Case cases[] = {
        {"", "", QStringLiteral("\r\n1") + site + QStringLiteral("\r\n2") + user},
        {"ftp.example.org", "", QStringLiteral("\r\n1") + user},
        {"", "kel", QStringLiteral("\r\n1") + site},
    };
    for (const Case &c : cases) {
        FtpFixture fx;
        fx.run([&](FileFTP &page) {
            FormsFixture::type(page, QStringLiteral("Text1(0)"), QString::fromLatin1(c.site));
            FormsFixture::type(page, QStringLiteral("Text1(1)"), QString::fromLatin1(c.user));
            FormsFixture::type(page, QStringLiteral("Text1(2)"), QStringLiteral("pw"));
            FormsFixture::type(page, QStringLiteral("editPort"), QStringLiteral("2121"));
            FormsFixture::click(page, QStringLiteral("OKButton"));
            EXPECT_TRUE(page.isVisible());
            EXPECT_EQ(fx.context->loaded<FileFTP>(), &page);
            FormsFixture::click(page, QStringLiteral("CancelButton"));
        });
        ASSERT_EQ(fx.messages->shown.size(), 1u);
        const MessageRequest &m = fx.messages->shown[0];
        EXPECT_EQ(m.text, c.message);
        EXPECT_EQ(m.title, QStringLiteral("Please attend to the following problems before saving this route"));
        EXPECT_EQ(m.icon, MsgIcon::Information);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
        // What was entered is in the record already; nothing was added or written.
        EXPECT_EQ(fx.w.FTPServer, QString::fromLatin1(c.site));
        EXPECT_EQ(fx.w.FTPPassword, QStringLiteral("pw"));
        EXPECT_EQ(fx.w.FTPport, 2121);
        EXPECT_EQ(fx.w.RemoteFTPDirectory, QStringLiteral(" "));
        EXPECT_EQ(fx.store().routeCount, 0);
        EXPECT_FALSE(fx.saved());
    }

    // Blanks are a name as far as the check goes.
    FtpFixture fx;
    fx.run([&](FileFTP &page) {
        FormsFixture::type(page, QStringLiteral("Text1(0)"), QStringLiteral(" "));
        FormsFixture::type(page, QStringLiteral("Text1(1)"), QStringLiteral("  "));
        FormsFixture::click(page, QStringLiteral("OKButton"));
    });
    EXPECT_TRUE(fx.messages->shown.empty());
    EXPECT_EQ(fx.store().routeCount, 1);
}

TEST(FtpPage, OkAppendsAndSavesOnlyForANewRoute)
{
    for (const qint16 editIndex : {0, 2}) {
        FtpFixture fx;
        fx.store().editIndex = editIndex;
        fx.w.RouteDef = QStringLiteral("up");
        fx.w.FTPTransfer = Yes;
        fx.w.DefaultRoute = No;
        QPointer<FileFTP> page;
        fx.run([&](FileFTP &p) {
            page = &p;
            typeSiteAndUser(p);
            FormsFixture::type(p, QStringLiteral("Text1(2)"), QStringLiteral("pw"));
            FormsFixture::click(p, QStringLiteral("cbSecure"));
            FormsFixture::click(p, QStringLiteral("OKButton"));
        });
        EXPECT_TRUE(fx.problems().isEmpty()) << fx.problems().toStdString();
        EXPECT_EQ(fx.w.FTPServer, QStringLiteral("ftp.example.org"));
        EXPECT_EQ(fx.w.FTPLogon, QStringLiteral("kel"));
        EXPECT_EQ(fx.w.FTPPassword, QStringLiteral("pw"));
        EXPECT_EQ(fx.w.RemoteFTPDirectory, QStringLiteral(" "));
        EXPECT_EQ(fx.w.FTPport, 21);
        EXPECT_EQ(fx.w.FTPSecure, Yes);
        EXPECT_EQ(fx.w.DefaultRoute, No);
        EXPECT_EQ(fx.context->loaded<FileFTP>(), nullptr);
        FormsFixture::settle();
        EXPECT_TRUE(page.isNull());
        if (editIndex == 0) {
            EXPECT_EQ(fx.store().routeCount, 1);
            EXPECT_EQ(fx.store().routes[1].FTPServer, QStringLiteral("ftp.example.org"));
            EXPECT_TRUE(fx.s.read(QStringLiteral("Routes.xml")).contains("\r\n<RemoteFTPDirectory> </RemoteFTPDirectory>\r\n"));
        } else {
            EXPECT_EQ(fx.store().routeCount, 0);
            EXPECT_FALSE(fx.saved());
        }
    }
}

TEST(FtpPage, AMonitoringRouteIsMarkedDefaultAndNotSaved)
{
    for (const qint16 editIndex : {3, 0}) {
        FtpFixture fx;
        fx.store().editIndex = editIndex;
        fx.w.FTPMonitor = Yes;
        fx.w.DefaultRoute = No;
        fx.w.PrxyEnabled = Yes;
        fx.fillProxy();
        fx.run([&](FileFTP &page) {
            typeSiteAndUser(page);
            FormsFixture::click(page, QStringLiteral("OKButton"));
        });
        EXPECT_TRUE(fx.problems().isEmpty()) << fx.problems().toStdString();
        EXPECT_EQ(fx.w.DefaultRoute, Yes) << editIndex;
        EXPECT_EQ(fx.w.FTPServer, QStringLiteral("ftp.example.org"));
        EXPECT_EQ(fx.store().routeCount, 0) << editIndex;
        EXPECT_FALSE(fx.saved()) << editIndex;
        EXPECT_EQ(fx.context->loaded<FileFTP>(), nullptr);
        EXPECT_EQ(fx.context->loaded<frmProxy>(), nullptr);
    }
}

TEST(FtpPage, ProxyOffClearsEveryProxyField)
{
    FtpFixture fx;
    fx.store().editIndex = 1;
    fx.w.PrxyEnabled = Yes;
    fx.fillProxy();
    fx.w.rbOpen = Yes;
    fx.w.rbLogin = Yes;
    fx.w.rbUser = Yes;
    fx.run([&](FileFTP &page) {
        typeSiteAndUser(page);
        FormsFixture::click(page, QStringLiteral("cbProxy"));
        EXPECT_FALSE(page.Command1->isVisible());
        FormsFixture::click(page, QStringLiteral("OKButton"));
    });
    EXPECT_EQ(fx.w.PrxyEnabled, No);
    EXPECT_EQ(fx.w.PrxyHost, QString());
    EXPECT_EQ(fx.w.PrxyUser, QString());
    EXPECT_EQ(fx.w.PrxyPass, QString());
    EXPECT_EQ(fx.w.PrxyPort, 0);
    EXPECT_EQ(fx.w.rbOpen, No);
    EXPECT_EQ(fx.w.rbLogin, No);
    EXPECT_EQ(fx.w.rbSite, No);
    EXPECT_EQ(fx.w.rbUser, No);
    // Reading the dialog is not needed, so it is never loaded.
    EXPECT_TRUE(fx.modal->shown() == std::vector<QString>{QStringLiteral("FileFTP")});
}

TEST(FtpPage, ProxyOnWithoutTheDialogKeepsTheRecordsValues)
{
    // Ticked at the page, or already on in the record.
    for (const bool tick : {true, false}) {
        FtpFixture fx;
        fx.store().editIndex = 1;
        fx.w.PrxyEnabled = yesNo(!tick);
        fx.fillProxy();
        fx.w.PrxyPort = 70000;
        fx.run([&](FileFTP &page) {
            typeSiteAndUser(page);
            if (tick)
                FormsFixture::click(page, QStringLiteral("cbProxy"));
            FormsFixture::click(page, QStringLiteral("OKButton"));
        });
        EXPECT_EQ(fx.w.PrxyEnabled, Yes);
        EXPECT_EQ(fx.w.PrxyHost, QStringLiteral("proxy.example.org"));
        EXPECT_EQ(fx.w.PrxyUser, QStringLiteral("puser"));
        EXPECT_EQ(fx.w.PrxyPass, QStringLiteral("ppass"));
        EXPECT_EQ(fx.w.PrxyPort, 70000);
        EXPECT_EQ(fx.w.rbSite, Yes);
        EXPECT_EQ(fx.w.rbOpen + fx.w.rbLogin + fx.w.rbUser, 0);
        EXPECT_EQ(fx.context->loaded<frmProxy>(), nullptr);
        EXPECT_TRUE(fx.problems().isEmpty()) << fx.problems().toStdString();
    }
}

TEST(FtpPage, TheDialogsOkSurvivesThePagesCancel)
{
    FtpFixture fx;
    fx.fillProxy();
    fx.expectPage([&](FileFTP &page) {
        FormsFixture::click(page, QStringLiteral("cbProxy"));
        FormsFixture::click(page, QStringLiteral("Command1"));
        EXPECT_NE(fx.context->loaded<frmProxy>(), nullptr);
        FormsFixture::click(page, QStringLiteral("CancelButton"));
    });
    fx.modal->expect(QStringLiteral("frmProxy"), [](Form &dialog) {
        FormsFixture::type(dialog, QStringLiteral("editPrxyHost"), QStringLiteral("other.proxy"));
        FormsFixture::type(dialog, QStringLiteral("editPrxyUsr"), QStringLiteral("u2"));
        FormsFixture::type(dialog, QStringLiteral("editPrxyPwd"), QStringLiteral("p2"));
        FormsFixture::type(dialog, QStringLiteral("editPrxyPort"), QStringLiteral("3128"));
        FormsFixture::click(dialog, QStringLiteral("rbLogin"));
        FormsFixture::click(dialog, QStringLiteral("OKButton"));
    });
    fx.open();
    EXPECT_TRUE(fx.problems().isEmpty()) << fx.problems().toStdString();
    EXPECT_EQ(fx.w.PrxyEnabled, No); // the page's own boxes are not stored by Cancel
    EXPECT_EQ(fx.w.PrxyHost, QStringLiteral("other.proxy"));
    EXPECT_EQ(fx.w.PrxyUser, QStringLiteral("u2"));
    EXPECT_EQ(fx.w.PrxyPass, QStringLiteral("p2"));
    EXPECT_EQ(fx.w.PrxyPort, 3128);
    EXPECT_EQ(fx.w.rbLogin, Yes);
    EXPECT_EQ(fx.w.rbSite, No);
    EXPECT_EQ(fx.context->loaded<frmProxy>(), nullptr);
    EXPECT_EQ(fx.context->loaded<FileFTP>(), nullptr);
    EXPECT_FALSE(fx.saved());
}

TEST(FtpPage, OkReadsTheDialogAsItsLastVisitLeftIt)
{
    FtpFixture fx;
    fx.store().editIndex = 1;
    fx.w.PrxyEnabled = Yes;
    fx.fillProxy();
    const auto visit = [&](const char *host, const char *button) {
        fx.modal->expect(QStringLiteral("frmProxy"), [=](Form &dialog) {
            FormsFixture::type(dialog, QStringLiteral("editPrxyHost"), QString::fromLatin1(host));
            FormsFixture::click(dialog, QStringLiteral("rbUser"));
            FormsFixture::click(dialog, QString::fromLatin1(button));
        });
    };
    // An OK, then a cancelled visit: the record and the reloaded dialog hold the OK's values.
    fx.expectPage([&](FileFTP &page) {
        typeSiteAndUser(page);
        FormsFixture::click(page, QStringLiteral("Command1"));
        FormsFixture::click(page, QStringLiteral("Command1"));
        EXPECT_EQ(fx.w.PrxyHost, QStringLiteral("first"));
        FormsFixture::click(page, QStringLiteral("OKButton"));
    });
    visit("first", "OKButton");
    visit("second", "CancelButton");
    fx.open();
    EXPECT_TRUE(fx.problems().isEmpty()) << fx.problems().toStdString();
    EXPECT_EQ(fx.w.PrxyHost, QStringLiteral("first"));
    EXPECT_EQ(fx.w.rbUser, Yes);
    EXPECT_EQ(fx.w.rbSite, No);

    // An OK whose dialog is then changed behind it: the page's OK reads the boxes, not the record.
    FtpFixture fx2;
    fx2.store().editIndex = 1;
    fx2.w.PrxyEnabled = Yes;
    fx2.fillProxy();
    fx2.expectPage([&](FileFTP &page) {
        typeSiteAndUser(page);
        FormsFixture::click(page, QStringLiteral("Command1"));
        fx2.context->loaded<frmProxy>()->editPrxyPort->setText(QStringLiteral("9999"));
        FormsFixture::click(page, QStringLiteral("OKButton"));
    });
    fx2.modal->expect(QStringLiteral("frmProxy"), [](Form &dialog) { FormsFixture::click(dialog, QStringLiteral("OKButton")); });
    fx2.open();
    EXPECT_EQ(fx2.w.PrxyPort, 9999);
    EXPECT_EQ(fx2.w.PrxyHost, QStringLiteral("proxy.example.org"));
    EXPECT_EQ(fx2.context->loaded<frmProxy>(), nullptr);
}
