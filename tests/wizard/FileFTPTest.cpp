// The FTP page and its proxy dialog through the scripted seams: what each
// shows from the record, what their OKs store, check and save, and how the
// proxy values travel between the record, the dialog and the page.

#include "support/FormsTestSupport.h"

#include "store/RouteStore.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileFTP.h"
#include "forms/PageControls.h"
#include "wizard/frmProxy.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;
using namespace std::string_literals;

namespace {

// The record's proxy fields in one line: "POLSU" for enabled and the options
// Open, Login, Site, User ("-" for No, "?" for any other value), then host,
// user, password and port. setProxy reads the same form.
std::string proxyOf(const RouteDef &w)
{
    const YesNo values[] = {w.PrxyEnabled, w.rbOpen, w.rbLogin, w.rbSite, w.rbUser};
    std::string flags = "POLSU";
    for (int i = 0; i < 5; ++i)
        flags[i] = values[i] == Yes ? flags[i] : values[i] == No ? '-' : '?';
    return flags + u" %1 %2 %3 %4"_s.arg(w.PrxyHost, w.PrxyUser, w.PrxyPass).arg(w.PrxyPort).toStdString();
}

void setProxy(RouteDef &w, const QString &line)
{
    const QStringList f = line.split(u' ');
    ASSERT_EQ(f.size(), 5) << line.toStdString();
    YesNo *flags[] = {&w.PrxyEnabled, &w.rbOpen, &w.rbLogin, &w.rbSite, &w.rbUser};
    for (int i = 0; i < 5; ++i)
        *flags[i] = yesNo(f[0][i] != u'-');
    std::tie(w.PrxyHost, w.PrxyUser, w.PrxyPass) = std::tie(f[1], f[2], f[3]);
    w.PrxyPort = f[4].toInt();
}

// The dialog in one line: the selected option buttons, then its four boxes.
std::string dialogOf(const frmProxy &d)
{
    QStringList selected;
    for (const QRadioButton *b : {d.rbOpen, d.rbLogin, d.rbSite, d.rbUser})
        if (b->isChecked())
            selected << b->objectName();
    return u"%1 %2 %3 %4 %5"_s
        .arg(selected.isEmpty() ? u"none"_s : selected.join(u'+'), d.editPrxyHost->text(), d.editPrxyUsr->text(),
             d.editPrxyPwd->text(), d.editPrxyPort->text())
        .toStdString();
}

// Types the dialog's host, user, password and port, given as one line.
void typeProxy(Form &dialog, const QString &line)
{
    const QStringList f = line.split(u' ');
    for (int i = 0; i < 4; ++i)
        FormsFixture::type(dialog, QStringList{u"editPrxyHost"_s, u"editPrxyUsr"_s, u"editPrxyPwd"_s, u"editPrxyPort"_s}[i],
                           f[i]);
}

// A working route with the given edit index and proxy fields.
struct FtpFixture : FormsFixture
{
    explicit FtpFixture(qint16 editIndex = 0, const char *proxy = nullptr)
    {
        store().editIndex = editIndex;
        if (proxy)
            setProxy(w, QString::fromLatin1(proxy));
    }

    RouteDef &w = store().workingRoute;

    // Shows the page as the transfer-method page does; the dialog's steps run
    // in turn as the page opens it. Every step must run and close its form.
    void run(std::function<void(FileFTP &)> page, std::initializer_list<std::function<void(Form &)>> dialogs = {})
    {
        modal->expect(u"FileFTP"_s, [page](Form &f) { page(static_cast<FileFTP &>(f)); });
        for (const auto &step : dialogs)
            modal->expect(u"frmProxy"_s, step);
        context->showModal(context->form<FileFTP>());
        EXPECT_TRUE(modal->problems().isEmpty()) << modal->problems().join(u';').toStdString();
    }

    // Runs the page to an OK that passes its checks: site and user typed, then step.
    void ok(std::function<void(FileFTP &)> step = {}, std::initializer_list<std::function<void(Form &)>> dialogs = {})
    {
        run(
            [step](FileFTP &page) {
                FormsFixture::type(page, u"Text1(0)"_s, u"ftp.example.org"_s);
                FormsFixture::type(page, u"Text1(1)"_s, u"kel"_s);
                if (step)
                    step(page);
                FormsFixture::click(page, u"OKButton"_s);
            },
            dialogs);
    }

    bool saved() const { return QFile::exists(s.path(u"Routes.xml"_s)); }
};

const char *const kProxy = "P--S- proxy.example.org puser ppass 8080";

} // namespace

TEST(FtpPage, LoadShowsTheRecordAndOnlySafeUploadActsAtTheClick)
{
    for (const bool proxy : {true, false}) {
        FtpFixture fx;
        fx.w.FTPServer = u"site"_s;
        fx.w.FTPLogon = u"login"_s;
        fx.w.FTPPassword = u"secret"_s;
        fx.w.RemoteFTPDirectory = u"/in"_s;
        fx.w.FTPport = proxy ? 0 : 990;
        fx.w.PrxyEnabled = fx.w.FTPPassive = yesNo(proxy);
        fx.w.FTPSecure = fx.w.SafeUpload = yesNo(!proxy);
        fx.run([&](FileFTP &page) {
            QString shown;
            for (const QLineEdit *box : {page.Text1[0], page.Text1[1], page.Text1[2], page.Text1[3], page.editPort})
                shown += box->text() + u' ';
            for (const QCheckBox *box : {page.cbProxy, page.cbSecure, page.cbPassive, page.cbSafeUpload})
                shown += checkValue(box) == 1 ? u'1' : u'0';
            EXPECT_EQ(shown.toStdString(), proxy ? "site login secret /in 21 1010" : "site login secret /in 990 0101");
            EXPECT_EQ(page.Text1[2]->displayText(), u"******"_s);
            EXPECT_EQ(page.Command1->isVisible(), proxy);
            FormsFixture::click(page, u"cbProxy"_s);
            EXPECT_EQ(page.Command1->isVisible(), !proxy);
            // Secure and passive neither move the button nor reach the record before OK.
            FormsFixture::click(page, u"cbSecure"_s);
            FormsFixture::click(page, u"cbPassive"_s);
            EXPECT_EQ(page.Command1->isVisible(), !proxy);
            EXPECT_EQ(fx.w.FTPSecure, yesNo(!proxy));
            FormsFixture::click(page, u"cbSafeUpload"_s);
            FormsFixture::click(page, u"CancelButton"_s);
        });
        // Cancel rolls the safe-upload click back no more than it stores the other boxes.
        EXPECT_EQ(fx.w.SafeUpload, yesNo(proxy));
        EXPECT_EQ(fx.w.PrxyEnabled, yesNo(proxy));
        EXPECT_EQ(fx.context->loaded<FileFTP>(), nullptr);
        EXPECT_FALSE(fx.saved());
    }
}

TEST(FtpPage, ExplainShowsTheBoxBelowTheParameters)
{
    FtpFixture fx;
    fx.s.write(u"Wizard/FileFTP.dat"_s, "How FTP routes work.\r\n");
    fx.run([&](FileFTP &page) {
        const int normal = page.heightTwips();
        page.panel->Explain->click();
        // One pixel is up to 15 twips at 96 dpi.
        EXPECT_NEAR(page.heightTwips() - normal, 1815 + 250, 15);
        EXPECT_EQ(page.panel->Text2->toPlainText(), u"How FTP routes work.\n"_s);
        EXPECT_GE(page.panel->Text2->geometry().top(), page.OKButton->geometry().bottom());
        FormsFixture::click(page, u"CancelButton"_s);
    });
}

TEST(FtpPage, PortIsConvertedAsA16BitNumber)
{
    // Not a 16-bit number: the old port stays. 3.5 tells rounding from cutting.
    const std::pair<const char *, qint32> cases[] = {{"0", 0},     {"21", 21}, {"2121", 2121}, {"40000", 990},
                                                     {"abc", 990}, {"-5", -5}, {"2.5", 2},     {"3.5", 4}};
    for (const auto &[text, stored] : cases) {
        FtpFixture fx(1);
        fx.w.FTPport = 990;
        fx.ok([&](FileFTP &page) { FormsFixture::type(page, u"editPort"_s, QString::fromLatin1(text)); });
        EXPECT_EQ(fx.w.FTPport, stored) << '"' << text << '"';
        EXPECT_TRUE(fx.messages->shown.empty()) << text;
    }
}

TEST(FtpPage, MissingSiteOrUserIsReportedAsNumberedProblems)
{
    const QString site = u". You must specify a FTP Site Name or IP Address"_s;
    const QString user = u". You must specify a Login User Name for the FTP site"_s;
    const std::tuple<QString, QString, QString> cases[] = {{u""_s, u""_s, u"\r\n1"_s + site + u"\r\n2"_s + user},
                                                           {u"ftp.example.org"_s, u""_s, u"\r\n1"_s + user},
                                                           {u""_s, u"kel"_s, u"\r\n1"_s + site},
                                                           {u" "_s, u"  "_s, QString()}}; // blanks are a name
    for (const auto &[siteText, userText, problems] : cases) {
        SCOPED_TRACE(problems.toStdString());
        FtpFixture fx;
        fx.run([&](FileFTP &page) {
            FormsFixture::type(page, u"Text1(0)"_s, siteText);
            FormsFixture::type(page, u"Text1(1)"_s, userText);
            FormsFixture::type(page, u"Text1(2)"_s, u"pw"_s);
            FormsFixture::type(page, u"editPort"_s, u"2121"_s);
            FormsFixture::click(page, u"OKButton"_s);
            if (!problems.isEmpty()) {
                EXPECT_TRUE(page.isVisible());
                FormsFixture::click(page, u"CancelButton"_s);
            }
        });
        // What was entered is in the record either way; an empty directory as one blank.
        EXPECT_EQ(u"%1|%2|%3|%4"_s.arg(fx.w.FTPServer, fx.w.FTPPassword, fx.w.RemoteFTPDirectory).arg(fx.w.FTPport).toStdString(),
                  siteText.toStdString() + "|pw| |2121");
        EXPECT_EQ(fx.store().routeCount, problems.isEmpty() ? 1 : 0);
        EXPECT_EQ(fx.saved(), problems.isEmpty());
        ASSERT_EQ(fx.messages->shown.size(), problems.isEmpty() ? 0u : 1u);
        if (problems.isEmpty())
            continue;
        const MessageRequest &m = fx.messages->shown[0];
        EXPECT_EQ(std::tuple(m.text.toStdString(), m.title.toStdString(), m.icon, m.buttons),
                  std::tuple(problems.toStdString(), "Please attend to the following problems before saving this route"s,
                             MsgIcon::Information, MsgButtons::Ok));
    }
}

TEST(FtpPage, OkSavesOnlyANewRouteThatIsNotMonitored)
{
    // Edit index, monitoring, then DefaultRoute after OK and the routes saved.
    // A monitoring route is only opened by the route editor, which saves it.
    const std::tuple<qint16, YesNo, YesNo, int> cases[] = {{0, No, No, 1}, {2, No, No, 0}, {0, Yes, Yes, 0}, {3, Yes, Yes, 0}};
    for (const auto &[editIndex, monitor, defaultRoute, routes] : cases) {
        SCOPED_TRACE(editIndex + 10 * monitor);
        FtpFixture fx(editIndex);
        fx.w.FTPMonitor = monitor;
        fx.w.DefaultRoute = No;
        QPointer<FileFTP> page;
        fx.ok([&](FileFTP &p) { page = &p; });
        EXPECT_EQ(fx.w.FTPServer, u"ftp.example.org"_s);
        EXPECT_EQ(fx.w.DefaultRoute, defaultRoute);
        EXPECT_EQ(fx.store().routeCount, routes);
        EXPECT_EQ(fx.saved(), routes == 1);
        FormsFixture::settle();
        EXPECT_TRUE(page.isNull());
    }
}

TEST(FtpPage, OkWithoutTheDialogClearsOrKeepsTheRecordsProxy)
{
    // Proxy off clears every field and flag; on, ticked at the page or already
    // on, keeps the record's values, a port beyond 16 bits included.
    const std::tuple<const char *, bool, const char *> cases[] = {
        {"POLSU proxy.example.org puser ppass 8080", true, "-----    0"},
        {"---S- proxy.example.org puser ppass 70000", true, "P--S- proxy.example.org puser ppass 70000"},
        {"P--S- proxy.example.org puser ppass 70000", false, "P--S- proxy.example.org puser ppass 70000"}};
    for (const auto &[before, click, after] : cases) {
        FtpFixture fx(1, before);
        fx.ok([&](FileFTP &page) {
            if (click)
                FormsFixture::click(page, u"cbProxy"_s);
        });
        EXPECT_EQ(proxyOf(fx.w), after);
        // Loaded to be read, the dialog goes again with the page.
        EXPECT_EQ(fx.context->loaded<frmProxy>(), nullptr);
    }
}

TEST(FtpPage, TheDialogOpensOnTheRecordAndItsOkSurvivesThePagesCancel)
{
    // Opened from the page, a port of 0 shows as 21.
    const std::pair<const char *, const char *> ports[] = {{"0", "21"}, {"8080", "8080"}, {"-1", "-1"}};
    for (const auto &[port, shown] : ports) {
        FtpFixture fx(0, ("-O-S- proxy puser ppass "s + port).c_str());
        fx.run(
            [&](FileFTP &page) {
                FormsFixture::click(page, u"cbProxy"_s);
                FormsFixture::click(page, u"Command1"_s);
                FormsFixture::click(page, u"CancelButton"_s);
            },
            {[&](Form &dialog) {
                EXPECT_EQ(dialogOf(static_cast<frmProxy &>(dialog)), "rbSite proxy puser ppass "s + shown);
                typeProxy(dialog, u"other.proxy u2 p2 3128"_s);
                FormsFixture::click(dialog, u"rbLogin"_s);
                FormsFixture::click(dialog, u"OKButton"_s);
            }});
        // The page's own boxes are not stored by its Cancel.
        EXPECT_EQ(proxyOf(fx.w), "--L-- other.proxy u2 p2 3128");
        EXPECT_EQ(fx.context->loaded<frmProxy>(), nullptr);
        EXPECT_FALSE(fx.saved());
    }
}

TEST(FtpPage, OkReadsTheDialogAsItsLastVisitLeftIt)
{
    const auto visit = [](const QString &boxes, const QString &option, const QString &button) {
        return [=](Form &dialog) {
            typeProxy(dialog, boxes);
            FormsFixture::click(dialog, option);
            FormsFixture::click(dialog, button);
        };
    };
    // An OK, then a cancelled visit that unloads the dialog: the page's OK
    // loads it afresh from the record.
    FtpFixture fx(1, kProxy);
    fx.ok(
        [](FileFTP &page) {
            FormsFixture::click(page, u"Command1"_s);
            FormsFixture::click(page, u"Command1"_s);
        },
        {visit(u"first u1 p1 1"_s, u"rbUser"_s, u"OKButton"_s), visit(u"second u2 p2 2"_s, u"rbOpen"_s, u"CancelButton"_s)});
    EXPECT_EQ(proxyOf(fx.w), "P---U first u1 p1 1");

    // An OK whose dialog is changed behind it: the page's OK reads the boxes, not the record.
    FtpFixture fx2(1, kProxy);
    fx2.ok(
        [&](FileFTP &page) {
            FormsFixture::click(page, u"Command1"_s);
            fx2.context->loaded<frmProxy>()->editPrxyPort->setText(u"9999"_s);
        },
        {[](Form &dialog) { FormsFixture::click(dialog, u"OKButton"_s); }});
    EXPECT_EQ(proxyOf(fx2.w), "P--S- proxy.example.org puser ppass 9999");
}

TEST(ProxyDialog, LoadFillsTheBoxesAndTheLastYesFlagWins)
{
    // Flags are applied rbOpen, rbLogin, rbSite, rbUser: of several, the last one shows.
    const std::pair<const char *, const char *> cases[] = {
        {"-----", "none"}, {"-O---", "rbOpen"}, {"-OL--", "rbLogin"}, {"--LS-", "rbSite"}, {"-OLSU", "rbUser"}};
    for (const auto &[flags, selected] : cases) {
        FtpFixture fx(0, (flags + " proxy.example.org someone pw 0"s).c_str());
        const frmProxy &dialog = fx.context->form<frmProxy>();
        // Loaded on its own, a port of 0 shows as it is; the password shows in clear.
        EXPECT_EQ(dialogOf(dialog), selected + " proxy.example.org someone pw 0"s);
        EXPECT_EQ(dialog.editPrxyPwd->echoMode(), QLineEdit::Normal);
    }

    // Code can clear the selected button, leaving none, and the group stays exclusive.
    FormsFixture fx;
    frmProxy &dialog = fx.context->form<frmProxy>();
    setOptionValue(dialog.rbSite, true);
    setOptionValue(dialog.rbOpen, false);
    EXPECT_EQ(dialogOf(dialog), "rbSite    0");
    setOptionValue(dialog.rbSite, false);
    EXPECT_EQ(dialogOf(dialog), "none    0");
    setOptionValue(dialog.rbUser, true);
    setOptionValue(dialog.rbOpen, true);
    EXPECT_EQ(dialogOf(dialog), "rbOpen    0");
}

TEST(ProxyDialog, OkStoresEveryBoxAndHidesButStaysLoaded)
{
    // A port that does not convert keeps the old 3128; the port is 32-bit here.
    const std::tuple<const char *, const char *, const char *> cases[] = {{"8080", "rbSite", "---S- host user secret 8080"},
                                                                          {"abc", "rbUser", "----U host user secret 3128"},
                                                                          {"", "", "----- host user secret 3128"},
                                                                          {"70000", "rbOpen", "-O--- host user secret 70000"},
                                                                          {"2.5", "rbLogin", "--L-- host user secret 2"}};
    for (const auto &[port, option, stored] : cases) {
        FtpFixture fx(0, "----- old old old 3128");
        frmProxy &dialog = fx.context->form<frmProxy>();
        dialog.show();
        typeProxy(dialog, u"host user secret "_s + QLatin1String(port));
        if (*option)
            FormsFixture::click(dialog, QString::fromLatin1(option));
        FormsFixture::click(dialog, u"OKButton"_s);
        EXPECT_EQ(proxyOf(fx.w), stored);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(fx.context->loaded<frmProxy>(), &dialog);
    }
}
