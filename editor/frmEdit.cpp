#include "editor/frmEdit.h"

#include "forms/FormContext.h"
#include "forms/Twips.h"
#include "store/RouteStore.h"
#include "forms/PageFonts.h"

#include <QPushButton>

namespace molvik {

frmEdit::frmEdit(FormContext &context) : Form(context, QStringLiteral("frmEdit"), QStringLiteral("Routing Wizard - Edit Rule"))
{
    setFont(tahoma());
    setClientSizeTwips(3000, 615);

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 240, 120, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    CancelButton = makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 1560, 120, 1215, 375, QStringLiteral("Cancel"));

    connect(OKButton, &QPushButton::clicked, this, &frmEdit::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmEdit::CancelButton_Click);
}

void frmEdit::OKButton_Click()
{
    unloadForm();
}

void frmEdit::CancelButton_Click()
{
    unloadForm();
}

// Every way out hands the edit index back.
void frmEdit::Form_Unload()
{
    store().editIndex = 0;
}

} // namespace molvik
