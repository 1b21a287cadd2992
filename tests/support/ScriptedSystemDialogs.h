#pragma once

#include "forms/SystemDialogs.h"

#include <deque>

namespace molvik {

class ScriptedSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override;
    // Queued answers; an empty text is a cancelled browser.
    std::deque<QString> folders;
    int folderCalls = 0;
    QWidget *lastOwner = nullptr;
};

} // namespace molvik
