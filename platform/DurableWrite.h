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
    // The save lock of the folder the file really lives in (a symlink is
    // followed), held from construction to destruction. Every save of a file
    // in that folder, by any process, waits for it; a caller holds it to
    // read, change and write as one step.
    class FolderLock
    {
    public:
        FolderLock(const QString &local, const QString &reported);
        ~FolderLock();
        FolderLock(const FolderLock &) = delete;
        FolderLock &operator=(const FolderLock &) = delete;
        // Success while the lock is held, else why it could not be taken.
        const IoResult &result() const { return m_result; }

    private:
        friend class DurableWrite;
        QString m_local;
        QByteArray m_target, m_folder, m_name; // the real file, its folder and its name
        int m_folderFd = -1;
        IoResult m_result;
    };

    // local: the path on this system; reported: the path the failure names.
    // Takes the lock itself.
    static IoResult write(const QString &local, const QString &reported, const QByteArray &content);
    // Under a lock the caller holds on local (never locks again: flock on a
    // second descriptor would deadlock).
    static IoResult write(const FolderLock &held, const QString &local, const QString &reported, const QByteArray &content);

    // Renames from over to, durably; NotFound when from is missing, a failure
    // when it is not a regular file.
    static IoResult move(const QString &from, const QString &to, const QString &reported);

private:
    static IoResult save(const FolderLock &lock, const QString &reported, const QByteArray &content);
};

} // namespace molvik
