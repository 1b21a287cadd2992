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

// A new route's working record with the email fields given ("|" between), on the page.
struct EmailDriver : PageDriver
{
    explicit EmailDriver(const QString &email = {})
    {
        RuleSys::resetWorkingRoute(store());
        given(u"EmailTransfer=True"_s);
        if (!email.isEmpty())
            setFields(kEmail, email);
        page = &open<FileEmail>();
    }
    FileEmail *page;
};

// The modes, the check box's value and whether it is enabled, the ten boxes'
// texts, then the server boxes 3, 6, 8, then 7, 4, 5, 9 and their labels: "E"
// enabled and painted as enabled, "d" disabled and painted as the page.
QString state(EmailDriver &d)
{
    QString out = d.text(u"optMail(0)"_s) + d.text(u"optMail(1)"_s) + u' ' + d.text(u"Check1"_s) +
                  (d.enabled(u"Check1"_s) ? u"on "_s : u"off "_s);
    for (int i = 0; i < 10; ++i)
        out += d.text(arrayName(u"Text1"_s, i)) + u'|';
    const QImage image = d.page->grab().toImage();
    const QColor enabled = d.page->Text1[0]->palette().color(QPalette::Base),
                 disabled = d.page->palette().color(QPalette::Window);
    EXPECT_NE(enabled, disabled); // every state relies on telling the two apart
    for (const int i : {3, 6, 8, 7, 4, 5, 9}) {
        const QLineEdit *box = d.page->Text1[i];
        const QColor c =
            image.pixelColor(box->mapTo(d.page, QPoint(box->width() - 6, box->height() / 2)) * image.devicePixelRatio());
        out += (i == 7 ? u" "_s : QString()) + (box->isEnabled() && c == enabled     ? u'E'
                                                : !box->isEnabled() && c == disabled ? u'd'
                                                                                     : u'?');
    }
    out += u" "_s;
    for (const int i : {7, 4, 5, 9})
        out += d.page->Label6[i]->isEnabled() ? u'E' : u'd';
    return out;
}

} // namespace

TEST(EmailPage, OpensFromTheRouteAndSwitchesModes)
{
    const QString none = u"||||||||25|110|"_s;
    const Row rows[] = {
        {"a new route", {}, {}, u"10 0on "_s + none + u"EEE dddd dddd"_s},
        {"SMTP with POP3",
         u"ops@example.org|Files|Attached.|True|True|smtp.example.org|jo@example.org|jo|secret|pop.example.org|587|995"_s,
         {},
         u"10 1on ops@example.org|Files|Attached.|smtp.example.org|jo|secret|jo@example.org|pop.example.org|587|995|EEE EEEE EEEE"_s},
        // The server fields of a MAPI route are not shown; its ports are.
        {"MAPI", u"|||False|True|smtp.example.org||jo|||2525|0"_s, {}, u"01 0off ||||||||2525|110|ddd dddd EEEE"_s},
        // Only the platform's true value is SMTP or POP3 login; a port of 0 shows its default, a negative one as it is.
        {"SMTP flag 1 is MAPI", u"|||1|False|smtp.example.org|||||25|110"_s, {}, u"01 0off "_s + none + u"ddd dddd EEEE"_s},
        {"POP3 flag 1 is off", u"|||True|1||||||0|-7"_s, {}, u"10 0on ||||||||25|-7|EEE dddd dddd"_s},
        // The check box keeps its tick while MAPI greys everything; typed boxes survive the modes.
        {"ticked, MAPI, SMTP",
         {},
         u"Check1=1;Text1(3)=v3;Text1(9)=v9;optMail(1)=1;optMail(0)=1"_s,
         u"10 1on |||v3|||||25|v9|EEE EEEE EEEE"_s},
        {"ticked, cleared", {}, u"Check1=1;Check1=0"_s, u"10 0on "_s + none + u"EEE dddd dddd"_s},
        {"ticked, MAPI", {}, u"Check1=1;optMail(1)=1"_s, u"01 1off "_s + none + u"ddd dddd EEEE"_s},
        {"MAPI", {}, u"optMail(1)=1"_s, u"01 0off "_s + none + u"ddd dddd dddd"_s},
        {"MAPI route to SMTP, ticked", u"|||False|False||||||25|110"_s, u"optMail(0)=1;Check1=1"_s,
         u"10 1on "_s + none + u"EEE EEEE EEEE"_s}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EmailDriver d(r.given);
        d.act(r.steps);
        EXPECT_EQ(state(d), r.expected);
        EXPECT_EQ(d.page->Text1[5]->displayText(), QString(d.text(u"Text1(5)"_s).size(), u'*'));
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
    // Expected: the numbers of the problems reported.
    const Row rows[] = {
        {"MAPI, nothing", {}, u"optMail(1)=1"_s, u"0 2 3"_s},
        {"POP3, nothing", {}, u"Check1=1"_s, u"0 2 3 4 5 6 7 8 9"_s},
        {"no account", {}, u"Text1(0)=a@b;Text1(1)=s;Text1(2)=m;Text1(3)=smtp"_s, u"5 6"_s},
        // The recipient's only "@" comes first; the account has none.
        {"bad addresses", {}, u"Text1(0)=@example.org;Text1(1)=s;Text1(2)=m;Text1(3)=smtp;Text1(6)=jo.example.org"_s, u"1 6"_s},
        {"MAPI ignores the servers", {}, u"optMail(1)=1;Text1(0)=jo;Text1(1)=s;Text1(2)=m"_s, u"1"_s},
        {"POP3 without password", {}, ok + u"Text1(6)=jo@example.org;Check1=1;Text1(7)=pop;Text1(4)=jo"_s, u"9"_s},
        // One character before the "@" is enough, and blanks are not empty.
        {"blanks", {}, u"Text1(0)=j@;Text1(1)= ;Text1(2)= ;Text1(3)= ;Text1(6)=@@"_s, {}},
        {"SMTP needs no login", {}, ok + u"Text1(6)=jo@example.org"_s, {}}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EmailDriver d;
        d.act(r.steps + u";OKButton"_s);
        QString expected;
        for (const QString &n : r.expected.split(u' ', Qt::SkipEmptyParts))
            expected += u"\r\n%1"_s.arg(expected.count(u"\r\n") + 1) + QLatin1String(messages[n.toInt()]);
        if (!expected.isEmpty())
            d.expectMessage(expected, kProblemsTitle, MsgIcon::Information, MsgButtons::Ok);
        d.expectNoMoreMessages();
        EXPECT_EQ(d.showing(), !expected.isEmpty());
        EXPECT_EQ(d.routesSaved(), expected.isEmpty());
    }
}

TEST(EmailPage, PortBoxes)
{
    // Stored 1234 and 4321 before; OK fails on the empty recipient, so the page
    // stays open. Typed, then the SMTP box and port, the POP3 box and port.
    for (const auto &[typed, expected] : {std::pair(u""_s, u"25 25 110 110"_s),
                                          {u"abc"_s, u"25 25 110 110"_s},
                                          {u"0"_s, u"25 25 110 110"_s},
                                          {u"2.5"_s, u"2.5 2 2.5 2"_s},
                                          {u"3.5"_s, u"3.5 4 3.5 4"_s},
                                          {u"-7"_s, u"-7 -7 -7 -7"_s},
                                          {u"40000"_s, u"40000 1234 40000 4321"_s}}) {
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
    // Given the edit index and the route; expected the email fields after.
    const std::pair<qint16, Row> rows[] = {
        // Enter in the message box starts a line; OK takes the line breaks out. Login and password stay without POP3.
        {0,
         {"SMTP", u"|||True|False|||jo|secret||25|110"_s,
          u"Text1(0)= ops@example.org ;Text1(1)=Daily files;Text1(2)=Line one\rLine two\rend;Text1(3)=smtp.example.org;Text1(6)=jo@example.org;OKButton"_s,
          u" ops@example.org |Daily files|Line oneLine twoend|True|False|smtp.example.org|jo@example.org|jo|secret||25|110"_s}},
        // MAPI clears the server fields but stores the disabled port boxes.
        {0,
         {"MAPI", u"|||True|True|smtp.example.org|jo@example.org|jo|secret|pop.example.org|587|0"_s,
          u"optMail(1)=1;Text1(0)=ops@example.org;Text1(1)=s;Text1(2)=m;OKButton"_s,
          u"ops@example.org|s|m|False|False||||||587|110"_s}},
        // From the route editor nothing is saved; a lone CR from the route stays while the box is untouched.
        {2,
         {"from the editor", u"||one\rtwo|True|False||||||25|110"_s,
          u"optMail(1)=1;Text1(0)=ops@example.org;Text1(1)=s;OKButton"_s,
          u"ops@example.org|s|one\rtwo|False|False||||||25|110"_s}},
        // Cancel after a failed OK takes back nothing OK stored.
        {0,
         {"cancel after a failed OK",
          {},
          u"Text1(0)=ops@example.org;Text1(3)=smtp.example.org;OKButton;CancelButton"_s,
          u"ops@example.org|||True|False|smtp.example.org|||||25|110"_s}}};
    for (const auto &[editIndex, r] : rows) {
        SCOPED_TRACE(r.name);
        EmailDriver d(r.given);
        d.store().routeCount = d.store().editIndex = editIndex;
        d.act(r.steps);
        EXPECT_FALSE(d.showing());
        EXPECT_EQ(d.fields(kEmail), r.expected);
        const bool saved = editIndex == 0 && d.messages->shown.empty();
        EXPECT_EQ(d.routesSaved(), saved);
        EXPECT_EQ(d.store().routeCount, saved ? 1 : editIndex);
    }
}
