#pragma once

#include "forms/SystemDialogs.h"

namespace molvik {

// Qt's own dialogs, not the platform's, so the offscreen platform and tests
// can drive them.
class RealSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override;
};

} // namespace molvik
