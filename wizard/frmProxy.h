#pragma once

#include "forms/Form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace molvik {

struct RouteDef;

// The FTP page's proxy options. The FTP page fills and reads these controls
// directly; OK stores them into the working route and only hides the dialog,
// so the FTP page's own OK can read them again.
class frmProxy final : public Form
{
    Q_OBJECT

public:
    explicit frmProxy(FormContext &context);

    void Form_Load() override;
    // A port that does not convert keeps the route's old one.
    void storeInto(RouteDef &route) const;
    void OKButton_Click();
    void CancelButton_Click();

    QGroupBox *pnlPrxyOpt;
    QWidget *Picture1;
    QRadioButton *rbUser;
    QRadioButton *rbSite;
    QRadioButton *rbLogin;
    QRadioButton *rbOpen;
    QGroupBox *pnlPrxyCon;
    QLabel *lblPrxySrvr;
    QLineEdit *editPrxyHost;
    QLabel *lblPrxyUsr;
    QLineEdit *editPrxyUsr;
    QLabel *lblPrxyPwd;
    QLineEdit *editPrxyPwd;
    QLabel *lblPrxyPort;
    QLineEdit *editPrxyPort;
    QPushButton *OKButton;
    QPushButton *CancelButton;
};

} // namespace molvik
