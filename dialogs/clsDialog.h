#pragma once

#include "platform/MolvikExport.h"

#include "forms/SystemDialogs.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace molvik {

class FormContext;

// Wraps the system's folder browser and standard dialogs. Each user holds its
// own instance; creating one refreshes the data folder. Every dialog opens
// centred on its owner window, or on the screen when there is none.
class MOLVIK_EXPORT clsDialog
{
public:
    // On the calling thread's shared route store, with the real dialogs.
    clsDialog();
    explicit clsDialog(FormContext &context);

    void setDlgFilePattern(const QString &pattern) { m_dlgFilePattern = pattern; }
    QString dlgFilePattern() const { return m_dlgFilePattern; }

    // The chosen folder's path, or the empty text when the browser is cancelled.
    QString ShowDirectory(QWidget *owner);
    // The chosen file's full path, or the empty text when cancelled or failed.
    QString ShowFile(QWidget *owner);
    // The print dialog's result: non-zero when the operator confirmed.
    qint32 ShowPrinter(QWidget *owner, bool centerForm = false);

protected:
    struct FileDialogResult
    {
        qint16 count = 0;
        // The first name is fileNames[0].
        QStringList fileNames;
        QString directory;
        bool cancelled = true;
    };
    struct ColorDialogResult
    {
        // 0x00BBGGRR.
        quint32 colour = 0;
        bool cancelled = true;
    };
    struct FontDialogResult
    {
        QString faceName;
        bool cancelled = true;
        bool bold = false;
        bool italic = false;
        qint16 size = 0;
        bool underline = false;
        bool strikeout = false;
        quint32 colour = 0;
    };

    // Throws std::out_of_range for more than 200 files.
    FileDialogResult ShowOpenDialog(QWidget *owner, bool centerForm = false);
    FileDialogResult ShowSaveDialog(QWidget *owner, bool centerForm = false);
    ColorDialogResult ShowColorDialog(QWidget *owner, bool centerForm = false);
    FontDialogResult ShowFontDialog(QWidget *owner, const QString &initialFace, bool centerForm = false);

private:
    void Class_Initialize();
    FileDialogResult showFileDialog(QWidget *owner, bool save);

    // Each dialog starts from what the previous one of its kind left.
    FileRequest m_file;
    // Unset until a dialog sets it: ShowFile sets it off, a save on.
    std::optional<bool> m_confirmOverwrite;
    QColor m_colour = Qt::black;
    QList<QColor> m_customColours;
    int m_pointSizeTenths = 0;
    std::shared_ptr<QPrinter> m_printer;
    QString m_dlgFilePattern;

    FormContext &m_context;
};

} // namespace molvik
