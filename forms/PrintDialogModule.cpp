// Qt's print dialog, in a module of its own beside the library and loaded on
// the first print dialog asked for: a host that never prints never loads Qt's
// print support, which would otherwise cost every start-up.
#include "forms/SystemDialogs.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

extern "C" Q_DECL_EXPORT qint32 molvikPrintDialog(molvik::PrintDlg &record)
{
    // Without a printer there is nothing to set up: the dialog fails as cancelled.
    if (QPrinterInfo::availablePrinters().isEmpty())
        return 0;
    if (!record.device)
        record.device = std::make_shared<QPrinter>();
    QPrintDialog dialog(record.device.get(), record.owner);
    if (record.maxPage > 0)
        dialog.setMinMax(record.minPage, record.maxPage);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    record.fromPage = quint16(record.device->fromPage());
    record.toPage = quint16(record.device->toPage());
    record.copies = quint16(record.device->copyCount());
    return 1;
}
