#pragma once

#include "forms/Form.h"
#include "store/RouteDef.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace molvik {

class clsDialog;

// The route editor: works on a copy of the route at the edit index in the
// working route and, on OK, puts it back into that slot and rewrites the
// routes file. Every way out hands the edit index back.
class frmEdit final : public Form
{
    Q_OBJECT

public:
    explicit frmEdit(FormContext &context);
    ~frmEdit() override;

    void Form_Load() override;
    void Option1_Click(int Index);
    void Command1_Click(int Index);
    void Command3_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void Form_Unload() override;

    // Array members by their index; the other entries are not members.
    QLabel *Label1[4] = {};
    QLineEdit *Text1[4] = {}; // 0 the name, 3 the transfer/return directory
    QPushButton *Command1[4] = {};
    QLabel *Label2;
    QRadioButton *Option1[6] = {}; // 5 directory copy, 4 FTP, 2 email
    QPushButton *Command3;
    QPushButton *OKButton;
    QPushButton *CancelButton;

private:
    void setDirectoryEnabled(bool enabled);

    // Made anew at every browse, released when the editor unloads.
    std::unique_ptr<clsDialog> m_dialog;
    // The route as it was read: OK replaces it only where the file still holds it.
    RouteDef m_loaded;
};

} // namespace molvik
