#include "wizard/RuleName.h"

#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "store/Reg.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "wizard/ExplainPanel.h"
#include "wizard/MoveVia.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace molvik {

RuleName::RuleName(FormContext &context)
    : Form(context, QStringLiteral("RuleName"), QStringLiteral("Routing Wizard - Name This Route"))
{
    setFont(tahoma());
    setClientSizeTwips(4815, ExplainLayout::RuleName.clientHeight);

    Label1 = makeControl<QLabel>(this, QStringLiteral("Label1"), 120, 120, 4575, 255,
                                 QStringLiteral("Please Type a Name for this Route"));

    Text1 = makeControl<QLineEdit>(this, QStringLiteral("Text1"), 120, 420, 4575, 315);
    Label1->setBuddy(Text1);

    panel = new ExplainPanel(*this, ExplainLayout::RuleName);

    CancelButton = makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 2280, 960, 1215, 375, QStringLiteral("Cancel"));

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 3480, 960, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    setTabOrder(Text1, OKButton);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, panel->Explain);
    setTabOrder(panel->Explain, panel->Text2);

    connect(OKButton, &QPushButton::clicked, this, &RuleName::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &RuleName::CancelButton_Click);
}

void RuleName::OKButton_Click()
{
    RouteStore &st = store();
    // The page goes on without the shared folder; the save at the end of the
    // wizard meets the same failure and the control reports it.
    (void)Reg::ensureDataFolder(st);
    const QString name = RouteChecks::cleanName(Text1->text());
    st.workingRoute.RouteDef = name;
    Text1->setText(name);
    if (name.isEmpty() || showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("Route Name"), name}})))
        return;
    st.workingRoute.UserDirectory = st.inDataFolder(QStringLiteral("Complete"));
    st.workingRoute.Pattern = QStringLiteral("*.*");
    st.workingRoute.UserID.clear();
    Text1->clear();
    hide();
    showModal(context().form<MoveVia>());
}

void RuleName::CancelButton_Click()
{
    hide();
}

} // namespace molvik
