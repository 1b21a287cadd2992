#include "forms/RealSystemDialogs.h"

#include "platform/AnsiText.h"
#include "platform/ComponentFolder.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLibrary>

namespace molvik {

namespace {

// Reports every dialog window being shown, as the system's activation hook does.
class ShowWatcher final : public QObject
{
public:
    explicit ShowWatcher(std::function<void(QWidget *)> onShow) : m_onShow(std::move(onShow)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *dialog = qobject_cast<QDialog *>(watched); dialog && dialog->isWindow())
                m_onShow(dialog);
        }
        return false;
    }

private:
    std::function<void(QWidget *)> m_onShow;
};

QString untilNul(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    return AnsiText::decode(end < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(end));
}

// "description NUL patterns NUL ..." as Qt name filters, whose patterns sit in
// the trailing parentheses. "*.*" means every file, with or without a dot.
QStringList nameFilters(const QByteArray &filter)
{
    QStringList out;
    const QList<QByteArray> items = filter.split('\0');
    for (qsizetype i = 0; i + 1 < items.size() && !items[i].isEmpty(); i += 2) {
        QString description = AnsiText::decode(items[i]);
        const QString patterns = AnsiText::decode(items[i + 1]);
        QStringList globs = patterns.split(u';', Qt::SkipEmptyParts);
        for (QString &glob : globs)
            glob = glob.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : glob.trimmed();
        const QString shown = QStringLiteral(" (") + patterns + u')';
        if (description.endsWith(shown))
            description.chop(shown.size());
        out << description + QStringLiteral(" (") + globs.join(u' ') + u')';
    }
    return out;
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

QColor fromColorRef(quint32 ref)
{
    return QColor(int(ref & 0xFF), int(ref >> 8 & 0xFF), int(ref >> 16 & 0xFF));
}

} // namespace

RealSystemDialogs::RealSystemDialogs()
    : m_watcher(std::make_unique<ShowWatcher>([this](QWidget *dialog) { dialogShown(dialog); }))
{}

RealSystemDialogs::~RealSystemDialogs() = default;

QString RealSystemDialogs::browseFolder(QWidget *owner)
{
    // Qt's own dialog, so the offscreen platform and tests can drive it.
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(
        owner, QString(), QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
}

bool RealSystemDialogs::getOpenFileName(OpenFileName &record)
{
    return runFileDialog(record, false);
}

bool RealSystemDialogs::getSaveFileName(OpenFileName &record)
{
    return runFileDialog(record, true);
}

bool RealSystemDialogs::runFileDialog(OpenFileName &record, bool save)
{
    QFileDialog dialog(record.owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode(record.flags & DialogFlags::kAllowMultiSelect ? QFileDialog::ExistingFiles
                                                                         : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(record.flags & DialogFlags::kOverwritePrompt));
    if (const QString title = untilNul(record.title); !title.isEmpty())
        dialog.setWindowTitle(title);
    const QStringList filters = nameFilters(record.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(qsizetype(record.filterIndex) - 1, filters.front()));
    }
    const QString extension = untilNul(record.defaultExtension);
    if (!extension.contains(u'*') && !extension.contains(u'?'))
        dialog.setDefaultSuffix(extension.startsWith(u'.') ? extension.mid(1) : extension);
    if (const QString folder = untilNul(record.initialDir); !folder.isEmpty())
        dialog.setDirectory(folder);
    // The buffer's text before its first NUL is where the operator starts.
    if (const QString initial = untilNul(record.file).trimmed(); !initial.isEmpty()) {
        if (QFileInfo(initial).isDir())
            dialog.setDirectory(initial);
        else
            dialog.selectFile(initial);
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    record.filterIndex = quint32(filters.indexOf(dialog.selectedNameFilter()) + 1);
    QStringList chosen = dialog.selectedFiles();
    for (QString &path : chosen)
        path = QDir::toNativeSeparators(path);
    return writeChosenFiles(record, chosen);
}

bool RealSystemDialogs::chooseColor(ChooseColor &record)
{
    QByteArray &custom = record.customColors;
    const auto customColor = [&custom](int i) {
        return fromColorRef(quint8(custom[4 * i]) | quint8(custom[4 * i + 1]) << 8 | quint8(custom[4 * i + 2]) << 16);
    };
    const int count = int(custom.size() / 4);
    for (int i = 0; i < count && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, customColor(i));

    QColorDialog dialog(record.owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (record.flags & DialogFlags::kColorInitFromResult)
        dialog.setCurrentColor(fromColorRef(record.result));
    const bool accepted = dialog.exec() == QDialog::Accepted;

    // Custom colours the operator defined are kept, confirmed or not.
    for (int i = 0; i < count && i < QColorDialog::customCount(); ++i) {
        const QColor c = QColorDialog::customColor(i);
        if (c != customColor(i)) {
            const char bytes[] = {char(c.red()), char(c.green()), char(c.blue()), '\0'};
            custom.replace(4 * i, 4, QByteArrayView(bytes, 4));
        }
    }
    if (!accepted)
        return false;
    const QColor chosen = dialog.selectedColor();
    record.result = colorRef(chosen.red(), chosen.green(), chosen.blue());
    return true;
}

bool RealSystemDialogs::chooseFont(ChooseFont &record)
{
    QFont initial;
    if (record.flags & DialogFlags::kFontInitFromLogFont) {
        const LogFont &lf = record.logFont;
        if (const QString face = untilNul(lf.faceName); !face.isEmpty())
            initial.setFamily(face);
        if (lf.weight > 0)
            initial.setWeight(QFont::Weight(lf.weight));
        initial.setItalic(lf.italic != 0);
        initial.setUnderline(lf.underline != 0);
        initial.setStrikeOut(lf.strikeOut != 0);
    }
    if (record.pointSizeTenths > 0)
        initial.setPointSizeF(record.pointSizeTenths / 10.0);
    nameStyle(initial);
    QFontDialog dialog(initial, record.owner);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    writeChosenFont(record, dialog.selectedFont());
    return true;
}

qint32 RealSystemDialogs::printDlg(PrintDlg &record)
{
    // Qt's print support comes with the first print dialog, from the module
    // beside this library; it stays loaded, as the printer it sets up may.
    using Entry = qint32 (*)(PrintDlg &);
    static const Entry entry = [] {
        QLibrary module(componentFolder() + QStringLiteral("/molvik-print"));
        const auto found = reinterpret_cast<Entry>(module.resolve("molvikPrintDialog"));
        if (!found)
            qWarning("no print dialog: %s", qPrintable(module.errorString()));
        return found;
    }();
    return entry ? entry(record) : 0;
}

qintptr RealSystemDialogs::setActivationHook(ActivationHook hook)
{
    if (m_hooks.empty())
        QCoreApplication::instance()->installEventFilter(m_watcher.get());
    m_hooks.emplace(++m_lastHandle, std::move(hook));
    return m_lastHandle;
}

void RealSystemDialogs::removeActivationHook(qintptr handle)
{
    m_hooks.erase(handle);
    if (m_hooks.empty() && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(m_watcher.get());
}

void RealSystemDialogs::dialogShown(QWidget *dialog)
{
    // A hook may remove itself, or another, while it runs.
    const auto hooks = m_hooks;
    for (const auto &[handle, hook] : hooks) {
        if (m_hooks.count(handle))
            hook(kActivateCode, dialog, 0);
    }
}

} // namespace molvik
