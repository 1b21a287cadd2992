#include "support/ScriptedSystemDialogs.h"

namespace molvik {

QString ScriptedSystemDialogs::browseFolder(QWidget *owner)
{
    ++folderCalls;
    lastOwner = owner;
    if (folders.empty())
        return {};
    QString f = folders.front();
    folders.pop_front();
    return f;
}

} // namespace molvik
