#pragma once

#include "forms/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace molvik {

class ExplainPanel;

// The wizard's first page: the route's name. Hidden, not unloaded, when left,
// so the typed name survives a Cancel.
class RuleName final : public Form
{
    Q_OBJECT

public:
    explicit RuleName(FormContext &context);

    void OKButton_Click();
    void CancelButton_Click();

    QLabel *Label1;
    QLineEdit *Text1;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    ExplainPanel *panel;
};

} // namespace molvik
