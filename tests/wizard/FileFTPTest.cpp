// The FTP page and its proxy dialog: what each shows from the record, what
// their OKs store, check and save, and how the proxy values travel between
// the record, the dialog and the page.

#include "wizard/FileFTP.h"
#include "store/RouteStore.h"
#include "support/PageDriver.h"
#include "wizard/frmProxy.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const QString kProxy = u"PrxyEnabled rbOpen rbLogin rbSite rbUser PrxyHost PrxyUser PrxyPass PrxyPort"_s;
const QString kSite = u"Text1(0)=ftp.example.org;Text1(1)=kel;"_s;

} // namespace

TEST(FtpPage, LoadShowsTheRecordAndCancelKeepsOnlyTheSafeUploadClick)
{
    // Expected: the boxes and checks as loaded, then safe upload, proxy and secure in the record after Cancel.
    const QString site = u"FTPServer=site;FTPLogon=login;FTPPassword=secret;RemoteFTPDirectory=/in;"_s;
    const Row rows[] = {
        {"proxy", site + u"PrxyEnabled=True;FTPPassive=True"_s, u"cbProxy=0;cbSecure=1;cbPassive=0;cbSafeUpload=1"_s,
         u"site login secret /in 21 1 0 1 0|True|True|False"_s},
        {"no proxy", site + u"FTPport=990;FTPSecure=True;SafeUpload=True"_s, u"cbProxy=1;cbSecure=0;cbPassive=1;cbSafeUpload=0"_s,
         u"site login secret /in 990 0 1 0 1|False|False|True"_s}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.given(r.given);
        FileFTP &page = d.open<FileFTP>();
        QStringList shown;
        for (const char *box :
             {"Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)", "editPort", "cbProxy", "cbSecure", "cbPassive", "cbSafeUpload"})
            shown << d.text(QLatin1String(box));
        EXPECT_EQ(page.Text1[2]->displayText(), u"******"_s);
        const bool proxy = d.field(u"PrxyEnabled"_s) == u"True";
        EXPECT_EQ(page.Command1->isVisible(), proxy);
        d.act(r.steps); // secure and passive neither move the button nor reach the record before OK
        EXPECT_EQ(page.Command1->isVisible(), !proxy);
        d.press(u"CancelButton"_s);
        EXPECT_EQ(shown.join(u' ') + u'|' + d.fields(u"SafeUpload PrxyEnabled FTPSecure"_s), r.expected);
        EXPECT_FALSE(d.routesSaved());
    }
}

TEST(FtpPage, MissingSiteOrUserIsReportedAndTheEntriesStoredAnyway)
{
    const QString site = u". You must specify a FTP Site Name or IP Address"_s;
    const QString user = u". You must specify a Login User Name for the FTP site"_s;
    const Row rows[] = {{"neither", {}, {}, u"\r\n1"_s + site + u"\r\n2"_s + user},
                        {"no user", {}, u"Text1(0)=ftp.example.org"_s, u"\r\n1"_s + user},
                        {"no site", {}, u"Text1(1)=kel"_s, u"\r\n1"_s + site},
                        {"blanks are names", {}, u"Text1(0)= ;Text1(1)=  "_s, {}}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.open<FileFTP>();
        d.act(r.steps + u";Text1(2)=pw;editPort=2121;OKButton"_s);
        // An empty directory is stored as one blank.
        EXPECT_EQ(d.fields(u"FTPPassword RemoteFTPDirectory FTPport"_s), u"pw| |2121"_s);
        EXPECT_EQ(d.routesSaved(), r.expected.isEmpty());
        EXPECT_EQ(d.showing(), !r.expected.isEmpty());
        if (!r.expected.isEmpty())
            d.expectMessage(r.expected, kProblemsTitle, MsgIcon::Information, MsgButtons::Ok);
        d.expectNoMoreMessages();
    }
}

TEST(FtpPage, PortIsConvertedAsA16BitNumber)
{
    // Not a 16-bit number: the old port stays. 3.5 tells rounding from cutting.
    for (const auto &[typed, stored] : {std::pair(u"0"_s, u"0"_s),
                                        {u"21"_s, u"21"_s},
                                        {u"40000"_s, u"990"_s},
                                        {u"abc"_s, u"990"_s},
                                        {u"-5"_s, u"-5"_s},
                                        {u"2.5"_s, u"2"_s},
                                        {u"3.5"_s, u"4"_s}}) {
        PageDriver d;
        d.given(u"FTPport=990"_s);
        d.store().editIndex = 1;
        d.open<FileFTP>();
        d.act(kSite + u"editPort="_s + typed + u";OKButton"_s);
        EXPECT_EQ(d.field(u"FTPport"_s), stored) << typed.toStdString();
    }
}

TEST(FtpPage, OkStoresTheProxyAndSavesOnlyANewRouteThatIsNotMonitored)
{
    // Given the edit index and the record; expected the proxy fields, the default flag, saved.
    const QString none = u"False|False|False|False|False||||0"_s, host = u"proxy.example.org|puser|ppass|"_s;
    const QString proxy = u"PrxyHost=proxy.example.org;PrxyUser=puser;PrxyPass=ppass;"_s;
    const std::pair<qint16, Row> rows[] = {
        {0, {"a new route is saved", {}, {}, none + u"|False|1"_s}},
        {2, {"an edited one is not", {}, {}, none + u"|False|0"_s}},
        // A monitoring route is only opened by the route editor, which saves it.
        {0, {"a monitoring one becomes the default", u"FTPMonitor=True"_s, {}, none + u"|True|0"_s}},
        {1,
         {"proxy off clears every field", proxy + u"PrxyEnabled=True;rbOpen=True;rbUser=True;PrxyPort=8080"_s, u"cbProxy=0"_s,
          none + u"|False|0"_s}},
        {1,
         {"ticked keeps the record's, beyond 16 bits", proxy + u"rbSite=True;PrxyPort=70000"_s, u"cbProxy=1"_s,
          u"True|False|False|True|False|"_s + host + u"70000|False|0"_s}},
        // The cancelled visit unloads the dialog; OK loads it afresh from the record.
        {1,
         {"the dialog's last OK counts", proxy + u"PrxyEnabled=True;rbSite=True;PrxyPort=8080"_s, u"Command1;Command1"_s,
          u"True|False|False|False|True|first|u1|p1|1|False|0"_s}}};
    for (const auto &[editIndex, r] : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.store().editIndex = editIndex;
        d.given(r.given);
        if (r.steps.contains(u"Command1")) {
            d.on(u"frmProxy"_s,
                 [&d] { d.act(u"editPrxyHost=first;editPrxyUsr=u1;editPrxyPwd=p1;editPrxyPort=1;rbUser=1;OKButton"_s); });
            d.on(u"frmProxy"_s, [&d] { d.act(u"editPrxyHost=second;editPrxyUsr=u2;rbOpen=1;CancelButton"_s); });
        }
        d.open<FileFTP>();
        d.act(kSite + r.steps + u";OKButton"_s);
        EXPECT_EQ(d.fields(kProxy + u" DefaultRoute"_s) + u'|' + QString::number(d.routesSaved()), r.expected);
        EXPECT_EQ(d.store().routeCount, int(d.routesSaved()));
        EXPECT_EQ(d.context->loaded<FileFTP>(), nullptr);
        EXPECT_EQ(d.context->loaded<frmProxy>(), nullptr);
    }
}

TEST(FtpPage, TheDialogOpensOnTheRecordAndItsOkSurvivesThePagesCancel)
{
    // Opened from the page, a port of 0 shows as 21.
    for (const auto &[port, shown] : {std::pair(u"0"_s, u"21"_s), {u"8080"_s, u"8080"_s}, {u"-1"_s, u"-1"_s}}) {
        PageDriver d;
        d.given(u"rbOpen=True;rbSite=True;PrxyHost=proxy;PrxyUser=puser;PrxyPass=ppass;PrxyPort="_s + port);
        d.on(u"frmProxy"_s, [&d, shown] {
            EXPECT_EQ(d.text(u"rbSite"_s) + d.text(u"rbOpen"_s) + d.text(u"editPrxyPort"_s), u"10"_s + shown);
            d.act(u"editPrxyHost=other;editPrxyPort=3128;rbLogin=1;OKButton"_s);
        });
        d.open<FileFTP>();
        d.act(u"cbProxy=1;Command1;CancelButton"_s);
        // The page's own boxes are not stored by its Cancel.
        EXPECT_EQ(d.fields(kProxy), u"False|False|True|False|False|other|puser|ppass|3128"_s);
    }
}

TEST(ProxyDialog, LoadSelectsTheLastYesFlagAndOkStoresEveryBox)
{
    // Flags apply rbOpen, rbLogin, rbSite, rbUser: the last yes shows. Given the flags; typed a port;
    // expected the options shown, then stored with the port: one that does not convert keeps 3128.
    const Row rows[] = {
        {"none", u""_s, u"8080"_s, u"0000|False|False|False|False|8080"_s},
        {"open", u"rbOpen=True"_s, u"abc"_s, u"1000|True|False|False|False|3128"_s},
        {"login over open", u"rbOpen=True;rbLogin=True"_s, u""_s, u"0100|False|True|False|False|3128"_s},
        {"site over login, 32 bits", u"rbLogin=True;rbSite=True"_s, u"70000"_s, u"0010|False|False|True|False|70000"_s},
        {"user over all", u"rbOpen=True;rbLogin=True;rbSite=True;rbUser=True"_s, u"2.5"_s, u"0001|False|False|False|True|2"_s}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PageDriver d;
        d.given(r.given + u";PrxyHost=old;PrxyPort=3128"_s);
        frmProxy &dialog = d.open<frmProxy>();
        const QString shown = d.text(u"rbOpen"_s) + d.text(u"rbLogin"_s) + d.text(u"rbSite"_s) + d.text(u"rbUser"_s);
        EXPECT_EQ(d.text(u"editPrxyHost"_s) + d.text(u"editPrxyPort"_s), u"old3128"_s);
        d.act(u"editPrxyHost=host;editPrxyPort="_s + r.steps + u";OKButton"_s);
        EXPECT_EQ(shown + u'|' + d.fields(u"rbOpen rbLogin rbSite rbUser PrxyPort"_s), r.expected);
        EXPECT_EQ(d.field(u"PrxyHost"_s), u"host"_s);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(d.context->loaded<frmProxy>(), &dialog); // stays loaded for the page to read
    }
}
