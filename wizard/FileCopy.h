#pragma once

#include "forms/Form.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace molvik {

class ExplainPanel;
class clsDialog;

// The last page of a directory-copy route: where the files go.
class FileCopy final : public Form
{
    Q_OBJECT

public:
    explicit FileCopy(FormContext &context);
    ~FileCopy() override;

    void Command1_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void Form_Unload() override;

    QLabel *Label1;
    QLineEdit *Text1;
    QPushButton *Command1;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    ExplainPanel *panel;

private:
    // Made at the first browse, released when the page unloads.
    std::unique_ptr<clsDialog> m_dialog;
};

} // namespace molvik
