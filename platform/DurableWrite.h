#pragma once

#include "platform/IoResult.h"

#include <QByteArray>
#include <QString>

namespace molvik {

// Writes a file whole, for the routes file and its passwords.
//
// Saves in one folder are serialised across processes by an advisory lock on
// the folder, held only while a save runs. The new content goes to a hidden
// temporary file beside the real file (a symlink is followed), which takes
// the old file's owner, group and mode, is synced and renamed over it, so
// the path holds the old content or the new, never a cut file. Where the
// temporary file cannot be made or given the old owner (a folder we may not
// write, another user's file), the file is rewritten in place and synced
// instead. A new file is readable by its owner only. Temporary files a
// killed save left behind are removed by the next save, never one a live
// save still holds.
class DurableWrite
{
public:
    // local: the path on this system; reported: the path the failure names.
    static IoResult write(const QString &local, const QString &reported, const QByteArray &content);

    // Renames from over to, durably; NotFound when from is missing, a failure
    // when it is not a regular file.
    static IoResult move(const QString &from, const QString &to, const QString &reported);

    // Yes for the name a temporary file of a save of fileName carries.
    static bool isTemporaryOf(const QString &name, const QString &fileName);
};

} // namespace molvik
