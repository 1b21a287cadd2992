// The FTP page and its proxy dialog: what each shows from the record, what
// their OKs store, check and save, and how the proxy values travel between
// the record, the dialog and the page.

#include "wizard/FileFTP.h"
#include "store/RouteStore.h"
#include "support/PageDriver.h"
#include "wizard/frmProxy.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const QString kProxy = u"PrxyEnabled rbOpen rbLogin rbSite rbUser PrxyHost PrxyUser PrxyPass PrxyPort"_s;
const QString kSiteProxy = u"True|False|False|True|False|proxy.example.org|puser|ppass|8080"_s;
const QString kSite = u"Text1(0)=ftp.example.org;Text1(1)=kel;"_s;

} // namespace

TEST(FtpPage, LoadShowsTheRecordAndCancelKeepsOnlyTheSafeUploadClick)
{
    for (const bool proxy : {true, false}) {
        PageDriver d;
        d.setFields(u"FTPServer FTPLogon FTPPassword RemoteFTPDirectory FTPport"_s,
                    u"site|login|secret|/in|%1"_s.arg(proxy ? 0 : 990));
        d.setFields(u"PrxyEnabled FTPPassive FTPSecure SafeUpload"_s,
                    proxy ? u"True|True|False|False"_s : u"False|False|True|True"_s);
        FileFTP &page = d.open<FileFTP>();
        QStringList shown;
        for (const char *box :
             {"Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)", "editPort", "cbProxy", "cbSecure", "cbPassive", "cbSafeUpload"})
            shown << d.text(QLatin1String(box));
        EXPECT_EQ(shown.join(u' '), proxy ? u"site login secret /in 21 1 0 1 0"_s : u"site login secret /in 990 0 1 0 1"_s);
        EXPECT_EQ(page.Text1[2]->displayText(), u"******"_s);
        EXPECT_EQ(page.Command1->isVisible(), proxy);
        d.fill(u"cbProxy"_s, proxy ? u"0"_s : u"1"_s);
        EXPECT_EQ(page.Command1->isVisible(), !proxy);
        // Secure and passive neither move the button nor reach the record before OK.
        d.act(proxy ? u"cbSecure=1;cbPassive=0;cbSafeUpload=1;"_s
                    : u"cbSecure=0;cbPassive=1;cbSafeUpload=0;"_s);
        EXPECT_EQ(page.Command1->isVisible(), !proxy);
        d.press(u"CancelButton"_s);
        EXPECT_EQ(d.fields(u"SafeUpload PrxyEnabled FTPSecure"_s), proxy ? u"True|True|False"_s : u"False|False|True"_s);
        EXPECT_FALSE(d.routesSaved());
    }
}

TEST(FtpPage, MissingSiteOrUserIsReportedAndTheEntriesStoredAnyway)
{
    const QString site = u". You must specify a FTP Site Name or IP Address"_s;
    const QString user = u". You must specify a Login User Name for the FTP site"_s;
    const struct
    {
        const char *row;
        QString site, user, problems;
    } rows[] = {{"neither", u""_s, u""_s, u"\r\n1"_s + site + u"\r\n2"_s + user},
                {"no user", u"ftp.example.org"_s, u""_s, u"\r\n1"_s + user},
                {"no site", u""_s, u"kel"_s, u"\r\n1"_s + site},
                {"blanks are names", u" "_s, u"  "_s, {}}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        PageDriver d;
        d.open<FileFTP>();
        d.act(u"Text1(0)=%1;Text1(1)=%2;Text1(2)=pw;editPort=2121;OKButton"_s.arg(r.site, r.user));
        // An empty directory is stored as one blank.
        EXPECT_EQ(d.fields(u"FTPServer FTPPassword RemoteFTPDirectory FTPport"_s), r.site + u"|pw| |2121"_s);
        EXPECT_EQ(d.routesSaved(), r.problems.isEmpty());
        EXPECT_EQ(d.showing(), !r.problems.isEmpty());
        if (!r.problems.isEmpty())
            d.expectMessage(r.problems, FileFTP::kProblemsTitle, MsgIcon::Information, MsgButtons::Ok);
        d.expectNoMoreMessages();
    }
}

TEST(FtpPage, PortIsConvertedAsA16BitNumber)
{
    // Not a 16-bit number: the old port stays. 3.5 tells rounding from cutting.
    const std::pair<const char *, const char *> rows[] = {{"0", "0"},   {"21", "21"}, {"40000", "990"}, {"abc", "990"},
                                                          {"-5", "-5"}, {"2.5", "2"}, {"3.5", "4"}};
    for (const auto &[typed, stored] : rows) {
        PageDriver d;
        d.setFields(u"FTPport"_s, u"990"_s);
        d.store().editIndex = 1;
        d.open<FileFTP>();
        d.act(kSite + u"editPort="_s + QLatin1String(typed) + u";OKButton"_s);
        EXPECT_EQ(d.field(u"FTPport"_s), QLatin1String(stored)) << typed;
    }
}

TEST(FtpPage, OkStoresTheProxyAndSavesOnlyANewRouteThatIsNotMonitored)
{
    const QString none = u"False|False|False|False|False||||0"_s;
    const struct
    {
        const char *row;
        qint16 editIndex;
        QString monitor, before, page;
        std::vector<QString> dialog;
        QString after, defaultRoute;
        bool saved;
    } rows[] = {{"a new route is saved", 0, u"False"_s, none, {}, {}, none, u"False"_s, true},
                {"an edited one is not", 2, u"False"_s, none, {}, {}, none, u"False"_s, false},
                // A monitoring route is only opened by the route editor, which saves it.
                {"a monitoring one becomes the default", 0, u"True"_s, none, {}, {}, none, u"True"_s, false},
                {"proxy off clears every field",
                 1,
                 u"False"_s,
                 u"True|True|True|True|True|proxy.example.org|puser|ppass|8080"_s,
                 u"cbProxy=0"_s,
                 {},
                 none,
                 u"False"_s,
                 false},
                {"proxy ticked keeps the record's, beyond 16 bits",
                 1,
                 u"False"_s,
                 u"False|False|False|True|False|proxy.example.org|puser|ppass|70000"_s,
                 u"cbProxy=1"_s,
                 {},
                 u"True|False|False|True|False|proxy.example.org|puser|ppass|70000"_s,
                 u"False"_s,
                 false},
                // The cancelled visit unloads the dialog; OK loads it afresh from the record.
                {"the dialog's last OK counts",
                 1,
                 u"False"_s,
                 kSiteProxy,
                 u"Command1;Command1"_s,
                 {u"editPrxyHost=first;editPrxyUsr=u1;editPrxyPwd=p1;editPrxyPort=1;rbUser=1;OKButton"_s,
                  u"editPrxyHost=second;editPrxyUsr=u2;rbOpen=1;CancelButton"_s},
                 u"True|False|False|False|True|first|u1|p1|1"_s,
                 u"False"_s,
                 false}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        PageDriver d;
        d.store().editIndex = r.editIndex;
        d.setFields(kProxy + u" FTPMonitor DefaultRoute"_s, r.before + u'|' + r.monitor + u"|False"_s);
        for (const QString &visit : r.dialog)
            d.on(u"frmProxy"_s, [&d, visit] { d.act(visit); });
        d.open<FileFTP>();
        d.act(kSite + r.page + u";OKButton"_s);
        EXPECT_EQ(d.fields(kProxy), r.after);
        EXPECT_EQ(d.fields(u"FTPServer DefaultRoute"_s), u"ftp.example.org|"_s + r.defaultRoute);
        EXPECT_EQ(d.store().routeCount, r.saved ? 1 : 0);
        EXPECT_EQ(d.routesSaved(), r.saved);
        FormsFixture::settle();
        EXPECT_EQ(d.context->loaded<FileFTP>(), nullptr);
        EXPECT_EQ(d.context->loaded<frmProxy>(), nullptr);
    }
}

TEST(FtpPage, TheDialogOpensOnTheRecordAndItsOkSurvivesThePagesCancel)
{
    // Opened from the page, a port of 0 shows as 21.
    for (const auto &[port, shown] : {std::pair(u"0"_s, u"21"_s), {u"8080"_s, u"8080"_s}, {u"-1"_s, u"-1"_s}}) {
        PageDriver d;
        d.setFields(kProxy, u"False|True|False|True|False|proxy|puser|ppass|"_s + port);
        d.on(u"frmProxy"_s, [&d, shown] {
            EXPECT_EQ(d.text(u"rbSite"_s) + d.text(u"rbOpen"_s) + d.text(u"editPrxyPort"_s), u"10"_s + shown);
            d.act(u"editPrxyHost=other;editPrxyPort=3128;rbLogin=1;OKButton"_s);
        });
        d.open<FileFTP>();
        d.act(u"cbProxy=1;Command1;"_s);
        // The page's own boxes are not stored by its Cancel.
        EXPECT_EQ(d.fields(kProxy), u"False|False|True|False|False|other|puser|ppass|3128"_s);
    }
}

TEST(ProxyDialog, LoadSelectsTheLastYesFlagAndOkStoresEveryBox)
{
    // Flags are applied rbOpen, rbLogin, rbSite, rbUser: of several, the last one shows.
    // A port that does not convert keeps the old 3128; the port is 32-bit here.
    const struct
    {
        const char *flags, *selected, *typed, *after;
    } rows[] = {{"False|False|False|False", "", "8080", "False|False|False|False|8080"},
                {"True|False|False|False", "rbOpen", "abc", "True|False|False|False|3128"},
                {"True|True|False|False", "rbLogin", "", "False|True|False|False|3128"},
                {"False|True|True|False", "rbSite", "70000", "False|False|True|False|70000"},
                {"True|True|True|True", "rbUser", "2.5", "False|False|False|True|2"}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.flags);
        PageDriver d;
        d.setFields(u"rbOpen rbLogin rbSite rbUser PrxyHost PrxyPort"_s, QLatin1String(r.flags) + u"|old|3128"_s);
        frmProxy &dialog = d.open<frmProxy>();
        QString selected;
        for (const QRadioButton *b : {dialog.rbOpen, dialog.rbLogin, dialog.rbSite, dialog.rbUser})
            selected += b->isChecked() ? b->objectName() : QString();
        EXPECT_EQ(selected, QLatin1String(r.selected));
        EXPECT_EQ(d.text(u"editPrxyHost"_s) + d.text(u"editPrxyPort"_s), u"old3128"_s);
        d.act(u"editPrxyHost=host;editPrxyPort=%1;OKButton"_s.arg(QLatin1String(r.typed)));
        EXPECT_EQ(d.fields(u"rbOpen rbLogin rbSite rbUser PrxyPort"_s), QLatin1String(r.after));
        EXPECT_EQ(d.field(u"PrxyHost"_s), u"host"_s);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(d.context->loaded<frmProxy>(), &dialog); // stays loaded for the page to read
    }
}
