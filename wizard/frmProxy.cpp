#include "wizard/frmProxy.h"

#include "forms/FormContext.h"
#include "forms/Twips.h"
#include "platform/Numeric.h"
#include "store/RouteStore.h"
#include "wizard/PageFonts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace molvik {

namespace {

QLabel *makeLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit *makeBox(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

QRadioButton *makeOption(const QString &name, const QString &caption, int row, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    Twips::place(button, 0, 60 + row * 375, 1215, 285);
    return button;
}

} // namespace

frmProxy::frmProxy(FormContext &context)
    : Form(context, QStringLiteral("frmProxy"), QStringLiteral("Routing Wizard - FTP Proxy Options"))
{
    setFont(tahoma());
    setClientSizeTwips(5910, 2730);

    pnlPrxyOpt = new QGroupBox(QStringLiteral("Proxy Type"), this);
    pnlPrxyOpt->setObjectName(QStringLiteral("pnlPrxyOpt"));
    Twips::place(pnlPrxyOpt, 120, 120, 1575, 1935);

    // One container, so the four buttons are one exclusive group.
    Picture1 = new QWidget(pnlPrxyOpt);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Twips::place(Picture1, 120, 300, 1335, 1515);

    rbUser = makeOption(QStringLiteral("rbUser"), QStringLiteral("User"), 0, Picture1);
    rbSite = makeOption(QStringLiteral("rbSite"), QStringLiteral("Site"), 1, Picture1);
    rbLogin = makeOption(QStringLiteral("rbLogin"), QStringLiteral("Login"), 2, Picture1);
    rbOpen = makeOption(QStringLiteral("rbOpen"), QStringLiteral("Open"), 3, Picture1);

    pnlPrxyCon = new QGroupBox(QStringLiteral("Proxy Connection"), this);
    pnlPrxyCon->setObjectName(QStringLiteral("pnlPrxyCon"));
    Twips::place(pnlPrxyCon, 1815, 120, 3975, 1935);

    lblPrxySrvr = makeLabel(QStringLiteral("lblPrxySrvr"), QStringLiteral("Server:"), pnlPrxyCon);
    editPrxyHost = makeBox(QStringLiteral("editPrxyHost"), pnlPrxyCon);
    lblPrxyUsr = makeLabel(QStringLiteral("lblPrxyUsr"), QStringLiteral("User:"), pnlPrxyCon);
    editPrxyUsr = makeBox(QStringLiteral("editPrxyUsr"), pnlPrxyCon);
    lblPrxyPwd = makeLabel(QStringLiteral("lblPrxyPwd"), QStringLiteral("Password:"), pnlPrxyCon);
    editPrxyPwd = makeBox(QStringLiteral("editPrxyPwd"), pnlPrxyCon);
    lblPrxyPort = makeLabel(QStringLiteral("lblPrxyPort"), QStringLiteral("Port:"), pnlPrxyCon);
    editPrxyPort = makeBox(QStringLiteral("editPrxyPort"), pnlPrxyCon);
    editPrxyPort->setText(QStringLiteral("21"));

    QLabel *labels[] = {lblPrxySrvr, lblPrxyUsr, lblPrxyPwd, lblPrxyPort};
    QLineEdit *boxes[] = {editPrxyHost, editPrxyUsr, editPrxyPwd, editPrxyPort};
    for (int i = 0; i < 4; ++i) {
        Twips::place(labels[i], 120, 345 + i * 390, 1035, 255);
        Twips::place(boxes[i], 1215, 300 + i * 390, 2640, 315);
        labels[i]->setBuddy(boxes[i]);
    }
    Twips::place(editPrxyPort, 1215, 300 + 3 * 390, 855, 315);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setFont(msSansSerif());
    OKButton->setDefault(true);
    Twips::place(OKButton, 3240, 2220, 1215, 375);

    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setFont(msSansSerif());
    Twips::place(CancelButton, 4575, 2220, 1215, 375);

    setTabOrder(rbUser, rbSite);
    setTabOrder(rbSite, rbLogin);
    setTabOrder(rbLogin, rbOpen);
    setTabOrder(rbOpen, editPrxyHost);
    setTabOrder(editPrxyHost, editPrxyUsr);
    setTabOrder(editPrxyUsr, editPrxyPwd);
    setTabOrder(editPrxyPwd, editPrxyPort);
    setTabOrder(editPrxyPort, OKButton);
    setTabOrder(OKButton, CancelButton);

    connect(OKButton, &QPushButton::clicked, this, &frmProxy::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmProxy::CancelButton_Click);
}

void frmProxy::setOptionValue(QRadioButton *button, bool value)
{
    if (value) {
        button->setChecked(true);
        return;
    }
    if (!button->isChecked())
        return;
    // An exclusive button refuses to be cleared while it is the selected one.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(exclusive);
}

void frmProxy::Form_Load()
{
    const RouteDef &w = store().workingRoute;
    editPrxyHost->setText(w.PrxyHost);
    editPrxyPwd->setText(w.PrxyPass);
    // A port of 0 shows as "0" here; the FTP page puts "21" there when it opens the dialog.
    editPrxyPort->setText(Numeric::decimal(w.PrxyPort));
    editPrxyUsr->setText(w.PrxyUser);
    // In this order: when several flags are yes, the last one stays selected.
    setOptionValue(rbOpen, w.rbOpen != No);
    setOptionValue(rbLogin, w.rbLogin != No);
    setOptionValue(rbSite, w.rbSite != No);
    setOptionValue(rbUser, w.rbUser != No);
}

void frmProxy::OKButton_Click()
{
    RouteDef &w = store().workingRoute;
    w.PrxyHost = editPrxyHost->text();
    w.PrxyPass = editPrxyPwd->text();
    // A port that does not convert keeps the old one, without a word.
    if (const auto port = Numeric::toInt32(editPrxyPort->text()))
        w.PrxyPort = *port;
    w.PrxyUser = editPrxyUsr->text();
    w.rbOpen = yesNo(rbOpen->isChecked());
    w.rbLogin = yesNo(rbLogin->isChecked());
    w.rbSite = yesNo(rbSite->isChecked());
    w.rbUser = yesNo(rbUser->isChecked());
    // Stays loaded: the FTP page reads these controls again on its own OK.
    setResult(Accepted);
    hideForm();
}

void frmProxy::CancelButton_Click()
{
    unloadForm();
}

} // namespace molvik
