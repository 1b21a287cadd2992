#pragma once

#include "platform/MolvikExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFont;
class QPrinter;
class QWidget;

namespace molvik {

// The records the system's dialogs read and write. Texts are ANSI bytes laid
// out as the system holds them: NUL-terminated inside buffers whose size is
// the byte array's size.
struct OpenFileName
{
    quint32 structSize = 0;
    QWidget *owner = nullptr;
    // Pairs of "description NUL patterns NUL"; patterns are separated by ';'.
    QByteArray filter;
    QByteArray customFilter;
    quint32 filterIndex = 0;
    // In: the initial name before the first NUL. Out: one chosen path, or
    // "directory NUL name NUL ... NUL NUL" for several files.
    QByteArray file;
    // Out: the chosen name alone, for one file only.
    QByteArray fileTitle;
    QByteArray initialDir;
    QByteArray title;
    quint32 flags = 0;
    quint16 fileOffset = 0;
    quint16 extensionOffset = 0;
    QByteArray defaultExtension;
    qintptr custData = 0;
};

// Colours are 0x00BBGGRR, as the system packs them.
struct ChooseColor
{
    quint32 structSize = 0;
    QWidget *owner = nullptr;
    quint32 result = 0;
    // 16 colours of 4 bytes each.
    QByteArray customColors;
    quint32 flags = 0;
    qintptr custData = 0;
};

struct LogFont
{
    qint32 weight = 0;
    quint8 italic = 0;
    quint8 underline = 0;
    quint8 strikeOut = 0;
    // 32 bytes, NUL-terminated.
    QByteArray faceName = QByteArray(32, '\0');
};

struct ChooseFont
{
    quint32 structSize = 0;
    QWidget *owner = nullptr;
    LogFont logFont;
    qint32 pointSizeTenths = 0;
    quint32 flags = 0;
    quint32 color = 0;
    qintptr custData = 0;
    quint16 fontType = 0;
    qint32 sizeMin = 0;
    qint32 sizeMax = 0;
};

struct PrintDlg
{
    quint32 structSize = 0;
    QWidget *owner = nullptr;
    // The device the dialog set up; kept for the next call, never released.
    std::shared_ptr<QPrinter> device;
    quint32 flags = 0;
    quint16 fromPage = 0, toPage = 0, minPage = 0, maxPage = 0, copies = 0;
};

namespace DialogFlags {
constexpr quint32 kOverwritePrompt = 0x2;
constexpr quint32 kAllowMultiSelect = 0x200;
constexpr quint32 kColorInitFromResult = 0x1;
constexpr quint32 kFontInitFromLogFont = 0x40;
} // namespace DialogFlags

// Called as a window is activated, with the activation code, the window and
// a parameter; the result is ignored.
using ActivationHook = std::function<qint32(int code, QWidget *window, qintptr param)>;
constexpr int kActivateCode = 5;

// The system's dialogs, as clsDialog uses them. Each dialog reads its record
// and writes back what the operator chose; false or 0 when cancelled or failed.
class MOLVIK_EXPORT SystemDialogs
{
public:
    virtual ~SystemDialogs() = default;
    // An existing file-system folder, or empty when cancelled.
    virtual QString browseFolder(QWidget *owner) = 0;
    virtual bool getOpenFileName(OpenFileName &record) = 0;
    virtual bool getSaveFileName(OpenFileName &record) = 0;
    virtual bool chooseColor(ChooseColor &record) = 0;
    virtual bool chooseFont(ChooseFont &record) = 0;
    virtual qint32 printDlg(PrintDlg &record) = 0;
    // The hook runs for every dialog window shown on this thread until it is
    // removed; the handle is never 0.
    virtual qintptr setActivationHook(ActivationHook hook) = 0;
    virtual void removeActivationHook(qintptr handle) = 0;

    // Writes chosen paths (native separators) into the record as the system
    // does; false when they do not fit its buffer. Several paths share one folder.
    static bool writeChosenFiles(OpenFileName &record, const QStringList &paths);
    static void writeChosenFont(ChooseFont &record, const QFont &font);
    static quint32 colorRef(int red, int green, int blue) { return quint32(red) | quint32(green) << 8 | quint32(blue) << 16; }
};

} // namespace molvik
