// The email page through the scripted seams: how it opens from a route, how
// its two modes and the POP3 switch set the server boxes, what OK stores and
// reports, and its layout.

#include "wizard/FileEmail.h"
#include "forms/Twips.h"
#include "store/RuleSys.h"
#include "support/FormsTestSupport.h"
#include "wizard/ExplainPanel.h"
#include "wizard/RuleName.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace molvik::test {
namespace {

// The server boxes in tab order, then the POP3 group's labels.
constexpr int kServerBoxes[] = {3, 6, 8, 7, 4, 5, 9};
constexpr int kPop3Labels[] = {7, 4, 5, 9};

struct EmailFixture : FormsFixture
{
    EmailFixture()
    {
        RuleSys::resetWorkingRoute(store());
        route().RouteDef = QStringLiteral("Mail");
        route().EmailTransfer = Yes;
    }

    RouteDef &route() { return store().workingRoute; }

    FileEmail &open()
    {
        FileEmail &page = context->form<FileEmail>();
        page.show();
        return page;
    }

    bool routeFileExists() const { return QFile::exists(s.path(QStringLiteral("Routes.xml"))); }
};

// Clicks a check box or option near its left edge, on its indicator.
void press(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// The page as an operator sees it, in one line: the selected mode, the check
// box's value and whether it is enabled, then each server box (in the order
// 3, 6, 8, 7, 4, 5, 9) and each POP3 label (7, 4, 5, 9). A box is "E" when
// enabled in the enabled colour, "d" when disabled in the page's background,
// "?" otherwise; a label is "E" or "d".
QString state(const FileEmail &page)
{
    const QColor enabled = page.Text1[0]->palette().color(QPalette::Base);
    const QColor disabled = page.palette().color(QPalette::Window);
    QString out = page.optMail[0]->isChecked() && !page.optMail[1]->isChecked()   ? QStringLiteral("SMTP")
                  : page.optMail[1]->isChecked() && !page.optMail[0]->isChecked() ? QStringLiteral("MAPI")
                                                                                  : QStringLiteral("mode?");
    out += QStringLiteral(" %1 %2 |").arg(checkValue(page.Check1)).arg(page.Check1->isEnabled() ? u"on" : u"off");
    for (const int i : kServerBoxes) {
        const QLineEdit *box = page.Text1[i];
        // The colour the page gave the box, not what the style paints a
        // disabled box with anyway.
        const QColor c = box->palette().color(QPalette::Active, QPalette::Base);
        if (i == 7)
            out += u' ';
        out += box->isEnabled() && c == enabled ? u'E' : !box->isEnabled() && c == disabled ? u'd' : u'?';
    }
    out += QStringLiteral(" |");
    for (const int i : kPop3Labels)
        out += page.Label6[i]->isEnabled() ? u'E' : u'd';
    return out;
}

QStringList texts(const FileEmail &page)
{
    QStringList out;
    for (int i = 0; i < 10; ++i)
        out << (i == 2 ? page.Text1Message->toPlainText() : page.Text1[i]->text());
    return out;
}

TEST(FileEmail, OpensFromTheRoute)
{
    const struct
    {
        const char *name;
        std::function<void(RouteDef &)> route;
        QString state;
        std::vector<const char *> texts;
    } rows[] = {
        {"a new route",
         [](RouteDef &) {},
         QStringLiteral("SMTP 0 on |EEE dddd |dddd"),
         {"", "", "", "", "", "", "", "", "25", "110"}},
        {"SMTP with POP3 authorisation",
         [](RouteDef &r) {
             r.AutoEmailName = QStringLiteral("ops@example.org");
             r.AutoEmailSubject = QStringLiteral("Files");
             r.AutoEmailMessage = QStringLiteral("Attached.");
             r.FTPServer = QStringLiteral("smtp.example.org");
             r.FTPLogon = QStringLiteral("jo");
             r.FTPPassword = QStringLiteral("secret");
             r.AutoEmailAttach = QStringLiteral("jo@example.org");
             r.mailPOPServer = QStringLiteral("pop.example.org");
             r.mailPOPLogin = Yes;
             r.mailSMTPService = 587;
             r.mailPOPService = 995;
         },
         QStringLiteral("SMTP 1 on |EEE EEEE |EEEE"),
         {"ops@example.org", "Files", "Attached.", "smtp.example.org", "jo", "secret", "jo@example.org", "pop.example.org", "587",
          "995"}},
        // The server fields of a MAPI route are not shown; its ports are.
        {"saved in MAPI mode",
         [](RouteDef &r) {
             r.SMTP = No;
             r.mailPOPLogin = Yes;
             r.FTPServer = QStringLiteral("smtp.example.org");
             r.FTPLogon = QStringLiteral("jo");
             r.mailSMTPService = 2525;
             r.mailPOPService = 0;
         },
         QStringLiteral("MAPI 0 off |ddd dddd |EEEE"),
         {"", "", "", "", "", "", "", "", "2525", "110"}},
        {"SMTP holding 1",
         [](RouteDef &r) {
             r.SMTP = 1;
             r.FTPServer = QStringLiteral("smtp.example.org");
         },
         QStringLiteral("MAPI 0 off |ddd dddd |EEEE"),
         {"", "", "", "", "", "", "", "", "25", "110"}},
        {"POP3 login holding 1, negative and zero ports",
         [](RouteDef &r) {
             r.mailPOPLogin = 1;
             r.mailSMTPService = 0;
             r.mailPOPService = -7;
         },
         QStringLiteral("SMTP 0 on |EEE dddd |dddd"),
         {"", "", "", "", "", "", "", "", "25", "-7"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EmailFixture fx;
        row.route(fx.route());
        FileEmail &page = fx.open();
        // Every state below relies on telling the two colours apart.
        ASSERT_NE(page.Text1[0]->palette().color(QPalette::Base), page.palette().color(QPalette::Window));
        EXPECT_EQ(state(page), row.state);
        QStringList expected;
        for (const char *text : row.texts)
            expected << QString::fromUtf8(text);
        EXPECT_EQ(texts(page), expected);
        EXPECT_TRUE(page.Text1[0]->isEnabled() && page.Text1[1]->isEnabled() && page.Text1Message->isEnabled());
    }
}

TEST(FileEmail, ModeAndPop3SwitchSequences)
{
    enum Act { Tick, Mapi, Smtp };
    const struct
    {
        const char *name;
        bool mapiRoute;
        std::vector<Act> acts;
        QString state;
    } rows[] = {
        {"tick, MAPI, back to SMTP", false, {Tick, Mapi, Smtp}, QStringLiteral("SMTP 1 on |EEE EEEE |EEEE")},
        {"tick, clear, MAPI, back to SMTP", false, {Tick, Tick, Mapi, Smtp}, QStringLiteral("SMTP 0 on |EEE dddd |dddd")},
        // The check box keeps its tick while MAPI greys everything out.
        {"tick, MAPI", false, {Tick, Mapi}, QStringLiteral("MAPI 1 off |ddd dddd |EEEE")},
        {"cleared, MAPI", false, {Mapi}, QStringLiteral("MAPI 0 off |ddd dddd |dddd")},
        {"MAPI route, SMTP", true, {Smtp}, QStringLiteral("SMTP 0 on |EEE dddd |dddd")},
        {"MAPI route, SMTP, tick", true, {Smtp, Tick}, QStringLiteral("SMTP 1 on |EEE EEEE |EEEE")},
        // A disabled check box takes no click.
        {"MAPI route, tick", true, {Tick}, QStringLiteral("MAPI 0 off |ddd dddd |EEEE")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EmailFixture fx;
        if (row.mapiRoute)
            fx.route().SMTP = No;
        FileEmail &page = fx.open();
        for (const Act act : row.acts)
            press(act == Tick ? static_cast<QAbstractButton *>(page.Check1) : page.optMail[act == Mapi ? 1 : 0]);
        EXPECT_EQ(state(page), row.state);
    }
}

TEST(FileEmail, TypedServerTextsSurviveAModeSwitch)
{
    EmailFixture fx;
    FileEmail &page = fx.open();
    press(page.Check1);
    for (const int i : kServerBoxes)
        FormsFixture::type(page, arrayName(QStringLiteral("Text1"), i), QStringLiteral("v%1").arg(i));
    press(page.optMail[1]);
    press(page.optMail[0]);
    for (const int i : kServerBoxes)
        EXPECT_EQ(page.Text1[i]->text(), QStringLiteral("v%1").arg(i));
}

// Fills the page and presses OK; "" leaves a box empty.
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
            FormsFixture::type(page, arrayName(QStringLiteral("Text1"), i), text);
    if (!e.message.isEmpty())
        page.Text1Message->setPlainText(e.message);
    FormsFixture::click(page, QStringLiteral("OKButton"));
}

TEST(FileEmail, ProblemsTexts)
{
    const QString account = QStringLiteral("jo@example.org");
    const struct
    {
        const char *name;
        Entries entries;
        QString problems;
    } rows[] = {
        {"MAPI, all empty",
         {Entries::Mapi},
         QStringLiteral("\r\n1. You must specify an email account to send to."
                        "\r\n2. You must specify an email subject line."
                        "\r\n3. You must specify an email message.")},
        {"SMTP with POP3, all empty",
         {Entries::Pop3},
         QStringLiteral("\r\n1. You must specify an email account to send to."
                        "\r\n2. You must specify an email subject line."
                        "\r\n3. You must specify an email message."
                        "\r\n4. You must specify an SMTP Server name"
                        "\r\n5. You must specify a valid SMTP account for this server."
                        "\r\n6. You must specify a valid email address for the SMTP server"
                        "\r\n7. You must specify a valid Pop Server Name"
                        "\r\n8. You must specify a valid account for this POP Server"
                        "\r\n9. You must specify a valid Password for this POP server. Blank is not allowed")},
        {"SMTP, empty account address",
         {Entries::Smtp, QStringLiteral("a@b"), QStringLiteral("s"), QStringLiteral("m"), QStringLiteral("smtp")},
         QStringLiteral("\r\n1. You must specify a valid SMTP account for this server."
                        "\r\n2. You must specify a valid email address for the SMTP server")},
        {"recipient starting with its only @, account without one",
         {Entries::Smtp, QStringLiteral("@example.org"), QStringLiteral("s"), QStringLiteral("m"), QStringLiteral("smtp"),
          QStringLiteral("jo.example.org")},
         QStringLiteral("\r\n1. You must specify a valid email address"
                        "\r\n2. You must specify a valid email address for the SMTP server")},
        {"recipient without @, MAPI ignores the server boxes",
         {Entries::Mapi, QStringLiteral("jo"), QStringLiteral("s"), QStringLiteral("m")},
         QStringLiteral("\r\n1. You must specify a valid email address")},
        {"POP3 with only the password missing",
         {Entries::Pop3, account, QStringLiteral("s"), QStringLiteral("m"), QStringLiteral("smtp"), account,
          QStringLiteral("pop"), QStringLiteral("jo")},
         QStringLiteral("\r\n1. You must specify a valid Password for this POP server. Blank is not allowed")},
        // One character before the "@" is enough, and blanks are not empty.
        {"shortest addresses and blank texts",
         {Entries::Smtp, QStringLiteral("j@"), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "),
          QStringLiteral("@@")},
         QString()},
        {"SMTP without POP3 needs no login",
         {Entries::Smtp, account, QStringLiteral("s"), QStringLiteral("m"), QStringLiteral("smtp"), account},
         QString()},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EmailFixture fx;
        QPointer<FileEmail> page = &fx.open();
        fillAndAccept(*page, row.entries);
        if (row.problems.isEmpty()) {
            EXPECT_TRUE(fx.messages->shown.empty());
            EXPECT_TRUE(page->isUnloaded());
            EXPECT_EQ(fx.store().routeCount, 1);
            continue;
        }
        ASSERT_EQ(fx.messages->shown.size(), 1u);
        const MessageRequest &box = fx.messages->shown.front();
        EXPECT_EQ(box.text, row.problems);
        EXPECT_EQ(box.title, QStringLiteral("Please attend to the following problems before saving this route"));
        EXPECT_EQ(box.icon, MsgIcon::Information);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_FALSE(page->isUnloaded());
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(fx.store().routeCount, 0);
        EXPECT_FALSE(fx.routeFileExists());
    }
}

TEST(FileEmail, PortBoxes)
{
    // The stored ports before OK are 1234 (SMTP) and 4321 (POP3); OK fails on
    // the empty recipient, so the page stays open with its boxes to read.
    const struct
    {
        QString typed;
        QString smtpBox;
        qint16 smtp;
        QString popBox;
        qint16 pop;
    } rows[] = {
        {QString(), QStringLiteral("25"), 25, QStringLiteral("110"), 110},
        {QStringLiteral("abc"), QStringLiteral("25"), 25, QStringLiteral("110"), 110},
        {QStringLiteral("0"), QStringLiteral("25"), 25, QStringLiteral("110"), 110},
        {QStringLiteral("2.5"), QStringLiteral("2.5"), 2, QStringLiteral("2.5"), 2},
        {QStringLiteral("3.5"), QStringLiteral("3.5"), 4, QStringLiteral("3.5"), 4},
        {QStringLiteral("-7"), QStringLiteral("-7"), -7, QStringLiteral("-7"), -7},
        {QStringLiteral("40000"), QStringLiteral("40000"), 1234, QStringLiteral("40000"), 4321},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        EmailFixture fx;
        fx.route().mailSMTPService = 1234;
        fx.route().mailPOPService = 4321;
        FileEmail &page = fx.open();
        press(page.Check1);
        FormsFixture::type(page, QStringLiteral("Text1(8)"), row.typed);
        FormsFixture::type(page, QStringLiteral("Text1(9)"), row.typed);
        FormsFixture::click(page, QStringLiteral("OKButton"));
        ASSERT_FALSE(page.isUnloaded());
        EXPECT_EQ(page.Text1[8]->text(), row.smtpBox);
        EXPECT_EQ(page.Text1[9]->text(), row.popBox);
        EXPECT_EQ(fx.route().mailSMTPService, row.smtp);
        EXPECT_EQ(fx.route().mailPOPService, row.pop);
    }
}

TEST(FileEmail, AcceptedSmtpRouteIsAppendedAsTyped)
{
    EmailFixture fx;
    fx.route().FTPLogon = QStringLiteral("jo");
    fx.route().FTPPassword = QStringLiteral("secret");
    FileEmail &page = fx.open();
    FormsFixture::type(page, QStringLiteral("Text1(0)"), QStringLiteral(" ops@example.org "));
    FormsFixture::type(page, QStringLiteral("Text1(1)"), QStringLiteral("Daily files"));
    // Enter in the message box starts a new line rather than pressing OK.
    QTest::keyClicks(page.Text1Message, QStringLiteral("Line one"));
    QTest::keyClick(page.Text1Message, Qt::Key_Return);
    QTest::keyClicks(page.Text1Message, QStringLiteral("Line two"));
    QTest::keyClick(page.Text1Message, Qt::Key_Return);
    QTest::keyClicks(page.Text1Message, QStringLiteral("end"));
    ASSERT_FALSE(page.isUnloaded());
    FormsFixture::type(page, QStringLiteral("Text1(3)"), QStringLiteral("smtp.example.org"));
    FormsFixture::type(page, QStringLiteral("Text1(6)"), QStringLiteral("jo@example.org"));
    FormsFixture::type(page, QStringLiteral("Text1(8)"), QStringLiteral("587"));
    FormsFixture::click(page, QStringLiteral("OKButton"));

    EXPECT_TRUE(fx.messages->shown.empty());
    EXPECT_TRUE(page.isUnloaded());
    ASSERT_EQ(fx.store().routeCount, 1);
    const RouteDef &r = fx.store().routes[1];
    EXPECT_EQ(r.AutoEmailName, QStringLiteral(" ops@example.org "));
    EXPECT_EQ(r.AutoEmailSubject, QStringLiteral("Daily files"));
    EXPECT_EQ(r.AutoEmailMessage, QStringLiteral("Line oneLine twoend"));
    EXPECT_EQ(r.SMTP, Yes);
    EXPECT_EQ(r.FTPServer, QStringLiteral("smtp.example.org"));
    EXPECT_EQ(r.AutoEmailAttach, QStringLiteral("jo@example.org"));
    // Login and password are kept from their (disabled) boxes without POP3.
    EXPECT_EQ(r.FTPLogon, QStringLiteral("jo"));
    EXPECT_EQ(r.FTPPassword, QStringLiteral("secret"));
    EXPECT_EQ(r.mailPOPLogin, No);
    EXPECT_EQ(r.mailSMTPService, 587);
    EXPECT_EQ(r.mailPOPService, 110);
    EXPECT_EQ(r.EmailTransfer, Yes);
    const QByteArray file = fx.s.read(QStringLiteral("Routes.xml"));
    EXPECT_TRUE(file.contains("<AutoEmailMessage>Line oneLine twoend</AutoEmailMessage>\r\n")) << file.constData();
    EXPECT_TRUE(file.contains("<mailSMTPService>587</mailSMTPService>\r\n"));
}

TEST(FileEmail, MapiClearsTheServerFields)
{
    EmailFixture fx;
    RouteDef &w = fx.route();
    w.FTPServer = QStringLiteral("smtp.example.org");
    w.FTPLogon = QStringLiteral("jo");
    w.FTPPassword = QStringLiteral("secret");
    w.AutoEmailAttach = QStringLiteral("jo@example.org");
    w.mailPOPServer = QStringLiteral("pop.example.org");
    w.mailPOPLogin = Yes;
    w.mailSMTPService = 587;
    w.mailPOPService = 0;
    FileEmail &page = fx.open();
    fillAndAccept(page, {Entries::Mapi, QStringLiteral("ops@example.org"), QStringLiteral("s"), QStringLiteral("m")});

    EXPECT_TRUE(fx.messages->shown.empty());
    ASSERT_EQ(fx.store().routeCount, 1);
    const RouteDef &r = fx.store().routes[1];
    EXPECT_EQ(r.SMTP, No);
    EXPECT_EQ(r.mailPOPLogin, No);
    for (const QString *field : {&r.FTPServer, &r.FTPLogon, &r.FTPPassword, &r.AutoEmailAttach, &r.mailPOPServer})
        EXPECT_TRUE(field->isEmpty()) << field->toStdString();
    // The disabled port boxes are stored all the same.
    EXPECT_EQ(r.mailSMTPService, 587);
    EXPECT_EQ(r.mailPOPService, 110);
    EXPECT_TRUE(fx.s.read(QStringLiteral("Routes.xml")).contains("<SMTP>False</SMTP>\r\n"));
}

TEST(FileEmail, FailedOkThenCancelKeepsWhatWasStored)
{
    EmailFixture fx;
    FileEmail &page = fx.open();
    FormsFixture::type(page, QStringLiteral("Text1(0)"), QStringLiteral("ops@example.org"));
    FormsFixture::type(page, QStringLiteral("Text1(3)"), QStringLiteral("smtp.example.org"));
    FormsFixture::type(page, QStringLiteral("Text1(8)"), QStringLiteral("abc"));
    FormsFixture::click(page, QStringLiteral("OKButton"));
    ASSERT_EQ(fx.messages->shown.size(), 1u);
    EXPECT_EQ(page.Text1[8]->text(), QStringLiteral("25"));
    FormsFixture::click(page, QStringLiteral("CancelButton"));

    EXPECT_TRUE(page.isUnloaded());
    EXPECT_EQ(fx.context->loaded<FileEmail>(), nullptr);
    EXPECT_EQ(fx.store().routeCount, 0);
    EXPECT_FALSE(fx.routeFileExists());
    EXPECT_EQ(fx.route().AutoEmailName, QStringLiteral("ops@example.org"));
    EXPECT_EQ(fx.route().FTPServer, QStringLiteral("smtp.example.org"));
    EXPECT_EQ(fx.route().mailSMTPService, 25);
}

TEST(FileEmail, FromTheRouteEditorNothingIsSaved)
{
    EmailFixture fx;
    fx.store().routeCount = 2;
    fx.store().routes[1].RouteDef = QStringLiteral("First");
    fx.store().routes[2].RouteDef = QStringLiteral("Mail");
    fx.store().editIndex = 2;
    // A lone CR that came with the route stays while the box is untouched.
    fx.route().AutoEmailMessage = QStringLiteral("one\rtwo");
    FileEmail &page = fx.open();
    fillAndAccept(page, {Entries::Mapi, QStringLiteral("ops@example.org"), QStringLiteral("s")});

    EXPECT_TRUE(page.isUnloaded());
    EXPECT_TRUE(fx.messages->shown.empty());
    EXPECT_EQ(fx.store().routeCount, 2);
    EXPECT_FALSE(fx.routeFileExists());
    EXPECT_EQ(fx.route().AutoEmailName, QStringLiteral("ops@example.org"));
    EXPECT_EQ(fx.route().AutoEmailMessage, QStringLiteral("one\rtwo"));
    EXPECT_TRUE(fx.store().routes[2].AutoEmailName.isEmpty());
}

TEST(FileEmail, ShownByTheTransferMethodPage)
{
    EmailFixture fx;
    fx.modal->expect(QStringLiteral("RuleName"), [](Form &f) {
        FormsFixture::type(f, QStringLiteral("Text1"), QStringLiteral("Mail out"));
        FormsFixture::click(f, QStringLiteral("OKButton"));
    });
    fx.modal->expect(QStringLiteral("MoveVia"), [](Form &f) {
        f.findChild<QRadioButton *>(QStringLiteral("Option1(2)"))->setChecked(true);
        FormsFixture::click(f, QStringLiteral("OKButton"));
    });
    fx.modal->expect(QStringLiteral("FileEmail"), [](Form &f) {
        fillAndAccept(static_cast<FileEmail &>(f),
                      {Entries::Mapi, QStringLiteral("ops@example.org"), QStringLiteral("s"), QStringLiteral("m")});
    });
    RuleSys::resetWorkingRoute(fx.store());
    fx.context->showModal(fx.context->form<RuleName>());

    EXPECT_TRUE(fx.modal->problems().isEmpty()) << fx.modal->problems().join(u'\n').toStdString();
    ASSERT_EQ(fx.store().routeCount, 1);
    EXPECT_EQ(fx.store().routes[1].RouteDef, QStringLiteral("Mail out"));
    EXPECT_EQ(fx.store().routes[1].EmailTransfer, Yes);
    EXPECT_EQ(fx.store().routes[1].DirTransfer, No);
}

TEST(FileEmail, Layout)
{
    EmailFixture fx;
    FileEmail &page = fx.open();
    EXPECT_EQ(page.windowTitle(), QStringLiteral("Routing Wizard - Email"));
    EXPECT_EQ(page.width(), Twips::toPixelsX(6630));
    EXPECT_EQ(page.height(), Twips::toPixelsY(6720));

    const struct
    {
        const char *name;
        const char *container;
        int left, top, width, height;
        const char *caption;
    } rows[] = {
        {"Frame1", "FileEmail", 120, 120, 6375, 6015, "Email Options"},
        {"Label6(0)", "Frame1", 120, 360, 1935, 255, "Email Recipient Address"},
        {"Text1(0)", "Frame1", 2040, 360, 4095, 285, nullptr},
        {"Label6(1)", "Frame1", 120, 720, 1935, 255, "Email Subject"},
        {"Text1(1)", "Frame1", 2040, 720, 4095, 285, nullptr},
        {"Label6(2)", "Frame1", 120, 1080, 1935, 255, "Email Message"},
        {"Text1(2)", "Frame1", 2040, 1080, 4095, 1125, nullptr},
        {"Frame3", "Frame1", 120, 1320, 1815, 855, ""},
        {"Picture1", "Frame3", 120, 240, 1575, 495, nullptr},
        {"optMail(0)", "Picture1", 0, 0, 1575, 195, "Use SMTP"},
        {"optMail(1)", "Picture1", 0, 240, 1575, 195, "Use MAPI System"},
        {"Frame2", "Frame1", 120, 2280, 6015, 3495, ""},
        {"Label1", "Frame2", 120, 120, 2535, 255, "Server Account Information"},
        {"Label6(3)", "Frame2", 120, 480, 1935, 255, "SMTP Server Name"},
        {"Text1(3)", "Frame2", 1920, 480, 3975, 285, nullptr},
        {"Label6(6)", "Frame2", 120, 840, 1935, 255, "Account Email Address"},
        {"Text1(6)", "Frame2", 1920, 840, 3975, 285, nullptr},
        {"Label6(8)", "Frame2", 120, 1200, 1935, 255, "Service Port (SMTP)"},
        {"Text1(8)", "Frame2", 1920, 1200, 855, 285, nullptr},
        {"Check1", "Frame2", 120, 1680, 5775, 255, "My Server requires POP3 authorization"},
        {"Label6(7)", "Frame2", 120, 2040, 1935, 255, "POP3 Server Name"},
        {"Text1(7)", "Frame2", 1920, 2040, 3975, 285, nullptr},
        {"Label6(4)", "Frame2", 120, 2400, 1935, 255, "Login UserName"},
        {"Text1(4)", "Frame2", 1920, 2400, 3975, 285, nullptr},
        {"Label6(5)", "Frame2", 120, 2760, 1935, 255, "Login User Password"},
        {"Text1(5)", "Frame2", 1920, 2760, 3975, 285, nullptr},
        {"Label6(9)", "Frame2", 120, 3120, 1695, 255, "Service Port (POP3)"},
        {"Text1(9)", "Frame2", 1920, 3120, 855, 285, nullptr},
        {"Explain", "FileEmail", 120, 6240, 1215, 375, "Explain"},
        {"CancelButton", "FileEmail", 3840, 6240, 1215, 375, "Cancel"},
        {"OKButton", "FileEmail", 5280, 6240, 1215, 375, "OK"},
        {"Text2", "FileEmail", 240, 6720, 6255, 1695, nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const auto *w = page.findChild<QWidget *>(QLatin1String(row.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(row.container));
        EXPECT_EQ(w->geometry(), Twips::rect(row.left, row.top, row.width, row.height));
        if (!row.caption)
            continue;
        QString caption;
        if (const auto *label = qobject_cast<const QLabel *>(w))
            caption = label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            caption = button->text();
        else if (const auto *frame = qobject_cast<const QGroupBox *>(w))
            caption = frame->title();
        EXPECT_EQ(caption, QLatin1String(row.caption));
    }

    EXPECT_EQ(page.font().family(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(page.font().pointSizeF(), 8.25);
    EXPECT_TRUE(page.Label1->font().underline());
    EXPECT_FALSE(page.Label6[3]->font().underline());
    EXPECT_EQ(page.panel->Text2->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(page.Text1Message->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(page.Text1[5]->echoMode(), QLineEdit::Password);
    page.Text1[5]->setText(QStringLiteral("abc"));
    EXPECT_EQ(page.Text1[5]->displayText(), QStringLiteral("***"));
}

TEST(FileEmail, TabOrder)
{
    EmailFixture fx;
    fx.route().mailPOPLogin = Yes; // every box enabled
    FileEmail &page = fx.open();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.Text1[0]->setFocus();
    QStringList order;
    for (int i = 0; i < 17; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order.join(u' '), QStringLiteral("Text1(0) Text1(1) Text1(2) Text1(3) Text1(6) Text1(8) Text1(7) Text1(4) "
                                               "Text1(5) Text1(9) Check1 OKButton CancelButton Explain optMail(0) "
                                               "Text2 Text1(0)"));
}

TEST(FileEmail, ExplainNeverGrowsPastTheScreen)
{
    EmailFixture fx;
    FileEmail &page = fx.open();
    const int normal = page.heightTwips();
    page.panel->screenHeight = [] { return 7500; };
    FormsFixture::click(page, QStringLiteral("Explain"));
    EXPECT_NEAR(page.heightTwips(), 7500, 15);
    FormsFixture::click(page, QStringLiteral("Explain"));
    EXPECT_EQ(page.heightTwips(), normal);

    fx.s.write(QStringLiteral("Wizard/FileEmail.dat"), "Mail the files.\r\nSMTP or MAPI.\r\n");
    page.panel->screenHeight = [] { return 20000; };
    FormsFixture::click(page, QStringLiteral("Explain"));
    EXPECT_NEAR(page.heightTwips(), normal + 1695 + 250, 15);
    EXPECT_EQ(page.panel->Text2->toPlainText(), QStringLiteral("Mail the files.\nSMTP or MAPI.\n"));
    if (const QString folder = qEnvironmentVariable("MOLVIK_SCREENSHOTS"); !folder.isEmpty())
        page.grab().save(folder + QStringLiteral("/FileEmail-Explain.png"));
    QTest::mouseClick(page.panel->Text2->viewport(), Qt::LeftButton);
    EXPECT_EQ(page.heightTwips(), normal);
}

TEST(FileEmail, RenderedColours)
{
    // What the operator sees: an empty server box is painted in the colour its
    // state gives it, the password box included. With MOLVIK_SCREENSHOTS set,
    // the pictures are kept there.
    const QString folder = qEnvironmentVariable("MOLVIK_SCREENSHOTS");
    const struct
    {
        const char *name;
        YesNo smtp, pop3;
        bool enabled[3]; // Text1(3), Text1(5), Text1(9)
    } rows[] = {
        {"SMTP-POP3", Yes, Yes, {true, true, true}},
        {"SMTP", Yes, No, {true, false, false}},
        {"MAPI", No, Yes, {false, false, false}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EmailFixture fx;
        fx.route().SMTP = row.smtp;
        fx.route().mailPOPLogin = row.pop3;
        FileEmail &page = fx.open();
        QTest::qWait(10);
        const QImage image = page.grab().toImage();
        if (!folder.isEmpty())
            image.save(QStringLiteral("%1/FileEmail-%2.png").arg(folder, QLatin1String(row.name)));
        const QColor colours[] = {page.palette().color(QPalette::Window), page.Text1[0]->palette().color(QPalette::Base)};
        const int boxes[] = {3, 5, 9};
        for (int k = 0; k < 3; ++k) {
            const QLineEdit *box = page.Text1[boxes[k]];
            const QPoint inside = box->mapTo(&page, QPoint(box->width() - 6, box->height() / 2));
            EXPECT_EQ(image.pixelColor(inside * image.devicePixelRatio()), colours[row.enabled[k]]) << boxes[k];
        }
    }
}

} // namespace
} // namespace molvik::test
