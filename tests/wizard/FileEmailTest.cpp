// The email page: how it opens from a route, how its two modes and the POP3
// switch set the server boxes, what OK stores, reports and saves.

#include "wizard/FileEmail.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "support/PageDriver.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const QString kEmail = u"AutoEmailName AutoEmailSubject AutoEmailMessage SMTP mailPOPLogin FTPServer AutoEmailAttach "
                       u"FTPLogon FTPPassword mailPOPServer mailSMTPService mailPOPService"_s;

// A new route's working record, then the email fields when given, and the page.
struct EmailDriver : PageDriver
{
    explicit EmailDriver(const QString &email = {})
    {
        RuleSys::resetWorkingRoute(store());
        setField(u"EmailTransfer"_s, u"True"_s);
        if (!email.isEmpty())
            setFields(kEmail, email);
        open<FileEmail>();
    }
    FileEmail &page() { return static_cast<FileEmail &>(*current()); }
    // The ten boxes' texts, "|" between.
    QString texts() const
    {
        QStringList out;
        for (int i = 0; i < 10; ++i)
            out << text(arrayName(u"Text1"_s, i));
        return out.join(u'|');
    }
};

// The mode, the check box's value and whether it is enabled, then the server
// boxes 3, 6, 8, then 7, 4, 5, 9 and their labels: "E" enabled and painted
// in the enabled colour, "d" disabled and painted as the page, "?" otherwise.
QString state(EmailDriver &d)
{
    FileEmail &page = d.page();
    const QImage image = page.grab().toImage();
    const QColor enabled = page.Text1[0]->palette().color(QPalette::Base), disabled = page.palette().color(QPalette::Window);
    QString out = d.text(u"optMail(0)"_s) + d.text(u"optMail(1)"_s) + u' ' + d.text(u"Check1"_s) +
                  (d.enabled(u"Check1"_s) ? u"on |"_s : u"off |"_s);
    for (const int i : {3, 6, 8, 7, 4, 5, 9}) {
        const QLineEdit *box = page.Text1[i];
        const QColor c =
            image.pixelColor(box->mapTo(&page, QPoint(box->width() - 6, box->height() / 2)) * image.devicePixelRatio());
        out += (i == 7 ? u" "_s : QString()) + (box->isEnabled() && c == enabled     ? u'E'
                                                : !box->isEnabled() && c == disabled ? u'd'
                                                                                     : u'?');
    }
    out += u" |"_s;
    for (const int i : {7, 4, 5, 9})
        out += page.Label6[i]->isEnabled() ? u'E' : u'd';
    return out;
}

} // namespace

TEST(EmailPage, OpensFromTheRouteAndSwitchesModes)
{
    const QString mapi = u"|||False|False||||||25|110"_s, none = u"||||||||25|110"_s;
    const struct
    {
        const char *row;
        QString route, presses, state, texts;
    } rows[] = {
        {"a new route", {}, {}, u"10 0on |EEE dddd |dddd"_s, none},
        {"SMTP with POP3",
         u"ops@example.org|Files|Attached.|True|True|smtp.example.org|jo@example.org|jo|secret|pop.example.org|587|995"_s,
         {},
         u"10 1on |EEE EEEE |EEEE"_s,
         u"ops@example.org|Files|Attached.|smtp.example.org|jo|secret|jo@example.org|pop.example.org|587|995"_s},
        // The server fields of a MAPI route are not shown; its ports are.
        {"MAPI", u"|||False|True|smtp.example.org||jo|||2525|0"_s, {}, u"01 0off |ddd dddd |EEEE"_s, u"||||||||2525|110"_s},
        // Only the platform's true value is SMTP or POP3 login; a port of 0 shows its default, a negative one as it is.
        {"SMTP flag 1 is MAPI", u"|||1|False|smtp.example.org|||||25|110"_s, {}, u"01 0off |ddd dddd |EEEE"_s, none},
        {"POP3 flag 1 is off", u"|||True|1||||||0|-7"_s, {}, u"10 0on |EEE dddd |dddd"_s, u"||||||||25|-7"_s},
        // The check box keeps its tick while MAPI greys everything.
        {"ticked, MAPI, SMTP", {}, u"Check1=1;optMail(1)=1;optMail(0)=1"_s, u"10 1on |EEE EEEE |EEEE"_s, none},
        {"ticked, cleared", {}, u"Check1=1;Check1=0"_s, u"10 0on |EEE dddd |dddd"_s, none},
        {"ticked, MAPI", {}, u"Check1=1;optMail(1)=1"_s, u"01 1off |ddd dddd |EEEE"_s, none},
        {"MAPI", {}, u"optMail(1)=1"_s, u"01 0off |ddd dddd |dddd"_s, none},
        {"MAPI route to SMTP, ticked", mapi, u"optMail(0)=1;Check1=1"_s, u"10 1on |EEE EEEE |EEEE"_s, none},
        {"typed boxes survive the modes",
         {},
         u"Check1=1;Text1(3)=v3;Text1(4)=v4;Text1(9)=v9;optMail(1)=1;optMail(0)=1"_s,
         u"10 1on |EEE EEEE |EEEE"_s,
         u"|||v3|v4||||25|v9"_s}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        EmailDriver d(r.route);
        d.act(r.presses);
        // Every state relies on telling the two colours apart.
        ASSERT_NE(d.page().Text1[0]->palette().color(QPalette::Base), d.page().palette().color(QPalette::Window));
        EXPECT_EQ(state(d), r.state);
        EXPECT_EQ(d.texts(), r.texts);
        EXPECT_EQ(d.page().Text1[5]->displayText(), QString(d.text(u"Text1(5)"_s).size(), u'*'));
    }
}

TEST(EmailPage, ProblemsAreNumberedAndKeepThePageOpen)
{
    const char *const messages[] = {
        ". You must specify an email account to send to.",
        ". You must specify a valid email address",
        ". You must specify an email subject line.",
        ". You must specify an email message.",
        ". You must specify an SMTP Server name",
        ". You must specify a valid SMTP account for this server.",
        ". You must specify a valid email address for the SMTP server",
        ". You must specify a valid Pop Server Name",
        ". You must specify a valid account for this POP Server",
        ". You must specify a valid Password for this POP server. Blank is not allowed",
    };
    const QString ok = u"Text1(0)=jo@example.org;Text1(1)=s;Text1(2)=m;Text1(3)=smtp;"_s;
    const struct
    {
        const char *row;
        QString entries;
        std::vector<int> problems;
    } rows[] = {{"MAPI, nothing", u"optMail(1)=1"_s, {0, 2, 3}},
                {"POP3, nothing", u"Check1=1"_s, {0, 2, 3, 4, 5, 6, 7, 8, 9}},
                {"no account", u"Text1(0)=a@b;Text1(1)=s;Text1(2)=m;Text1(3)=smtp"_s, {5, 6}},
                // The recipient's only "@" comes first; the account has none.
                {"bad addresses", u"Text1(0)=@example.org;Text1(1)=s;Text1(2)=m;Text1(3)=smtp;Text1(6)=jo.example.org"_s, {1, 6}},
                {"MAPI ignores the servers", u"optMail(1)=1;Text1(0)=jo;Text1(1)=s;Text1(2)=m"_s, {1}},
                {"POP3 without password", ok + u"Text1(6)=jo@example.org;Check1=1;Text1(7)=pop;Text1(4)=jo"_s, {9}},
                // One character before the "@" is enough, and blanks are not empty.
                {"blanks", u"Text1(0)=j@;Text1(1)= ;Text1(2)= ;Text1(3)= ;Text1(6)=@@"_s, {}},
                {"SMTP needs no login", ok + u"Text1(6)=jo@example.org"_s, {}}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        EmailDriver d;
        d.act(r.entries + u";OKButton"_s);
        QString expected;
        for (std::size_t n = 0; n < r.problems.size(); ++n)
            expected += u"\r\n%1"_s.arg(n + 1) + QLatin1String(messages[r.problems[n]]);
        if (!expected.isEmpty())
            d.expectMessage(expected, FileEmail::kProblemsTitle, MsgIcon::Information, MsgButtons::Ok);
        d.expectNoMoreMessages();
        EXPECT_EQ(d.showing(), !expected.isEmpty());
        EXPECT_EQ(d.routesSaved(), expected.isEmpty());
    }
}

TEST(EmailPage, PortBoxes)
{
    // Stored 1234 and 4321 before; OK fails on the empty recipient, so the page
    // stays open. Typed, then the SMTP box and port, the POP3 box and port.
    const std::pair<QString, QString> rows[] = {{u""_s, u"25 25 110 110"_s},
                                                {u"abc"_s, u"25 25 110 110"_s},
                                                {u"0"_s, u"25 25 110 110"_s},
                                                {u"2.5"_s, u"2.5 2 2.5 2"_s},
                                                {u"3.5"_s, u"3.5 4 3.5 4"_s},
                                                {u"-7"_s, u"-7 -7 -7 -7"_s},
                                                {u"40000"_s, u"40000 1234 40000 4321"_s}};
    for (const auto &[typed, expected] : rows) {
        EmailDriver d(u"|||True|True||||||1234|4321"_s);
        d.act(u"Text1(8)=%1;Text1(9)=%1;OKButton"_s.arg(typed));
        EXPECT_EQ(d.text(u"Text1(8)"_s) + u' ' + d.field(u"mailSMTPService"_s) + u' ' + d.text(u"Text1(9)"_s) + u' ' +
                      d.field(u"mailPOPService"_s),
                  expected)
            << typed.toStdString();
    }
}

TEST(EmailPage, WhatOkAndCancelStoreAndSave)
{
    const struct
    {
        const char *row;
        qint16 editIndex;
        QString before, entries, after;
    } rows[] = {
        // Enter in the message box starts a line; OK takes the line breaks out. Login and password stay without POP3.
        {"SMTP", 0, u"|||True|False|||jo|secret||25|110"_s,
         u"Text1(0)= ops@example.org ;Text1(1)=Daily files;Text1(2)=Line one\rLine two\rend;Text1(3)=smtp.example.org;"
         u"Text1(6)=jo@example.org;OKButton"_s,
         u" ops@example.org |Daily files|Line oneLine twoend|True|False|smtp.example.org|jo@example.org|jo|secret||25|110"_s},
        // MAPI clears the server fields but stores the disabled port boxes.
        {"MAPI", 0, u"|||True|True|smtp.example.org|jo@example.org|jo|secret|pop.example.org|587|0"_s,
         u"optMail(1)=1;Text1(0)=ops@example.org;Text1(1)=s;Text1(2)=m;OKButton"_s,
         u"ops@example.org|s|m|False|False||||||587|110"_s},
        // From the route editor nothing is saved; a lone CR from the route stays while the box is untouched.
        {"from the editor", 2, u"||one\rtwo|True|False||||||25|110"_s,
         u"optMail(1)=1;Text1(0)=ops@example.org;Text1(1)=s;OKButton"_s, u"ops@example.org|s|one\rtwo|False|False||||||25|110"_s},
        // Cancel after a failed OK takes back nothing OK stored.
        {"cancel after a failed OK",
         0,
         {},
         u"Text1(0)=ops@example.org;Text1(3)=smtp.example.org;OKButton;CancelButton"_s,
         u"ops@example.org|||True|False|smtp.example.org|||||25|110"_s}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        EmailDriver d(r.before);
        d.store().routeCount = d.store().editIndex = r.editIndex;
        d.act(r.entries);
        EXPECT_FALSE(d.showing());
        EXPECT_EQ(d.fields(kEmail), r.after);
        const bool saved = r.editIndex == 0 && d.messages->shown.empty();
        EXPECT_EQ(d.routesSaved(), saved);
        EXPECT_EQ(d.store().routeCount, saved ? 1 : r.editIndex);
    }
}
