#pragma once

#include "forms/Form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace molvik {

class ExplainPanel;

// The FTP parameters of a route. The wizard's last page for an FTP route
// (edit index 0: it appends and saves), and the route editor's page for one
// (it only fills the working route; the editor saves).
class FileFTP final : public Form
{
    Q_OBJECT

public:
    explicit FileFTP(FormContext &context);

    void Form_Load() override;
    void cbProxy_Click();
    void cbSafeUpload_Click();
    void Command1_Click();
    void OKButton_Click();
    void CancelButton_Click();

    // The problems with the boxes as numbered lines; empty when there are none.
    QString CheckFTPEntries() const;

    QGroupBox *Frame1;
    QLabel *Label6[4];
    QLineEdit *Text1[4]; // site, user, password, site directory
    QLabel *lblPort;
    QLineEdit *editPort;
    QCheckBox *cbSecure;
    QCheckBox *cbPassive;
    QCheckBox *cbSafeUpload;
    QCheckBox *cbProxy;
    QPushButton *Command1;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    ExplainPanel *panel;

private:
    // The boxes and switches into the working record, the proxy's from its dialog.
    void storeEntries();
    void storeProxy();
};

} // namespace molvik
