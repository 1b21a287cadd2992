#pragma once

#include "forms/Form.h"

#include <QColor>

#include <utility>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace molvik {

class ExplainPanel;

// The email parameters of a route: recipient, subject and message, and how
// the mail leaves, through an SMTP server (optionally with POP3 authorisation)
// or through the workstation's MAPI mail system. The wizard's last page for an
// email route (edit index 0: it appends and saves), and the route editor's
// page for one (it only fills the working route; the editor saves).
class FileEmail final : public Form
{
    Q_OBJECT

public:
    explicit FileEmail(FormContext &context);

    void Form_Load() override;
    // 0 "Use SMTP", 1 "Use MAPI System"; runs when an option becomes selected.
    void optMail_Click(int Index);
    void Check1_Click();
    void OKButton_Click();
    void CancelButton_Click();

    QGroupBox *Frame1;
    QLabel *Label6[10];
    QLineEdit *Text1[10] = {};    // index 2 is the several-line Text1Message
    QPlainTextEdit *Text1Message; // "Text1(2)"
    QGroupBox *Frame3;
    QWidget *Picture1;
    QRadioButton *optMail[2];
    QGroupBox *Frame2;
    QLabel *Label1;
    QCheckBox *Check1;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    ExplainPanel *panel;

private:
    // The design, frame by frame: Frame1's boxes, Frame3's mode options, Frame2.
    void buildMessageBoxes();
    void buildModeOptions();
    void buildServerFrame();
    // The boxes and the mode into the working record; empty ports get the defaults.
    void storeEntries();
    // The problems with the entries as numbered lines; empty when there are none.
    QString CheckEmailEntries() const;
    // The message as the operator's line breaks make it: CR LF between lines.
    QString messageText() const;

    QColor enabledColour() const;
    QColor disabledColour() const;
    void setBoxState(QLineEdit *box, bool enabled);

    // The message as loaded from the route, and as the box showed it then.
    std::pair<QString, QString> m_loadedMessage;
};

} // namespace molvik
