#include "wizard/FileEmail.h"

#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "platform/Numeric.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "wizard/ExplainPanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>

namespace molvik {

namespace {

const QString kServerFrame = QStringLiteral("Frame2");

// The POP3 group, in the order the page treats it: server, login, password, port.
constexpr int kPop3Group[] = {7, 4, 5, 9};

struct BoxRow
{
    int index;
    const char *caption;
    int top;
    int labelWidth;
    int boxWidth;
};

// Recipient, subject and message in Frame1; the rest in the server frame.
constexpr BoxRow kFrame1Rows[] = {
    {0, "Email Recipient Address", 360, 1935, 4095},
    {1, "Email Subject", 720, 1935, 4095},
    {2, "Email Message", 1080, 1935, 4095},
};
constexpr BoxRow kFrame2Rows[] = {
    {3, "SMTP Server Name", 480, 1935, 3975},    {6, "Account Email Address", 840, 1935, 3975},
    {8, "Service Port (SMTP)", 1200, 1935, 855}, {7, "POP3 Server Name", 2040, 1935, 3975},
    {4, "Login UserName", 2400, 1935, 3975},     {5, "Login User Password", 2760, 1935, 3975},
    {9, "Service Port (POP3)", 3120, 1695, 855},
};

// On OK, a port box that holds no number, or 0, gets the default.
void defaultPort(QLineEdit *box, const QString &fallback)
{
    if (!Numeric::isNumeric(box->text()))
        box->setText(fallback);
    if (Numeric::value(box->text()).value_or(0.0) == 0.0)
        box->setText(fallback);
}

QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent)
{
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    return f;
}

} // namespace

FileEmail::FileEmail(FormContext &context) : Form(context, QStringLiteral("FileEmail"), QStringLiteral("Routing Wizard - Email"))
{
    setFont(tahoma());
    setClientSizeTwips(6630, ExplainLayout::FileEmail.clientHeight);

    Frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Email Options"), this);
    Twips::place(Frame1, 120, 120, 6375, 6015);

    buildMessageBoxes();
    buildModeOptions();
    buildServerFrame();

    for (int i = 0; i < 10; ++i) {
        Label6[i]->setObjectName(arrayName(QStringLiteral("Label6"), i));
        if (Text1[i]) {
            Text1[i]->setObjectName(arrayName(QStringLiteral("Text1"), i));
            Label6[i]->setBuddy(Text1[i]);
        }
    }
    Label6[2]->setBuddy(Text1Message);

    panel = new ExplainPanel(*this, ExplainLayout::FileEmail);
    panel->Text2->setFont(msSansSerif());

    CancelButton =
        makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 3840, 6240, 1215, 375, QStringLiteral("Cancel"));

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 5280, 6240, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    chooseByArrows({optMail[0], optMail[1]});
    setTabChain({Text1[0], Text1[1], Text1Message, Text1[3], Text1[6], Text1[8], Text1[7], Text1[4], Text1[5], Text1[9], Check1,
                 OKButton, CancelButton, panel->Explain, optMail[0], optMail[1], panel->Text2});

    for (int i = 0; i < 2; ++i) {
        connect(optMail[i], &QRadioButton::toggled, this, [this, i](bool selected) {
            if (selected)
                optMail_Click(i);
        });
    }
    connect(Check1, &QCheckBox::stateChanged, this, &FileEmail::Check1_Click);
    connect(OKButton, &QPushButton::clicked, this, &FileEmail::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &FileEmail::CancelButton_Click);
}

void FileEmail::buildMessageBoxes()
{
    for (const BoxRow &row : kFrame1Rows) {
        Label6[row.index] = new QLabel(QLatin1String(row.caption), Frame1);
        Twips::place(Label6[row.index], 120, row.top, row.labelWidth, 255);
        if (row.index == 2)
            continue;
        Text1[row.index] = new QLineEdit(Frame1);
        Twips::place(Text1[row.index], 2040, row.top, row.boxWidth, 285);
    }
    Text1Message = new QPlainTextEdit(Frame1);
    Text1Message->setObjectName(arrayName(QStringLiteral("Text1"), 2));
    Text1Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1Message->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab moves on to the next box, as in every other box of the page.
    Text1Message->setTabChangesFocus(true);
    Twips::place(Text1Message, 2040, 1080, 4095, 1125);
    // No longer than a one-line box holds (32767), so the routes file always
    // keeps the message whole.
    connect(Text1Message, &QPlainTextEdit::textChanged, this, [this] {
        constexpr int most = 32767;
        if (Text1Message->document()->characterCount() - 1 <= most)
            return;
        QTextCursor cut(Text1Message->document());
        cut.setPosition(most);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    });
}

void FileEmail::buildModeOptions()
{
    Frame3 = frame(QStringLiteral("Frame3"), QString(), Frame1);
    Twips::place(Frame3, 120, 1320, 1815, 855);
    Picture1 = new QWidget(Frame3);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Twips::place(Picture1, 120, 240, 1575, 495);
    optMail[0] = new QRadioButton(QStringLiteral("Use SMTP"), Picture1);
    optMail[1] = new QRadioButton(QStringLiteral("Use MAPI System"), Picture1);
    for (int i = 0; i < 2; ++i) {
        optMail[i]->setObjectName(arrayName(QStringLiteral("optMail"), i));
        Twips::place(optMail[i], 0, i * 240, 1575, 195);
    }
}

void FileEmail::buildServerFrame()
{
    Frame2 = frame(kServerFrame, QString(), Frame1);
    Twips::place(Frame2, 120, 2280, 6015, 3495);
    Label1 = new QLabel(QStringLiteral("Server Account Information"), Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont underlined = tahoma();
    underlined.setUnderline(true);
    Label1->setFont(underlined);
    Twips::place(Label1, 120, 120, 2535, 255);

    for (const BoxRow &row : kFrame2Rows) {
        Label6[row.index] = new QLabel(QLatin1String(row.caption), Frame2);
        Twips::place(Label6[row.index], 120, row.top, row.labelWidth, 255);
        Text1[row.index] = new QLineEdit(Frame2);
        Twips::place(Text1[row.index], 1920, row.top, row.boxWidth, 285);
    }
    makePasswordBox(Text1[5]);

    Check1 = makeControl<QCheckBox>(Frame2, QStringLiteral("Check1"), 120, 1680, 5775, 255,
                                    QStringLiteral("My Server requires POP3 authorization"));
}

void FileEmail::Form_Load()
{
    const RouteDef &w = store().workingRoute;
    Text1[0]->setText(w.AutoEmailName);
    Text1[1]->setText(w.AutoEmailSubject);
    Text1Message->setPlainText(w.AutoEmailMessage);
    m_loadedMessage = {w.AutoEmailMessage, Text1Message->toPlainText()};
    Text1[8]->setText(w.mailSMTPService != 0 ? Numeric::decimal(w.mailSMTPService) : QStringLiteral("25"));
    Text1[9]->setText(w.mailPOPService != 0 ? Numeric::decimal(w.mailPOPService) : QStringLiteral("110"));

    // Only the platform's true value counts here; a 1 left by another writer
    // opens the page in MAPI mode.
    if (w.SMTP == Yes) {
        for (QLineEdit *box : controlsIn<QLineEdit>(this, kServerFrame))
            box->setEnabled(true);
        // Selecting runs the mode switch, which leaves the POP3 group disabled
        // while the check box is still cleared.
        optMail[0]->setChecked(true);
        setOptionValue(optMail[1], false);
        Text1[3]->setText(w.FTPServer);
        Text1[4]->setText(w.FTPLogon);
        Text1[5]->setText(w.FTPPassword);
        Text1[6]->setText(w.AutoEmailAttach);
        Text1[7]->setText(w.mailPOPServer);
        setCheckValue(Check1, w.mailPOPLogin == Yes ? 1 : 0);
    } else {
        setOptionValue(optMail[0], false);
        optMail[1]->setChecked(true);
        for (QLineEdit *box : controlsIn<QLineEdit>(this, kServerFrame))
            box->setEnabled(false);
    }
}

void FileEmail::optMail_Click(int Index)
{
    // Chosen by kind and container, so labels, Check1 and the boxes of Frame1
    // are never touched here.
    const bool smtp = Index == 0;
    for (QLineEdit *box : controlsIn<QLineEdit>(this, kServerFrame))
        setBoxState(box, smtp);
    Check1->setEnabled(smtp);
    if (smtp)
        Check1_Click();
}

void FileEmail::Check1_Click()
{
    // Only a tick enables the group; the greyed value counts as cleared.
    const bool ticked = checkValue(Check1) == 1;
    for (const int i : kPop3Group) {
        setBoxState(Text1[i], ticked);
        Label6[i]->setEnabled(ticked);
    }
}

void FileEmail::OKButton_Click()
{
    storeEntries();
    const RouteDef &w = store().workingRoute;
    if (showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("Email Recipient Address"), w.AutoEmailName},
                                                         {QStringLiteral("Email Subject"), w.AutoEmailSubject},
                                                         {QStringLiteral("Email Message"), w.AutoEmailMessage},
                                                         {QStringLiteral("SMTP Server Name"), w.FTPServer},
                                                         {QStringLiteral("Account Email Address"), w.AutoEmailAttach},
                                                         {QStringLiteral("POP3 Server Name"), w.mailPOPServer},
                                                         {QStringLiteral("Login UserName"), w.FTPLogon},
                                                         {QStringLiteral("Login User Password"), w.FTPPassword}})) ||
        showProblems(*this, CheckEmailEntries()))
        return;
    // From the route editor the editor saves, when its own OK is pressed.
    if (store().editIndex == 0)
        RuleSys::appendAndSave(store());
    unloadForm();
}

void FileEmail::storeEntries()
{
    RouteDef &w = store().workingRoute;
    w.AutoEmailName = Text1[0]->text();
    w.AutoEmailSubject = Text1[1]->text();
    w.AutoEmailMessage = messageText().remove(QStringLiteral("\r\n"));

    if (optMail[0]->isChecked()) {
        w.SMTP = Yes;
        w.FTPServer = Text1[3]->text();
        w.FTPLogon = Text1[4]->text();
        w.FTPPassword = Text1[5]->text();
        w.AutoEmailAttach = Text1[6]->text();
        w.mailPOPServer = Text1[7]->text();
        w.mailPOPLogin = yesNo(checkValue(Check1) == 1);
    } else {
        w.mailPOPLogin = No;
        w.mailPOPServer.clear();
        w.SMTP = No;
        w.FTPServer.clear();
        w.FTPLogon.clear();
        w.FTPPassword.clear();
        w.AutoEmailAttach.clear();
    }

    defaultPort(Text1[8], QStringLiteral("25"));
    defaultPort(Text1[9], QStringLiteral("110"));
    // A port outside the 16-bit range leaves the field as it was, silently.
    if (const auto pop = Numeric::toInt16(Text1[9]->text()))
        w.mailPOPService = *pop;
    if (const auto smtp = Numeric::toInt16(Text1[8]->text()))
        w.mailSMTPService = *smtp;
}

void FileEmail::CancelButton_Click()
{
    unloadForm();
}

QString FileEmail::CheckEmailEntries() const
{
    // OK has just stored the boxes; the message is checked as the box holds
    // it, before its line breaks are taken out.
    RouteDef entered = store().workingRoute;
    entered.AutoEmailMessage = messageText();
    return RouteChecks::emailProblems(entered);
}

QString FileEmail::messageText() const
{
    // The box turns a lone CR or LF into a line break; while it still shows
    // what was loaded, its text is exactly that.
    const QString shown = Text1Message->toPlainText();
    if (shown == m_loadedMessage.second)
        return m_loadedMessage.first;
    return QString(shown).replace(u'\n', QStringLiteral("\r\n"));
}

QColor FileEmail::enabledColour() const
{
    return Text1[0]->palette().color(QPalette::Base);
}

QColor FileEmail::disabledColour() const
{
    return palette().color(QPalette::Window);
}

void FileEmail::setBoxState(QLineEdit *box, bool enabled)
{
    box->setEnabled(enabled);
    QPalette p = box->palette();
    // Every colour group, so a disabled box shows the page's background too.
    p.setColor(QPalette::Base, enabled ? enabledColour() : disabledColour());
    box->setPalette(p);
}

} // namespace molvik
