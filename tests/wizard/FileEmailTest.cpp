// The email page through the scripted seams: how it opens from a route, how
// its two modes and the POP3 switch set the server boxes, what OK stores and
// reports, and how it looks and moves.

#include "wizard/FileEmail.h"
#include "store/RuleSys.h"
#include "support/FormsTestSupport.h"
#include "wizard/ExplainPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace std::string_literals;

namespace molvik::test {
namespace {

// The record's email texts: recipient, subject, message, SMTP server, account
// address, login, password, POP3 server.
std::array<QString *, 8> emailTexts(RouteDef &r)
{
    return {&r.AutoEmailName,   &r.AutoEmailSubject, &r.AutoEmailMessage, &r.FTPServer,
            &r.AutoEmailAttach, &r.FTPLogon,         &r.FTPPassword,      &r.mailPOPServer};
}

// The record's email fields in one line, "|" between: the texts, with SMTP and
// POP3 login as "S" and "P" ("-" for No, a digit for another value) after the
// message, then the SMTP and POP3 ports. setEmail reads the same form.
std::string emailOf(RouteDef r)
{
    const auto flag = [](YesNo v, char yes) { return v == Yes ? yes : v == No ? '-' : char('0' + v); };
    QStringList f;
    for (const QString *text : emailTexts(r))
        f << *text;
    f.insert(3, QString::fromStdString({flag(r.SMTP, 'S'), flag(r.mailPOPLogin, 'P')}));
    f << QString::number(r.mailSMTPService) << QString::number(r.mailPOPService);
    return f.join(u'|').toStdString();
}

void setEmail(RouteDef &r, const char *line)
{
    QStringList f = QString::fromUtf8(line).split(u'|');
    ASSERT_EQ(f.size(), 11) << line;
    const auto flag = [](QChar c) { return c == u'-' ? No : c.isDigit() ? YesNo(c.digitValue()) : Yes; };
    r.SMTP = flag(f[3][0]);
    r.mailPOPLogin = flag(f.takeAt(3)[1]);
    for (QString *text : emailTexts(r))
        *text = f.takeFirst();
    r.mailSMTPService = qint16(f[0].toInt());
    r.mailPOPService = qint16(f[1].toInt());
}

// A new route's working record, then the route's email fields when given.
struct EmailFixture : FormsFixture
{
    explicit EmailFixture(const char *email = nullptr)
    {
        RuleSys::resetWorkingRoute(store());
        route().EmailTransfer = Yes;
        if (email)
            setEmail(route(), email);
    }

    RouteDef &route() { return store().workingRoute; }

    FileEmail &open()
    {
        FileEmail &page = context->form<FileEmail>();
        page.show();
        return page;
    }

    bool routeFileExists() const { return QFile::exists(s.path(u"Routes.xml"_s)); }
};

// Clicks a check box or option near its left edge, on its indicator.
void press(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// The page as an operator sees it, in one line: the selected mode, the check
// box's value and whether it is enabled, then each server box (in the order
// 3, 6, 8, 7, 4, 5, 9) and each POP3 label (7, 4, 5, 9). A box is "E" when
// enabled and painted in the enabled colour, "d" when disabled and painted in
// the page's background, "?" otherwise; a label is "E" or "d".
std::string state(FileEmail &page)
{
    const QImage image = page.grab().toImage();
    const QColor enabled = page.Text1[0]->palette().color(QPalette::Base);
    const QColor disabled = page.palette().color(QPalette::Window);
    QString out = page.optMail[0]->isChecked() && !page.optMail[1]->isChecked()   ? u"SMTP"_s
                  : page.optMail[1]->isChecked() && !page.optMail[0]->isChecked() ? u"MAPI"_s
                                                                                  : u"mode?"_s;
    out += u" %1 %2 |"_s.arg(checkValue(page.Check1)).arg(page.Check1->isEnabled() ? u"on" : u"off");
    for (const int i : {3, 6, 8, 7, 4, 5, 9}) {
        const QLineEdit *box = page.Text1[i];
        // What the style paints, inside the box past its text.
        const QPoint inside = box->mapTo(&page, QPoint(box->width() - 6, box->height() / 2));
        const QColor c = image.pixelColor(inside * image.devicePixelRatio());
        out += i == 7 ? u" "_s : QString();
        out += box->isEnabled() && c == enabled ? u'E' : !box->isEnabled() && c == disabled ? u'd' : u'?';
    }
    out += u" |"_s;
    for (const int i : {7, 4, 5, 9})
        out += page.Label6[i]->isEnabled() ? u'E' : u'd';
    return out.toStdString();
}

// The ten boxes' texts, Text1(0) to Text1(9), "|" between.
std::string texts(const FileEmail &page)
{
    QStringList out;
    for (int i = 0; i < 10; ++i)
        out << (i == 2 ? page.Text1Message->toPlainText() : page.Text1[i]->text());
    return out.join(u'|').toStdString();
}

TEST(FileEmail, OpensFromTheRouteAndSwitchesModes)
{
    // The route (none: a new one), then presses on the check box (T) and the
    // options (M, S), then the page's state and texts.
    const char *const smtp = nullptr, *const mapi = "|||--||||||25|110", *const none = "||||||||25|110";
    const std::tuple<const char *, const char *, const char *, const char *> rows[] = {
        {smtp, "", "SMTP 0 on |EEE dddd |dddd", none},
        {"ops@example.org|Files|Attached.|SP|smtp.example.org|jo@example.org|jo|secret|pop.example.org|587|995", "",
         "SMTP 1 on |EEE EEEE |EEEE",
         "ops@example.org|Files|Attached.|smtp.example.org|jo|secret|jo@example.org|pop.example.org|587|995"},
        // The server fields of a MAPI route are not shown; its ports are.
        {"|||-P|smtp.example.org||jo|||2525|0", "", "MAPI 0 off |ddd dddd |EEEE", "||||||||2525|110"},
        // Only the platform's true value is SMTP, or POP3 login; a port of 0
        // shows its default, a negative one as it is.
        {"|||1-|smtp.example.org|||||25|110", "", "MAPI 0 off |ddd dddd |EEEE", none},
        {"|||S1||||||0|-7", "", "SMTP 0 on |EEE dddd |dddd", "||||||||25|-7"},
        // The check box keeps its tick while MAPI greys everything.
        {smtp, "TMS", "SMTP 1 on |EEE EEEE |EEEE", none},
        {smtp, "TTMS", "SMTP 0 on |EEE dddd |dddd", none},
        {smtp, "TM", "MAPI 1 off |ddd dddd |EEEE", none},
        {smtp, "M", "MAPI 0 off |ddd dddd |dddd", none},
        {mapi, "S", "SMTP 0 on |EEE dddd |dddd", none},
        {mapi, "ST", "SMTP 1 on |EEE EEEE |EEEE", none}};
    for (const auto &row : rows) {
        const auto &[email, presses, shownState, shownTexts] = row;
        SCOPED_TRACE(std::string(email ? email : "a new route") + ", " + presses);
        EmailFixture fx(email);
        FileEmail &page = fx.open();
        for (const char *p = presses; *p; ++p)
            press(*p == 'T' ? static_cast<QAbstractButton *>(page.Check1) : page.optMail[*p == 'M' ? 1 : 0]);
        // Every state relies on telling the two colours apart.
        ASSERT_NE(page.Text1[0]->palette().color(QPalette::Base), page.palette().color(QPalette::Window));
        EXPECT_EQ(state(page), shownState);
        EXPECT_EQ(texts(page), shownTexts);
        EXPECT_TRUE(page.Text1[0]->isEnabled() && page.Text1[1]->isEnabled() && page.Text1Message->isEnabled());
        EXPECT_EQ(page.Text1[5]->displayText(), QString(page.Text1[5]->text().size(), u'*'));
        // Kept for a look when asked for: both modes, with and without POP3.
        if (const QString folder = qEnvironmentVariable("MOLVIK_SCREENSHOTS"); !folder.isEmpty())
            page.grab().save(u"%1/FileEmail-%2.png"_s.arg(folder).arg(&row - rows));
    }

    // Switching modes greys the server boxes but keeps what was typed in them.
    EmailFixture fx;
    FileEmail &page = fx.open();
    press(page.Check1);
    for (const int i : {3, 4, 5, 6, 7, 8, 9})
        FormsFixture::type(page, arrayName(u"Text1"_s, i), u"v%1"_s.arg(i));
    press(page.optMail[1]);
    press(page.optMail[0]);
    EXPECT_EQ(texts(page), "|||v3|v4|v5|v6|v7|v8|v9");
}

// What the operator enters before OK; an empty text leaves its box alone.
struct Entries
{
    enum Mode { Smtp, Pop3, Mapi } mode = Smtp;
    QString recipient{}, subject{}, message{}, server{}, account{}, popServer{}, login{}, password{};
};

void fillAndAccept(FileEmail &page, const Entries &e)
{
    if (e.mode == Entries::Mapi)
        press(page.optMail[1]);
    if (e.mode == Entries::Pop3)
        press(page.Check1);
    const std::pair<int, QString> boxes[] = {{0, e.recipient}, {1, e.subject}, {3, e.server},  {6, e.account},
                                             {7, e.popServer}, {4, e.login},   {5, e.password}};
    for (const auto &[i, text] : boxes)
        if (!text.isEmpty())
            FormsFixture::type(page, arrayName(u"Text1"_s, i), text);
    // Typed, so a CR is the Enter key.
    QTest::keyClicks(page.Text1Message, e.message);
    FormsFixture::click(page, u"OKButton"_s);
}

TEST(FileEmail, ProblemsTexts)
{
    enum Problem { To, ToAddress, Subject, Message, Server, Account, AccountAddress, PopServer, PopAccount, PopPassword };
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
    const QString a = u"jo@example.org"_s, s = u"s"_s, m = u"m"_s, smtp = u"smtp"_s;
    const std::pair<Entries, std::vector<Problem>> rows[] = {
        {{Entries::Mapi}, {To, Subject, Message}},
        {{Entries::Pop3}, {To, Subject, Message, Server, Account, AccountAddress, PopServer, PopAccount, PopPassword}},
        {{Entries::Smtp, u"a@b"_s, s, m, smtp}, {Account, AccountAddress}},
        // The recipient's only "@" comes first; the account has none.
        {{Entries::Smtp, u"@example.org"_s, s, m, smtp, u"jo.example.org"_s}, {ToAddress, AccountAddress}},
        // MAPI ignores the server boxes.
        {{Entries::Mapi, u"jo"_s, s, m}, {ToAddress}},
        {{Entries::Pop3, a, s, m, smtp, a, u"pop"_s, u"jo"_s}, {PopPassword}},
        // One character before the "@" is enough, and blanks are not empty.
        {{Entries::Smtp, u"j@"_s, u" "_s, u" "_s, u" "_s, u"@@"_s}, {}},
        // SMTP without POP3 needs no login.
        {{Entries::Smtp, a, s, m, smtp, a}, {}},
    };
    for (const auto &[entries, problems] : rows) {
        QString expected;
        for (size_t n = 0; n < problems.size(); ++n)
            expected += u"\r\n%1"_s.arg(n + 1) + QLatin1String(messages[problems[n]]);
        SCOPED_TRACE(expected.toStdString());
        EmailFixture fx;
        FileEmail &page = fx.open();
        fillAndAccept(page, entries);
        EXPECT_EQ(page.isUnloaded(), problems.empty());
        EXPECT_EQ(fx.store().routeCount, problems.empty() ? 1 : 0);
        EXPECT_EQ(fx.routeFileExists(), problems.empty());
        ASSERT_EQ(fx.messages->shown.size(), problems.empty() ? 0u : 1u);
        if (problems.empty())
            continue;
        const MessageRequest &box = fx.messages->shown.front();
        EXPECT_EQ(std::tuple(box.text.toStdString(), box.title.toStdString(), box.icon, box.buttons),
                  std::tuple(expected.toStdString(), "Please attend to the following problems before saving this route"s,
                             MsgIcon::Information, MsgButtons::Ok));
        EXPECT_TRUE(page.isVisible());
    }
}

TEST(FileEmail, PortBoxes)
{
    // The stored ports before OK are 1234 (SMTP) and 4321 (POP3); OK fails on
    // the empty recipient, so the page stays open with its boxes to read.
    // Each row: typed, then the SMTP box and port, the POP3 box and port.
    const std::pair<const char *, const char *> rows[] = {{"", "25 25 110 110"},
                                                          {"abc", "25 25 110 110"},
                                                          {"0", "25 25 110 110"},
                                                          {"2.5", "2.5 2 2.5 2"},
                                                          {"3.5", "3.5 4 3.5 4"},
                                                          {"-7", "-7 -7 -7 -7"},
                                                          {"40000", "40000 1234 40000 4321"}};
    for (const auto &[typed, expected] : rows) {
        SCOPED_TRACE(typed);
        EmailFixture fx("|||SP||||||1234|4321");
        FileEmail &page = fx.open();
        FormsFixture::type(page, u"Text1(8)"_s, QString::fromLatin1(typed));
        FormsFixture::type(page, u"Text1(9)"_s, QString::fromLatin1(typed));
        FormsFixture::click(page, u"OKButton"_s);
        ASSERT_FALSE(page.isUnloaded());
        EXPECT_EQ(u"%1 %2 %3 %4"_s.arg(page.Text1[8]->text())
                      .arg(fx.route().mailSMTPService)
                      .arg(page.Text1[9]->text())
                      .arg(fx.route().mailPOPService)
                      .toStdString(),
                  expected);
    }
}

TEST(FileEmail, WhatOkAndCancelStoreAndSave)
{
    // The edit index, the record before, what is entered, whether OK fails and
    // Cancel follows, the record after.
    const std::tuple<qint16, const char *, Entries, bool, const char *> rows[] = {
        // Enter in the message box starts a line rather than pressing OK; OK
        // takes the line breaks out. Login and password stay without POP3.
        {0,
         "|||S-|||jo|secret||25|110",
         {Entries::Smtp, u" ops@example.org "_s, u"Daily files"_s, u"Line one\rLine two\rend"_s, u"smtp.example.org"_s,
          u"jo@example.org"_s},
         false,
         " ops@example.org |Daily files|Line oneLine twoend|S-|smtp.example.org|jo@example.org|jo|secret||25|110"},
        // MAPI clears the server fields but stores the disabled port boxes.
        {0,
         "|||SP|smtp.example.org|jo@example.org|jo|secret|pop.example.org|587|0",
         {Entries::Mapi, u"ops@example.org"_s, u"s"_s, u"m"_s},
         false,
         "ops@example.org|s|m|--||||||587|110"},
        // From the route editor nothing is saved; a lone CR from the route stays while the box is untouched.
        {2,
         "||one\rtwo|S-||||||25|110",
         {Entries::Mapi, u"ops@example.org"_s, u"s"_s},
         false,
         "ops@example.org|s|one\rtwo|--||||||25|110"},
        // Cancel after a failed OK takes back nothing OK stored.
        {0,
         nullptr,
         {Entries::Smtp, u"ops@example.org"_s, {}, {}, u"smtp.example.org"_s},
         true,
         "ops@example.org|||S-|smtp.example.org|||||25|110"}};
    for (const auto &[editIndex, before, entries, cancel, after] : rows) {
        SCOPED_TRACE(after);
        EmailFixture fx(before);
        fx.store().routeCount = fx.store().editIndex = editIndex;
        FileEmail &page = fx.open();
        fillAndAccept(page, entries);
        EXPECT_EQ(fx.messages->shown.size(), cancel ? 1u : 0u);
        if (cancel)
            FormsFixture::click(page, u"CancelButton"_s);
        EXPECT_TRUE(page.isUnloaded());
        EXPECT_EQ(emailOf(fx.route()), after);
        const bool saved = editIndex == 0 && !cancel;
        EXPECT_EQ(fx.store().routeCount, saved ? 1 : editIndex);
        EXPECT_EQ(fx.routeFileExists(), saved);
        EXPECT_EQ(emailOf(fx.store().routes[fx.store().routeCount]) == after, saved);
    }
}

TEST(FileEmail, TabOrder)
{
    EmailFixture fx("|||SP||||||25|110"); // every box enabled
    FileEmail &page = fx.open();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.Text1[0]->setFocus();
    QStringList order;
    for (int i = 0; i < 17; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order.join(u' ').toStdString(), "Text1(0) Text1(1) Text1(2) Text1(3) Text1(6) Text1(8) Text1(7) Text1(4) "
                                              "Text1(5) Text1(9) Check1 OKButton CancelButton Explain optMail(0) Text2 Text1(0)");
}

TEST(FileEmail, ExplainShowsItsTextAndNeverGrowsPastTheScreen)
{
    EmailFixture fx;
    fx.s.write(u"Wizard/FileEmail.dat"_s, "Mail the files.\r\nSMTP or MAPI.\r\n");
    FileEmail &page = fx.open();
    const int normal = page.heightTwips();
    page.panel->screenHeight = [] { return 20000; };
    FormsFixture::click(page, u"Explain"_s);
    // One pixel is up to 15 twips at 96 dpi.
    EXPECT_NEAR(page.heightTwips(), normal + 1695 + 250, 15);
    EXPECT_EQ(page.panel->Text2->toPlainText().toStdString(), "Mail the files.\nSMTP or MAPI.\n");
    FormsFixture::click(page, u"Explain"_s);
    EXPECT_EQ(page.heightTwips(), normal);

    page.panel->screenHeight = [] { return 7500; };
    FormsFixture::click(page, u"Explain"_s);
    EXPECT_NEAR(page.heightTwips(), 7500, 15);
}

} // namespace
} // namespace molvik::test
