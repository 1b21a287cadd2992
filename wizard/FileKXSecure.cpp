#include "wizard/FileKXSecure.h"

#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "platform/Numeric.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "wizard/ExplainPanel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace molvik {

FileKXSecure::FileKXSecure(FormContext &context)
    : Form(context, QStringLiteral("FileKXSecure"), QStringLiteral("Rules Wizard - Tessara Download Secure Transfer"))
{
    setFont(tahoma());
    setClientSizeTwips(8775, ExplainLayout::FileKXSecure.clientHeight);

    Frame2 = makeControl<QGroupBox>(this, QStringLiteral("Frame2"), 120, 60, 8535, 780);

    Label6 = makeControl<QLabel>(Frame2, QStringLiteral("Label6"), 240, 330, 1815, 255, QStringLiteral("IP Address of QTMX"));
    Text1 = makeControl<QLineEdit>(Frame2, QStringLiteral("Text1"), 2160, 285, 3255, 315, QStringLiteral("127.0.0.1"));
    Label6->setBuddy(Text1);

    lblPort = makeControl<QLabel>(Frame2, QStringLiteral("lblPort"), 5760, 330, 615, 255, QStringLiteral("Port"));
    Text3 = makeControl<QLineEdit>(Frame2, QStringLiteral("Text3"), 6480, 285, 1215, 315, QStringLiteral("2000"));
    lblPort->setBuddy(Text3);

    panel = new ExplainPanel(*this, ExplainLayout::FileKXSecure);

    CancelButton = makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 6120, 960, 1215, 375, QStringLiteral("Cancel"));

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 7440, 960, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    setTabChain({Text1, Text3, OKButton, CancelButton, panel->Explain, panel->Text2});

    connect(OKButton, &QPushButton::clicked, this, &FileKXSecure::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &FileKXSecure::CancelButton_Click);
}

void FileKXSecure::Form_Load()
{
    // The defaults go into the record itself, so they stay even after Cancel.
    RouteDef &w = store().workingRoute;
    if (w.KXSecureIP.isEmpty())
        w.KXSecureIP = QStringLiteral("127.0.0.1");
    if (w.KXSecurePort == 0)
        w.KXSecurePort = 2000;
    Text1->setText(w.KXSecureIP);
    Text3->setText(Numeric::decimal(w.KXSecurePort));
}

void FileKXSecure::OKButton_Click()
{
    RouteStore &st = store();
    if (showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("IP Address of QTMX"), Text1->text()}})))
        return;
    st.workingRoute.KXSecureIP = Text1->text();
    // A text that is no number, or too big for 32 bits, keeps the old port.
    if (const auto port = Numeric::toInt32(Text3->text()))
        st.workingRoute.KXSecurePort = *port;
    hide();
    if (st.editIndex == 0)
        RuleSys::appendAndSave(st);
    unloadForm();
}

void FileKXSecure::CancelButton_Click()
{
    hide();
    unloadForm();
}

} // namespace molvik
