#include "wizard/MoveVia.h"

#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "store/RouteStore.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace molvik {

MoveVia::MoveVia(FormContext &context)
    : Form(context, QStringLiteral("MoveVia"), QStringLiteral("Routing Wizard - Move Files Via"))
{
    setFont(tahoma());
    setClientSizeTwips(5415, ExplainLayout::MoveVia.clientHeight);

    Frame1 = new QGroupBox(QStringLiteral("Select Transfer Method"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::place(Frame1, 120, 120, 3855, 1695);

    Picture1 = new QWidget(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Twips::place(Picture1, 120, 300, 3615, 1275);

    const QString captions[3] = {QStringLiteral("Directory/Network Copy"), QStringLiteral("File Transfer Protocol"),
                                 QStringLiteral("Email to Recipient")};
    for (int i = 0; i < 3; ++i) {
        Option1[i] =
            makeControl<QRadioButton>(Picture1, arrayName(QStringLiteral("Option1"), i), 0, 60 + i * 420, 3495, 315, captions[i]);
    }
    chooseByArrows({Option1[0], Option1[1], Option1[2]});

    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 4080, 240, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    CancelButton = makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 4080, 720, 1215, 375, QStringLiteral("Cancel"));

    panel = new ExplainPanel(*this, ExplainLayout::MoveVia);

    setTabChain({Option1[0], Option1[1], Option1[2], OKButton, CancelButton, panel->Explain, panel->Text2});

    connect(OKButton, &QPushButton::clicked, this, &MoveVia::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &MoveVia::CancelButton_Click);
}

void MoveVia::OKButton_Click()
{
    RouteDef &w = store().workingRoute;
    hide();
    if (Option1[0]->isChecked()) {
        w.DirTransfer = Yes;
        showModal(context().form<FileCopy>());
    }
    if (Option1[1]->isChecked()) {
        w.FTPTransfer = Yes;
        showModal(context().form<FileFTP>());
    }
    if (Option1[2]->isChecked()) {
        w.EmailTransfer = Yes;
        showModal(context().form<FileEmail>());
    }
    if (!Option1[0]->isChecked() && !Option1[1]->isChecked() && !Option1[2]->isChecked()) {
        w.DirTransfer = Yes;
        showModal(context().form<FileCopy>());
    }
}

void MoveVia::CancelButton_Click()
{
    hide();
}

} // namespace molvik
