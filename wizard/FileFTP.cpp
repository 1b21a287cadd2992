#include "wizard/FileFTP.h"

#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "platform/Numeric.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "wizard/ExplainPanel.h"
#include "wizard/frmProxy.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace molvik {

FileFTP::FileFTP(FormContext &context)
    : Form(context, QStringLiteral("FileFTP"), QStringLiteral("Routing Wizard - File Transfer Protocol"))
{
    setFont(tahoma());
    setClientSizeTwips(7095, ExplainLayout::FileFTP.clientHeight);

    Frame1 = new QGroupBox(QStringLiteral("File Transfer Protocol Parameters"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::place(Frame1, 120, 120, 6855, 2880);

    const QString captions[4] = {QStringLiteral("Site Name/IP Address"), QStringLiteral("User Name"), QStringLiteral("Password"),
                                 QStringLiteral(" Site Directory Path")};
    for (int i = 0; i < 4; ++i) {
        Label6[i] =
            makeControl<QLabel>(Frame1, arrayName(QStringLiteral("Label6"), i), 240, 345 + i * 375, 1815, 255, captions[i]);
        Text1[i] = makeControl<QLineEdit>(Frame1, arrayName(QStringLiteral("Text1"), i), 2160, 300 + i * 375, 4455, 315);
        Label6[i]->setBuddy(Text1[i]);
    }
    makePasswordBox(Text1[2]);

    lblPort = makeControl<QLabel>(Frame1, QStringLiteral("lblPort"), 240, 1845, 1815, 255, QStringLiteral("Port"));
    editPort = makeControl<QLineEdit>(Frame1, QStringLiteral("editPort"), 2160, 1800, 855, 315, QStringLiteral("21"));
    lblPort->setBuddy(editPort);

    // Two rows of switches; the proxy button sits beside its box.
    cbSecure = makeControl<QCheckBox>(Frame1, QStringLiteral("cbSecure"), 240, 2190, 3615, 285,
                                      QStringLiteral("Use Secure File Transfer Protocol"));
    cbPassive = makeControl<QCheckBox>(Frame1, QStringLiteral("cbPassive"), 4080, 2190, 2655, 285,
                                       QStringLiteral("Use FTP Passive Mode"));
    cbSafeUpload = makeControl<QCheckBox>(Frame1, QStringLiteral("cbSafeUpload"), 4080, 2505, 2655, 285,
                                          QStringLiteral("Use SAFE Upload Options"));
    cbProxy =
        makeControl<QCheckBox>(Frame1, QStringLiteral("cbProxy"), 240, 2505, 1875, 285, QStringLiteral("Connect via proxy"));

    Command1 =
        makeControl<QPushButton>(Frame1, QStringLiteral("Command1"), 2160, 2475, 1815, 345, QStringLiteral("Edit Proxy Options"));
    Command1->setAutoDefault(false);

    panel = new ExplainPanel(*this, ExplainLayout::FileFTP);

    CancelButton =
        makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 4440, 3120, 1215, 375, QStringLiteral("Cancel"));

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 5760, 3120, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    setTabChain({Text1[0], Text1[1], Text1[2], Text1[3], editPort, cbSecure, cbPassive, cbProxy, Command1, cbSafeUpload, OKButton,
                 CancelButton, panel->Explain, panel->Text2});

    connect(cbProxy, &QCheckBox::stateChanged, this, &FileFTP::cbProxy_Click);
    connect(cbSafeUpload, &QCheckBox::stateChanged, this, &FileFTP::cbSafeUpload_Click);
    connect(Command1, &QPushButton::clicked, this, &FileFTP::Command1_Click);
    connect(OKButton, &QPushButton::clicked, this, &FileFTP::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &FileFTP::CancelButton_Click);
}

void FileFTP::Form_Load()
{
    const RouteDef &w = store().workingRoute;
    Text1[0]->setText(w.FTPServer);
    Text1[1]->setText(w.FTPLogon);
    Text1[2]->setText(w.FTPPassword);
    Text1[3]->setText(w.RemoteFTPDirectory);
    editPort->setText(w.FTPport != 0 ? Numeric::decimal(w.FTPport) : QStringLiteral("21"));
    // Setting a box runs its click handler, as a click would.
    setCheckValue(cbProxy, w.PrxyEnabled != No ? 1 : 0);
    setCheckValue(cbSecure, w.FTPSecure != No ? 1 : 0);
    setCheckValue(cbPassive, w.FTPPassive != No ? 1 : 0);
    setCheckValue(cbSafeUpload, w.SafeUpload != No ? 1 : 0);
    Command1->setVisible(w.PrxyEnabled != No);
}

void FileFTP::cbProxy_Click()
{
    Command1->setVisible(checkValue(cbProxy) == 1);
}

void FileFTP::cbSafeUpload_Click()
{
    store().workingRoute.SafeUpload = yesNo(checkValue(cbSafeUpload) == 1);
}

void FileFTP::Command1_Click()
{
    const RouteDef &w = store().workingRoute;
    // The first touch loads the dialog, which fills itself from the record;
    // what is set here then wins.
    frmProxy &proxy = context().form<frmProxy>();
    proxy.editPrxyHost->setText(w.PrxyHost);
    proxy.editPrxyPwd->setText(w.PrxyPass);
    proxy.editPrxyPort->setText(w.PrxyPort != 0 ? Numeric::decimal(w.PrxyPort) : QStringLiteral("21"));
    proxy.editPrxyUsr->setText(w.PrxyUser);
    setOptionValue(proxy.rbOpen, w.rbOpen != No);
    setOptionValue(proxy.rbLogin, w.rbLogin != No);
    setOptionValue(proxy.rbSite, w.rbSite != No);
    setOptionValue(proxy.rbUser, w.rbUser != No);
    showModal(proxy);
}

void FileFTP::OKButton_Click()
{
    storeEntries();
    const RouteDef &w = store().workingRoute;
    if (showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("Site Name/IP Address"), w.FTPServer},
                                                         {QStringLiteral("User Name"), w.FTPLogon},
                                                         {QStringLiteral("Password"), w.FTPPassword},
                                                         {QStringLiteral("Site Directory Path"), w.RemoteFTPDirectory}})) ||
        showProblems(*this, CheckFTPEntries()))
        return;
    RouteStore &st = store();
    if (st.workingRoute.FTPMonitor != No) {
        // Only the route editor opens a monitoring route; it saves on its own OK.
        st.workingRoute.DefaultRoute = Yes;
    } else if (st.editIndex == 0) {
        RuleSys::appendAndSave(st);
    }
    context().unload<frmProxy>();
    unloadForm();
}

void FileFTP::storeEntries()
{
    RouteDef &w = store().workingRoute;
    w.FTPServer = Text1[0]->text();
    w.FTPLogon = Text1[1]->text();
    w.FTPPassword = Text1[2]->text();
    w.RemoteFTPDirectory = Text1[3]->text();
    // Converted as a 16-bit number although the field holds 32 bits: a port
    // above 32767, or a text that is no number, keeps the old port.
    if (const auto port = Numeric::toInt16(editPort->text()))
        w.FTPport = *port;
    w.PrxyEnabled = yesNo(checkValue(cbProxy) != 0);
    w.FTPSecure = yesNo(checkValue(cbSecure) != 0);
    w.FTPPassive = yesNo(checkValue(cbPassive) != 0);
    w.SafeUpload = yesNo(checkValue(cbSafeUpload) != 0);
    storeProxy();
    if (w.RemoteFTPDirectory.isEmpty())
        w.RemoteFTPDirectory = QStringLiteral(" ");
}

void FileFTP::storeProxy()
{
    RouteDef &w = store().workingRoute;
    if (w.PrxyEnabled == No) {
        w.PrxyHost.clear();
        w.PrxyPass.clear();
        w.PrxyPort = 0;
        w.PrxyUser.clear();
        w.rbOpen = No;
        w.rbLogin = No;
        w.rbSite = No;
        w.rbUser = No;
        return;
    }
    // Never opened: loading the dialog now fills it from the record, so the
    // record's proxy values come back unchanged.
    context().form<frmProxy>().storeInto(w);
}

void FileFTP::CancelButton_Click()
{
    // Nothing is rolled back: a safe-upload click and a proxy OK stay in the record.
    hide();
    context().unload<frmProxy>();
    unloadForm();
}

QString FileFTP::CheckFTPEntries() const
{
    // The boxes themselves, as OK has just stored them.
    RouteDef entered;
    entered.FTPServer = Text1[0]->text();
    entered.FTPLogon = Text1[1]->text();
    return RouteChecks::ftpProblems(entered);
}

} // namespace molvik
