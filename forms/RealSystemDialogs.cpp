#include "forms/RealSystemDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace molvik {

namespace {

QRect windowRect(const QWidget *widget)
{
    return widget->isWindow() ? widget->frameGeometry() : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// Places a dialog as it is shown, before Qt would place it by its own rule,
// which keeps it on the screen's free area rather than centred.
class CentreOnShow final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *dialog = static_cast<QWidget *>(watched);
            const QRect area = dialog->parentWidget() ? windowRect(dialog->parentWidget()) : dialog->screen()->geometry();
            const QRect rect = windowRect(dialog);
            dialog->move(int(std::nearbyint(area.left() + (area.width() - rect.width()) / 2.0)),
                         int(std::nearbyint(area.top() + (area.height() - rect.height()) / 2.0)));
        }
        return false;
    }
};

bool accepted(QDialog &dialog)
{
    CentreOnShow centre;
    dialog.installEventFilter(&centre);
    return dialog.exec() == QDialog::Accepted;
}

// A family whose regular face is not called "Normal" or "Regular" would open
// on its first style, an oblique one say: name the plainest style of the
// font's weight and slant instead.
void nameStyle(QFont &font)
{
    const QStringList styles = QFontDatabase::styles(font.family());
    if (styles.contains(QFontDatabase::styleString(font)))
        return;
    QString plainest;
    for (const QString &style : styles) {
        const QFont face = QFontDatabase::font(font.family(), style, 10);
        if (face.weight() == font.weight() && face.style() == font.style() &&
            (plainest.isEmpty() || style.size() < plainest.size()))
            plainest = style;
    }
    if (!plainest.isEmpty())
        font.setStyleName(plainest);
}

} // namespace

QString RealSystemDialogs::browseFolder(QWidget *owner)
{
    QFileDialog dialog(owner);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    return accepted(dialog) ? QDir::toNativeSeparators(dialog.selectedFiles().value(0)) : QString();
}

QStringList RealSystemDialogs::chooseFiles(FileRequest &request)
{
    QFileDialog dialog(request.owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.filters.isEmpty()) {
        dialog.setNameFilters(request.filters);
        dialog.selectNameFilter(request.filters.contains(request.filter) ? request.filter : request.filters.front());
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (QFileInfo(request.initial).isDir())
        dialog.setDirectory(request.initial);
    else if (!request.initial.isEmpty())
        dialog.selectFile(request.initial);
    if (!accepted(dialog))
        return {};
    request.filter = dialog.selectedNameFilter();
    QStringList chosen = dialog.selectedFiles();
    for (QString &path : chosen)
        path = QDir::toNativeSeparators(path);
    return chosen;
}

QColor RealSystemDialogs::chooseColor(QWidget *owner, const QColor &initial, QList<QColor> &custom)
{
    const int count = int(std::min<qsizetype>(custom.size(), QColorDialog::customCount()));
    for (int i = 0; i < count; ++i)
        QColorDialog::setCustomColor(i, custom[i]);
    QColorDialog dialog(initial, owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool confirmed = accepted(dialog);
    for (int i = 0; i < count; ++i)
        custom[i] = QColorDialog::customColor(i);
    return confirmed ? dialog.selectedColor() : QColor();
}

std::optional<QFont> RealSystemDialogs::chooseFont(QWidget *owner, const QFont &initial)
{
    QFont start = initial;
    nameStyle(start);
    QFontDialog dialog(start, owner);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (!accepted(dialog))
        return std::nullopt;
    return dialog.selectedFont();
}

bool RealSystemDialogs::print(QWidget *owner, std::shared_ptr<QPrinter> &printer)
{
    // Without a printer there is nothing to set up: the dialog fails as cancelled.
    if (QPrinterInfo::availablePrinters().isEmpty())
        return false;
    if (!printer)
        printer = std::make_shared<QPrinter>();
    QPrintDialog dialog(printer.get(), owner);
    return accepted(dialog);
}

} // namespace molvik
