#pragma once

#include "platform/MolvikExport.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <array>

class QWidget;

namespace molvik {

class FormContext;

// Wraps the system's folder browser and standard dialogs. Each user holds its
// own instance; creating one refreshes the data folder.
class MOLVIK_EXPORT clsDialog
{
public:
    explicit clsDialog(FormContext &context);

    void setDlgFilePattern(const QString &pattern) { m_dlgFilePattern = pattern; }
    QString dlgFilePattern() const { return m_dlgFilePattern; }

    // The chosen folder's path, or the empty text when the browser is cancelled.
    QString ShowDirectory(QWidget *owner);

private:
    void Class_Initialize();

    // Instance data in the order the dialogs use it; the open, save, colour,
    // font and print operations fill these.
    struct OpenFileName
    {
        QWidget *owner = nullptr;
        QString filter, customFilter;
        int filterIndex = 0;
        QString file, fileTitle, initialDir, title;
        quint32 flags = 0;
        quint16 fileOffset = 0, extensionOffset = 0;
        QString defaultExtension;
    } m_openFileName;
    struct ChooseColor
    {
        QWidget *owner = nullptr;
        QColor result;
        std::array<QColor, 16> customColors{};
        quint32 flags = 0;
    } m_chooseColor;
    struct ChooseFont
    {
        QWidget *owner = nullptr;
        QFont font;
        int pointSizeTenths = 0;
        quint32 flags = 0;
        QColor color;
        int minSize = 0, maxSize = 0;
    } m_chooseFont;
    struct PrintDlg
    {
        QWidget *owner = nullptr;
        quint32 flags = 0;
        int fromPage = 0, toPage = 0, minPage = 0, maxPage = 0, copies = 1;
    } m_printDlg;
    QWidget *m_owner = nullptr;
    qintptr m_hook = 0;
    QString m_dlgFilePattern;

    FormContext &m_context;
};

} // namespace molvik
