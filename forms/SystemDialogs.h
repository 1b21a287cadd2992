#pragma once

#include "platform/MolvikExport.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace molvik {

// What a file dialog shows and where it starts.
struct FileRequest
{
    QWidget *owner = nullptr;
    QString title;
    // Qt name filters, "Text (*.txt)".
    QStringList filters;
    // The filter shown first; on return, the one the operator used.
    QString filter;
    // Added to a name typed without one.
    QString defaultSuffix;
    QString folder;
    // A file to start from, or a folder to open.
    QString initial;
    bool save = false;
    bool confirmOverwrite = false;
};

// The system's dialogs, as clsDialog uses them; each opens on its owner, or
// on the screen when it has none. Paths use native separators.
class MOLVIK_EXPORT SystemDialogs
{
public:
    virtual ~SystemDialogs() = default;
    // An existing folder, or empty when cancelled.
    virtual QString browseFolder(QWidget *owner) = 0;
    // The chosen paths; empty when cancelled.
    virtual QStringList chooseFiles(FileRequest &request) = 0;
    // Starts from initial; custom holds the custom colours, in and out, kept
    // even when the operator cancels. Invalid when cancelled.
    virtual QColor chooseColor(QWidget *owner, const QColor &initial, QList<QColor> &custom) = 0;
    virtual std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) = 0;
    // True when the operator confirmed; the printer is set up on the first
    // call and kept for the next.
    virtual bool print(QWidget *owner, std::shared_ptr<QPrinter> &printer) = 0;
};

} // namespace molvik
