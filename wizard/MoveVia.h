#pragma once

#include "forms/Form.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace molvik {

class ExplainPanel;

// The wizard's second page: how the files leave. Hidden, not unloaded, when
// left, so it shows the last choice at the next run.
class MoveVia final : public Form
{
    Q_OBJECT

public:
    explicit MoveVia(FormContext &context);

    void OKButton_Click();
    void CancelButton_Click();

    QGroupBox *Frame1;
    QWidget *Picture1;
    QRadioButton *Option1[3];
    QPushButton *OKButton;
    QPushButton *CancelButton;
    ExplainPanel *panel;
};

} // namespace molvik
