#include "dialogs/clsDialog.h"

#include "forms/FormContext.h"
#include "store/Reg.h"

namespace molvik {

clsDialog::clsDialog(FormContext &context) : m_context(context)
{
    Class_Initialize();
}

void clsDialog::Class_Initialize()
{
    // The dialogs work without the data folder; the control reports its
    // failure on its next file operation.
    (void)Reg::selectDataFolder(m_context.store());
}

QString clsDialog::ShowDirectory(QWidget *owner)
{
    return m_context.dialogs().browseFolder(owner);
}

} // namespace molvik
