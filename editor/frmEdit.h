#pragma once

#include "forms/Form.h"

class QPushButton;

namespace molvik {

// The route editor. For now it offers only OK and Cancel: either way it
// closes and hands the edit index back, so Edit Route runs its whole course.
class frmEdit final : public Form
{
    Q_OBJECT

public:
    explicit frmEdit(FormContext &context);

    void OKButton_Click();
    void CancelButton_Click();
    void Form_Unload() override;

    QPushButton *OKButton;
    QPushButton *CancelButton;
};

} // namespace molvik
