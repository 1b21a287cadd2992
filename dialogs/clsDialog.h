#pragma once

#include "platform/MolvikExport.h"

#include "forms/SystemDialogs.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

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

private:
    friend class ClsDialogTest;

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

    void Class_Initialize();
    FileDialogResult ShowOpenDialog(QWidget *owner, bool centerForm = false);
    FileDialogResult ShowSaveDialog(QWidget *owner, bool centerForm = false);
    ColorDialogResult ShowColorDialog(QWidget *owner, bool centerForm = false);
    FontDialogResult ShowFontDialog(QWidget *owner, const QString &initialFace, bool centerForm = false);
    qint32 CenterOnScreen(int code, QWidget *window, qintptr param);
    qint32 CenterOnOwner(int code, QWidget *window, qintptr param);

    // Runs a dialog call with the centring hook installed for its window.
    qint32 centred(const std::function<qint32()> &call);
    void moveAndUnhook(QWidget *window, double left, double top);
    void prepareFileBuffers(QByteArray fileBuffer);

    // Instance data; each structure seeds the next call of its kind.
    OpenFileName m_openFileName;
    ChooseColor m_chooseColor;
    ChooseFont m_chooseFont;
    PrintDlg m_printDlg;
    QPointer<QWidget> m_owner;
    qintptr m_hook = 0;
    QString m_dlgFilePattern;

    FormContext &m_context;
};

} // namespace molvik
