#pragma once

#include "forms/Form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace molvik {

class ExplainPanel;

// The address and port of the transfer server for a secure download route.
// Opened from the route editor (it only fills the working route); with edit
// index 0 it appends the route itself.
class FileKXSecure final : public Form
{
    Q_OBJECT

public:
    explicit FileKXSecure(FormContext &context);

    void Form_Load() override;
    void OKButton_Click();
    void CancelButton_Click();

    QGroupBox *Frame2;
    QLabel *Label6;
    QLineEdit *Text1;
    QLabel *lblPort;
    QLineEdit *Text3;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    ExplainPanel *panel;
};

} // namespace molvik
