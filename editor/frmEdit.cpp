#include "editor/frmEdit.h"

#include "dialogs/clsDialog.h"
#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "store/Reg.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/FileKXSecure.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

namespace molvik {

namespace {

// The option indexes and the flag each one stands for.
struct MethodOption
{
    int index;
    YesNo RouteDef::*flag;
    const char *caption;
};

constexpr MethodOption kMethods[] = {
    {5, &RouteDef::DirTransfer, "Directory Copy"},
    {4, &RouteDef::FTPTransfer, "File Transfer Protocol"},
    {2, &RouteDef::EmailTransfer, "Email to Recipient"},
};

bool validSlot(int slot)
{
    return slot >= 1 && slot <= RouteStore::kMaxRoutes;
}

} // namespace

frmEdit::frmEdit(FormContext &context) : Form(context, QStringLiteral("frmEdit"), QStringLiteral("Routing Wizard - Edit Rule"))
{
    setFont(tahoma());
    setClientSizeTwips(5290, 3375);

    const QString label = QStringLiteral("Label1");
    const QString text = QStringLiteral("Text1");
    Label1[0] = makeControl<QLabel>(this, arrayName(label, 0), 120, 120, 4575, 255, QStringLiteral("Route Name"));
    Text1[0] = makeControl<QLineEdit>(this, arrayName(text, 0), 120, 375, 4575, 315);
    Label1[0]->setBuddy(Text1[0]);

    Label1[3] = makeControl<QLabel>(this, arrayName(label, 3), 120, 840, 4575, 255, QStringLiteral("Transfer/Return Directory"));
    Text1[3] = makeControl<QLineEdit>(this, arrayName(text, 3), 120, 1095, 4575, 315);
    Label1[3]->setBuddy(Text1[3]);

    Command1[3] = makeControl<QPushButton>(this, arrayName(QStringLiteral("Command1"), 3), 4800, 1065, 375, 375);
    Command1[3]->setIcon(browseIcon());
    Command1[3]->setToolTip(QStringLiteral("Browse for a folder"));
    Command1[3]->setAccessibleName(QStringLiteral("Browse for folder"));
    Command1[3]->setAutoDefault(false);

    Label2 = makeControl<QLabel>(this, QStringLiteral("Label2"), 120, 1560, 4575, 255, QStringLiteral("Select Transfer Method"));

    int top = 1845;
    for (const MethodOption &m : kMethods) {
        auto *option = makeControl<QRadioButton>(this, arrayName(QStringLiteral("Option1"), m.index), 240, top, 2535, 285,
                                                 QString::fromLatin1(m.caption));
        // A selection from code runs the handler as a click does.
        connect(option, &QRadioButton::toggled, this, [this, i = m.index](bool on) {
            if (on)
                Option1_Click(i);
        });
        Option1[m.index] = option;
        top += 315;
    }
    chooseByArrows({Option1[5], Option1[4], Option1[2]});

    Command3 = makeControl<QPushButton>(this, QStringLiteral("Command3"), 2880, 2115, 2295, 375,
                                        QStringLiteral("Edit Transfer Parameters"));
    Command3->setAutoDefault(false);

    CancelButton =
        makeControl<QPushButton>(this, QStringLiteral("CancelButton"), 2640, 2880, 1215, 375, QStringLiteral("Cancel"));
    OKButton = makeControl<QPushButton>(this, QStringLiteral("OKButton"), 3960, 2880, 1215, 375, QStringLiteral("OK"));
    OKButton->setDefault(true);

    setTabChain({Text1[0], Text1[3], Command1[3], Option1[5], Option1[4], Option1[2], Command3, OKButton, CancelButton});

    connect(Command1[3], &QPushButton::clicked, this, [this] { Command1_Click(3); });
    connect(Command3, &QPushButton::clicked, this, &frmEdit::Command3_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmEdit::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmEdit::CancelButton_Click);
}

frmEdit::~frmEdit() = default;

void frmEdit::Form_Load()
{
    RouteStore &st = store();
    if (validSlot(st.editIndex))
        st.workingRoute = st.routes[std::size_t(st.editIndex)];
    // The flags as loaded: an option's handler clears the others in the
    // working route, and with several set the last selection must still win.
    const RouteDef loaded = st.workingRoute;
    m_loaded = loaded;
    setWindowTitle(QStringLiteral("Edit Route - ") + loaded.RouteDef);
    Text1[0]->setText(loaded.RouteDef);
    Text1[3]->setText(loaded.RemoteDirectory);
    if (loaded.DirTransfer != No)
        Option1[5]->setChecked(true);
    if (loaded.EmailTransfer != No) {
        Option1[2]->setChecked(true);
        setDirectoryEnabled(false);
    }
    if (loaded.FTPTransfer != No) {
        Option1[4]->setChecked(true);
        setDirectoryEnabled(false);
    }
    if (loaded.KelmTransfer != No || loaded.KelmXTransfer != No)
        setDirectoryEnabled(false);
}

void frmEdit::Option1_Click(int Index)
{
    RouteDef &w = store().workingRoute;
    w.DirTransfer = No;
    w.EmailTransfer = No;
    w.FTPTransfer = No;
    w.KelmTransfer = No;
    w.KelmXTransfer = No;
    Command3->setEnabled(true);
    switch (Index) {
    case 5:
        w.DirTransfer = Yes;
        setDirectoryEnabled(true);
        // A directory copy has nothing more to set.
        Command3->setEnabled(false);
        break;
    case 2:
        w.EmailTransfer = Yes;
        setDirectoryEnabled(false);
        break;
    case 4:
        w.FTPTransfer = Yes;
        setDirectoryEnabled(false);
        break;
    default:
        break;
    }
}

void frmEdit::Command1_Click(int Index)
{
    if (Index < 0 || Index >= int(std::size(Text1)) || !Text1[Index])
        return;
    m_dialog = std::make_unique<clsDialog>(context());
    // A cancelled browser keeps the box as it was.
    const QString folder = m_dialog->ShowDirectory(this);
    if (!folder.isEmpty())
        Text1[Index]->setText(folder);
}

void frmEdit::Command3_Click()
{
    // Each page sees the edit index and only fills the working route.
    const RouteDef &w = store().workingRoute;
    if (w.EmailTransfer != No)
        showModal(context().form<FileEmail>());
    if (w.FTPMonitor != No)
        showModal(context().form<FileFTP>());
    if (w.FTPTransfer != No)
        showModal(context().form<FileFTP>());
    if (w.KelmTransfer != No || w.KelmXTransfer != No)
        showModal(context().form<FileKXSecure>());
}

void frmEdit::OKButton_Click()
{
    RouteStore &st = store();
    RouteDef &w = st.workingRoute;
    // A folder that cannot be made shows up as the failed save below.
    (void)Reg::ensureDataFolder(st);

    const QString name = Text1[0]->text();
    if (!name.isEmpty() && RuleSys::nameTaken(st, name, st.editIndex)) {
        context().message(this, {RouteChecks::nameTakenMessage(), QStringLiteral("Routes Wizard"), MsgIcon::None, MsgButtons::Ok});
        return;
    }
    if (showProblems(*this, RouteChecks::unkeptProblems({{QStringLiteral("Route Name"), name},
                                                         {QStringLiteral("Transfer/Return Directory"), Text1[3]->text()}})))
        return;
    w.RouteDef = name;
    // Typed here, it wins over whatever a method page put there.
    w.RemoteDirectory = Text1[3]->text();

    // With no option selected (a secure download route) the route keeps its
    // method: clearing the flags would leave it with none.
    for (const MethodOption &m : kMethods) {
        if (!Option1[m.index]->isChecked())
            continue;
        w.DirTransfer = No;
        w.FTPTransfer = No;
        w.EmailTransfer = No;
        w.HyperTransfer = No;
        w.KelmTransfer = No;
        w.KelmXTransfer = No;
        w.*m.flag = Yes;
    }

    const int slot = std::exchange(st.editIndex, qint16(0));
    // Not reported here; the control tells its host or the operator once the editor is closed.
    const RuleSys::Change change = validSlot(slot) ? RuleSys::replaceRoute(st, st.routesPath(), slot, m_loaded, w)
                                                   : RuleSys::changeRoutes(st, st.routesPath(), [](RouteStore &) { return QString(); });
    st.lastEditSaveFailure = change.failure;
    st.lastRefusal = change.refusal;
    unloadForm();
}

void frmEdit::CancelButton_Click()
{
    store().editIndex = 0;
    unloadForm();
}

void frmEdit::Form_Unload()
{
    store().editIndex = 0;
    m_dialog.reset();
}

void frmEdit::setDirectoryEnabled(bool enabled)
{
    Text1[3]->setEnabled(enabled);
    Command1[3]->setEnabled(enabled);
}

} // namespace molvik
