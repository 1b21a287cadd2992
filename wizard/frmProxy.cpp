#include "wizard/frmProxy.h"

#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "platform/Numeric.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace molvik {

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

    rbUser = makeControl<QRadioButton>(Picture1, QStringLiteral("rbUser"), 0, 60, 1215, 285, QStringLiteral("User"));
    rbSite = makeControl<QRadioButton>(Picture1, QStringLiteral("rbSite"), 0, 435, 1215, 285, QStringLiteral("Site"));
    rbLogin = makeControl<QRadioButton>(Picture1, QStringLiteral("rbLogin"), 0, 810, 1215, 285, QStringLiteral("Login"));
    rbOpen = makeControl<QRadioButton>(Picture1, QStringLiteral("rbOpen"), 0, 1185, 1215, 285, QStringLiteral("Open"));
    chooseByArrows({rbUser, rbSite, rbLogin, rbOpen});

    pnlPrxyCon = new QGroupBox(QStringLiteral("Proxy Connection"), this);
    pnlPrxyCon->setObjectName(QStringLiteral("pnlPrxyCon"));
    Twips::place(pnlPrxyCon, 1815, 120, 3975, 1935);

    const QString captions[4] = {QStringLiteral("Server:"), QStringLiteral("User:"), QStringLiteral("Password:"),
                                 QStringLiteral("Port:")};
    const QString labelNames[4] = {QStringLiteral("lblPrxySrvr"), QStringLiteral("lblPrxyUsr"), QStringLiteral("lblPrxyPwd"),
                                   QStringLiteral("lblPrxyPort")};
    const QString boxNames[4] = {QStringLiteral("editPrxyHost"), QStringLiteral("editPrxyUsr"), QStringLiteral("editPrxyPwd"),
                                 QStringLiteral("editPrxyPort")};
    QLabel *labels[4];
    QLineEdit *boxes[4];
    for (int i = 0; i < 4; ++i) {
        labels[i] = makeControl<QLabel>(pnlPrxyCon, labelNames[i], 120, 345 + i * 390, 1035, 255, captions[i]);
        boxes[i] = makeControl<QLineEdit>(pnlPrxyCon, boxNames[i], 1215, 300 + i * 390, i == 3 ? 855 : 2640, 315);
        labels[i]->setBuddy(boxes[i]);
    }
    lblPrxySrvr = labels[0];
    lblPrxyUsr = labels[1];
    lblPrxyPwd = labels[2];
    lblPrxyPort = labels[3];
    editPrxyHost = boxes[0];
    editPrxyUsr = boxes[1];
    editPrxyPwd = boxes[2];
    editPrxyPort = boxes[3];
    editPrxyPort->setText(QStringLiteral("21"));

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 3240, 2220, 1215, 375, QStringLiteral("OK"));
    OKButton->setFont(msSansSerif());
    OKButton->setDefault(true);

    CancelButton =
        makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 4575, 2220, 1215, 375, QStringLiteral("Cancel"));
    CancelButton->setFont(msSansSerif());

    setTabChain({rbUser, rbSite, rbLogin, rbOpen, editPrxyHost, editPrxyUsr, editPrxyPwd, editPrxyPort, OKButton, CancelButton});

    connect(OKButton, &QPushButton::clicked, this, &frmProxy::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmProxy::CancelButton_Click);
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

void frmProxy::storeInto(RouteDef &w) const
{
    w.PrxyHost = editPrxyHost->text();
    w.PrxyPass = editPrxyPwd->text();
    if (const auto port = Numeric::toInt32(editPrxyPort->text()))
        w.PrxyPort = *port;
    w.PrxyUser = editPrxyUsr->text();
    w.rbOpen = yesNo(rbOpen->isChecked());
    w.rbLogin = yesNo(rbLogin->isChecked());
    w.rbSite = yesNo(rbSite->isChecked());
    w.rbUser = yesNo(rbUser->isChecked());
}

void frmProxy::OKButton_Click()
{
    if (showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("Proxy Server"), editPrxyHost->text()},
                                                         {QStringLiteral("Proxy User"), editPrxyUsr->text()},
                                                         {QStringLiteral("Proxy Password"), editPrxyPwd->text()}})))
        return;
    storeInto(store().workingRoute);
    // Stays loaded: the FTP page reads these controls again on its own OK.
    setResult(Accepted);
    hide();
}

void frmProxy::CancelButton_Click()
{
    unloadForm();
}

} // namespace molvik
