#pragma once

#include "forms/SystemDialogs.h"

#include <deque>

namespace molvik {

// Answers the folder browser from a queue; an empty text is a cancelled browser.
class ScriptedSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override
    {
        lastOwner = owner;
        if (folders.empty())
            return {};
        const QString folder = folders.front();
        folders.pop_front();
        return folder;
    }
    std::deque<QString> folders;
    QWidget *lastOwner = nullptr;
};

} // namespace molvik
