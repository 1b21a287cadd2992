#include "dialogs/clsDialog.h"

#include "forms/FormContext.h"
#include "platform/AnsiText.h"
#include "store/Reg.h"
#include "store/RouteStore.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>

#include <cmath>
#include <stdexcept>

namespace molvik {

namespace {

constexpr quint32 kOpenFlags = 0x280004;
constexpr quint32 kSaveFlags = 0x280006;
constexpr quint32 kColorFlags = 259;
constexpr quint32 kFontFlags = 321;
constexpr int kMaxFiles = 200;

// The text up to the first NUL.
QString untilNul(const QByteArray &bytes, qsizetype from = 0)
{
    const qsizetype end = bytes.indexOf('\0', from);
    return AnsiText::decode(QByteArrayView(bytes).sliced(from, (end < 0 ? bytes.size() : end) - from));
}

QRect windowRect(const QWidget *window)
{
    return window->isWindow() ? window->frameGeometry() : QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
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
    m_owner = owner;
    m_printDlg.structSize = 66;
    m_printDlg.owner = owner;
    return centred([this] { return m_context.dialogs().printDlg(m_printDlg); });
}

QString clsDialog::ShowFile(QWidget *owner)
{
    try {
        if (!m_dlgFilePattern.isEmpty()) {
            m_openFileName.filter = AnsiText::encode(m_dlgFilePattern);
            m_openFileName.defaultExtension = AnsiText::encode(m_dlgFilePattern.right(4));
        } else {
            m_openFileName.filter = QByteArrayLiteral("All Files (*.*)\0*.*\0");
        }
        m_openFileName.flags = kOpenFlags;
        const RouteStore &store = m_context.store();
        m_openFileName.title = QByteArrayLiteral("Select File");
        m_openFileName.initialDir =
            AnsiText::encode(QString(store.environment().componentFolder + store.fileSystem().separator()));
        const FileDialogResult result = ShowOpenDialog(owner);
        if (!result.cancelled)
            return result.directory + result.fileNames.value(0);
    } catch (...) {
        // A host calling this only wants a path: any failure means no file.
    }
    return {};
}

void clsDialog::prepareFileBuffers(QByteArray fileBuffer)
{
    m_openFileName.fileTitle = QByteArray(2048, ' ');
    m_openFileName.file = fileBuffer + QByteArray(2047, ' ') + QByteArray(1, '\0');
}

clsDialog::FileDialogResult clsDialog::ShowOpenDialog(QWidget *owner, bool)
{
    OpenFileName &ofn = m_openFileName;
    ofn.structSize = 76;
    ofn.owner = owner;
    m_owner = owner;
    // The previous contents lead the buffer, so the dialog starts from the last choice.
    prepareFileBuffers(ofn.file);
    if (!centred([&] { return qint32(m_context.dialogs().getOpenFileName(ofn)); }))
        return {};

    FileDialogResult result;
    result.cancelled = false;
    if (ofn.fileTitle.count(' ') != ofn.fileTitle.size()) {
        result.directory = AnsiText::decode(QByteArrayView(ofn.file).first(ofn.fileOffset));
        result.fileNames = {untilNul(ofn.file, ofn.fileOffset)};
        result.count = 1;
        return result;
    }
    // Directory NUL name NUL ... name NUL NUL.
    qsizetype at = ofn.file.indexOf('\0');
    result.directory = untilNul(ofn.file);
    while (at >= 0 && at + 1 < ofn.file.size() && ofn.file.at(at + 1) != '\0') {
        if (result.fileNames.size() == kMaxFiles)
            throw std::out_of_range("Subscript out of range");
        result.fileNames.append(untilNul(ofn.file, at + 1));
        at = ofn.file.indexOf('\0', at + 1);
    }
    result.count = qint16(result.fileNames.size());
    return result;
}

clsDialog::FileDialogResult clsDialog::ShowSaveDialog(QWidget *owner, bool)
{
    OpenFileName &ofn = m_openFileName;
    ofn.structSize = 76;
    ofn.owner = owner;
    m_owner = owner;
    prepareFileBuffers({});
    if (ofn.flags == 0)
        ofn.flags = kSaveFlags;
    if (!centred([&] { return qint32(m_context.dialogs().getSaveFileName(ofn)); }))
        return {};
    FileDialogResult result;
    result.cancelled = false;
    result.directory = AnsiText::decode(QByteArrayView(ofn.file).first(ofn.fileOffset));
    result.fileNames = {untilNul(ofn.file, ofn.fileOffset)};
    result.count = 1;
    return result;
}

clsDialog::ColorDialogResult clsDialog::ShowColorDialog(QWidget *owner, bool)
{
    m_owner = owner;
    ChooseColor &cc = m_chooseColor;
    if (cc.customColors.isEmpty())
        cc.customColors = QByteArray(64, char(254));
    cc.structSize = 36;
    cc.owner = owner;
    cc.flags = kColorFlags;
    if (!centred([&] { return qint32(m_context.dialogs().chooseColor(cc)); }))
        return {0, true};
    return {cc.result, false};
}

clsDialog::FontDialogResult clsDialog::ShowFontDialog(QWidget *owner, const QString &initialFace, bool)
{
    m_owner = owner;
    ChooseFont &cf = m_chooseFont;
    cf.structSize = 60;
    cf.owner = owner;
    cf.custData = 0;
    cf.sizeMin = cf.sizeMax = 0;
    cf.logFont = LogFont();
    const QByteArray face = AnsiText::encode(initialFace).left(31);
    cf.logFont.faceName.replace(0, face.size(), face);
    if (cf.pointSizeTenths == 0)
        cf.pointSizeTenths = 100;
    cf.color = SystemDialogs::colorRef(0, 255, 255);
    if (cf.flags == 0)
        cf.flags = kFontFlags;
    if (!centred([&] { return qint32(m_context.dialogs().chooseFont(cf)); }))
        return {};

    FontDialogResult result;
    result.faceName = untilNul(cf.logFont.faceName);
    result.cancelled = false;
    result.bold = cf.logFont.weight > 400;
    result.italic = cf.logFont.italic != 0;
    result.underline = cf.logFont.underline != 0;
    result.strikeout = cf.logFont.strikeOut != 0;
    // Whole points, halves to even.
    result.size = qint16(std::nearbyint(cf.pointSizeTenths / 10.0));
    result.colour = cf.color;
    return result;
}

qint32 clsDialog::centred(const std::function<qint32()> &call)
{
    SystemDialogs &dialogs = m_context.dialogs();
    m_hook = dialogs.setActivationHook([this](int code, QWidget *window, qintptr param) {
        return m_owner ? CenterOnOwner(code, window, param) : CenterOnScreen(code, window, param);
    });
    // A dialog that never showed a window leaves the hook behind.
    const auto unhook = qScopeGuard([this, &dialogs] {
        if (m_hook != 0)
            dialogs.removeActivationHook(std::exchange(m_hook, 0));
    });
    return call();
}

qint32 clsDialog::CenterOnScreen(int code, QWidget *window, qintptr)
{
    if (code != kActivateCode)
        return 0;
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const QRect rect = windowRect(window);
    moveAndUnhook(window, area.left() + area.width() / 2.0 - rect.width() / 2.0,
                  area.top() + area.height() / 2.0 - rect.height() / 2.0);
    return 0;
}

qint32 clsDialog::CenterOnOwner(int code, QWidget *window, qintptr)
{
    if (code != kActivateCode || !m_owner)
        return 0;
    const QRect owner = windowRect(m_owner);
    const QRect rect = windowRect(window);
    moveAndUnhook(window, owner.left() + owner.width() / 2.0 - rect.width() / 2.0,
                  owner.top() + owner.height() / 2.0 - rect.height() / 2.0);
    return 0;
}

void clsDialog::moveAndUnhook(QWidget *window, double left, double top)
{
    // Keeps the window's size and stacking; only its place changes.
    window->move(int(std::nearbyint(left)), int(std::nearbyint(top)));
    if (m_hook != 0)
        m_context.dialogs().removeActivationHook(std::exchange(m_hook, 0));
}

} // namespace molvik
