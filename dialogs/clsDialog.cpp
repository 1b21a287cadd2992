#include "dialogs/clsDialog.h"

#include "forms/FormContext.h"
#include "platform/AnsiText.h"
#include "store/Reg.h"
#include "store/RouteStore.h"

#include <QDir>

#include <cmath>
#include <stdexcept>

namespace molvik {

namespace {

constexpr int kMaxFiles = 200;

// A text as it comes back from the system's ANSI records, cut to limit bytes.
QString ansi(QStringView text, qsizetype limit = -1)
{
    const QByteArray bytes = AnsiText::encode(text);
    return AnsiText::decode(limit < 0 ? bytes : bytes.left(limit));
}

quint32 colorRef(const QColor &c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

// "description NUL patterns NUL ..." as Qt name filters, whose patterns sit in
// the trailing parentheses. "*.*" means every file, with or without a dot.
QStringList nameFilters(const QString &pattern)
{
    QStringList out;
    const QStringList items = pattern.split(QChar(0));
    for (qsizetype i = 0; i + 1 < items.size() && !items[i].isEmpty(); i += 2) {
        QString description = items[i];
        QStringList globs = items[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &glob : globs)
            glob = glob.trimmed() == u"*.*" ? QStringLiteral("*") : glob.trimmed();
        const QString shown = u" (" + items[i + 1] + u')';
        if (description.endsWith(shown))
            description.chop(shown.size());
        out << description + u" (" + globs.join(u' ') + u')';
    }
    return out;
}

// The pattern's last four characters as a suffix: "*.txt" gives "txt", a wildcard none.
QString defaultSuffix(const QString &pattern)
{
    QString suffix = pattern.right(4).section(QChar(0), 0, 0);
    if (suffix.contains(u'*') || suffix.contains(u'?'))
        return {};
    return suffix.startsWith(u'.') ? suffix.mid(1) : suffix;
}

} // namespace

clsDialog::clsDialog() : clsDialog(FormContext::forCurrentThread())
{}

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

qint32 clsDialog::ShowPrinter(QWidget *owner, bool)
{
    return m_context.dialogs().print(owner, m_printer) ? 1 : 0;
}

QString clsDialog::ShowFile(QWidget *owner)
{
    try {
        if (!m_dlgFilePattern.isEmpty()) {
            m_file.filters = nameFilters(m_dlgFilePattern);
            m_file.defaultSuffix = defaultSuffix(m_dlgFilePattern);
        } else {
            m_file.filters = QStringList{QStringLiteral("All Files (*)")};
        }
        m_confirmOverwrite = false;
        m_file.title = QStringLiteral("Select File");
        const RouteStore &store = m_context.store();
        m_file.folder = store.environment().componentFolder + store.fileSystem().separator();
        const FileDialogResult result = ShowOpenDialog(owner);
        if (!result.cancelled)
            return result.directory + result.fileNames.value(0);
    } catch (...) {
        // A host calling this only wants a path: any failure means no file.
    }
    return {};
}

clsDialog::FileDialogResult clsDialog::ShowOpenDialog(QWidget *owner, bool)
{
    return showFileDialog(owner, false);
}

clsDialog::FileDialogResult clsDialog::ShowSaveDialog(QWidget *owner, bool)
{
    if (!m_confirmOverwrite)
        m_confirmOverwrite = true;
    return showFileDialog(owner, true);
}

clsDialog::FileDialogResult clsDialog::showFileDialog(QWidget *owner, bool save)
{
    m_file.owner = owner;
    m_file.save = save;
    m_file.confirmOverwrite = m_confirmOverwrite.value_or(false);
    // An open starts from the last choice, a save from no name.
    if (save)
        m_file.initial.clear();
    const QStringList chosen = m_context.dialogs().chooseFiles(m_file);
    if (chosen.isEmpty())
        return {};

    FileDialogResult result;
    result.cancelled = false;
    const QString &first = chosen.front();
    const qsizetype cut = first.lastIndexOf(QDir::separator()) + 1;
    QString folder = ansi(QStringView(first).first(cut));
    if (save || chosen.size() == 1) {
        result.directory = folder;
        result.fileNames = {ansi(QStringView(first).sliced(cut))};
        m_file.initial = folder + result.fileNames.front();
    } else {
        // Several names follow their folder, which loses its separator except at a root.
        if (folder.size() > 1 && folder.at(folder.size() - 2) != u':')
            folder.chop(1);
        result.directory = m_file.initial = folder;
        if (chosen.size() > kMaxFiles)
            throw std::out_of_range("Subscript out of range");
        for (const QString &path : chosen)
            result.fileNames << ansi(QStringView(path).mid(path.lastIndexOf(QDir::separator()) + 1));
    }
    result.count = qint16(result.fileNames.size());
    return result;
}

clsDialog::ColorDialogResult clsDialog::ShowColorDialog(QWidget *owner, bool)
{
    if (m_customColours.isEmpty())
        m_customColours = QList<QColor>(16, QColor(254, 254, 254));
    const QColor chosen = m_context.dialogs().chooseColor(owner, m_colour, m_customColours);
    if (!chosen.isValid())
        return {};
    m_colour = chosen;
    return {colorRef(chosen), false};
}

clsDialog::FontDialogResult clsDialog::ShowFontDialog(QWidget *owner, const QString &initialFace, bool)
{
    // Face names hold 31 bytes.
    constexpr qsizetype kFaceBytes = 31;
    QFont initial;
    if (const QString face = ansi(initialFace, kFaceBytes); !face.isEmpty())
        initial.setFamily(face);
    if (m_pointSizeTenths == 0)
        m_pointSizeTenths = 100;
    initial.setPointSizeF(m_pointSizeTenths / 10.0);
    const std::optional<QFont> chosen = m_context.dialogs().chooseFont(owner, initial);
    if (!chosen)
        return {};
    m_pointSizeTenths = qRound(chosen->pointSizeF() * 10);

    FontDialogResult result;
    result.faceName = ansi(chosen->family(), kFaceBytes);
    result.cancelled = false;
    // Qt's weights use the system's scale: 400 regular, 700 bold.
    result.bold = chosen->weight() > 400;
    result.italic = chosen->italic();
    result.underline = chosen->underline();
    result.strikeout = chosen->strikeOut();
    // Whole points, halves to even.
    result.size = qint16(std::nearbyint(m_pointSizeTenths / 10.0));
    result.colour = colorRef(QColor(0, 255, 255));
    return result;
}

} // namespace molvik
