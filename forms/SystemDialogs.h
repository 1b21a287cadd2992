#pragma once

#include "platform/MolvikExport.h"

#include <QString>

class QWidget;

namespace molvik {

// The system's dialogs, as clsDialog uses them.
class MOLVIK_EXPORT SystemDialogs
{
public:
    virtual ~SystemDialogs() = default;
    // An existing file-system folder, or empty when cancelled.
    virtual QString browseFolder(QWidget *owner) = 0;
};

} // namespace molvik
