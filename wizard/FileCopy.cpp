#include "wizard/FileCopy.h"

#include "dialogs/clsDialog.h"
#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "wizard/ExplainPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace molvik {

FileCopy::FileCopy(FormContext &context)
    : Form(context, QStringLiteral("FileCopy"), QStringLiteral("Routing Wizard - Move Files to"))
{
    setFont(tahoma());
    setClientSizeTwips(5290, ExplainLayout::FileCopy.clientHeight);

    Text1 = makeControl<QLineEdit>(this, QStringLiteral("Text1"), 120, 150, 4575, 315);

    Command1 = makeControl<QPushButton>(this, QStringLiteral("Command1"), 4800, 120, 375, 375);
    Command1->setIcon(browseIcon());
    Command1->setAccessibleName(QStringLiteral("Browse for folder"));
    Command1->setToolTip(QStringLiteral("Browse for a folder"));
    Command1->setAutoDefault(false);

    Label1 = makeControl<QLabel>(this, QStringLiteral("Label1"), 120, 540, 5050, 255,
                                 QStringLiteral("Select Destination Drive or Directory in which to Move Files"));
    Label1->setBuddy(Text1);

    panel = new ExplainPanel(*this, ExplainLayout::FileCopy);

    CancelButton = makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 2640, 960, 1215, 375, QStringLiteral("Cancel"));

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 3960, 960, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, OKButton);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, panel->Explain);
    setTabOrder(panel->Explain, panel->Text2);

    connect(Command1, &QPushButton::clicked, this, &FileCopy::Command1_Click);
    connect(OKButton, &QPushButton::clicked, this, &FileCopy::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &FileCopy::CancelButton_Click);
}

FileCopy::~FileCopy() = default;

void FileCopy::Command1_Click()
{
    if (!m_dialog)
        m_dialog = std::make_unique<clsDialog>(context());
    // A cancelled browser gives the empty text, which empties the box too.
    Text1->setText(m_dialog->ShowDirectory(this));
}

void FileCopy::OKButton_Click()
{
    const QString destination = Text1->text();
    if (destination.isEmpty() ||
        showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("Destination Directory"), destination}})))
        return;
    store().workingRoute.RemoteDirectory = destination;
    RuleSys::appendAndSave(store());
    unloadForm();
}

void FileCopy::CancelButton_Click()
{
    unloadForm();
}

void FileCopy::Form_Unload()
{
    m_dialog.reset();
}

} // namespace molvik
