#include "support/ScriptedSystemDialogs.h"

namespace molvik {

QString ScriptedSystemDialogs::browseFolder(QWidget *owner)
{
    ++folderCalls;
    lastOwner = owner;
    return next(folders);
}

} // namespace molvik
