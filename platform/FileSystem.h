#pragma once

#include "platform/MolvikExport.h"

#include "platform/DurableWrite.h"
#include "platform/IoResult.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;

namespace molvik {

// The file operations the route store uses, on path texts in this file
// system's own form. The real one uses native paths; a subclass can map
// another path form (Windows drive paths, say) onto local folders by
// overriding separator() and localPath().
class MOLVIK_EXPORT FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual QString separator() const;
    // The path as the local operating system names it.
    virtual QString localPath(const QString &path) const;

    QString join(const QString &folder, const QString &name) const { return folder + separator() + name; }

    bool fileExists(const QString &path) const;
    bool folderExists(const QString &path) const;
    // One level only: the parent must exist.
    IoResult createFolder(const QString &path) const;
    // The last path component without its last extension ("Kelmora.old" gives "Kelmora").
    QString baseName(const QString &path) const;

    IoResult readAll(const QString &path, QByteArray &out) const;
    // Opened for reading, or null with the failure in error. Only a regular
    // file opens: a FIFO, device or folder fails at once.
    std::unique_ptr<QFile> openRead(const QString &path, IoResult &error) const;

    // Writes the file whole as DurableWrite describes: replaced by a rename
    // where it can keep the old owner, group and mode, else rewritten in
    // place and synced. A new file is readable by its owner only. Under held,
    // when given, which the write does not take again. Virtual so a test can
    // make the disk fail.
    virtual IoResult writeWhole(const QString &path, const QByteArray &content,
                                const DurableWrite::FolderLock *held = nullptr) const;
    // The save lock of path's folder, held while the result lives: a caller
    // reads, changes and writes the file under it as one step.
    std::unique_ptr<DurableWrite::FolderLock> lockFolder(const QString &path) const;
    // Renames the regular file at path to `to`, replacing what is there.
    // NotFound when there is no file.
    IoResult moveAside(const QString &path, const QString &to) const;
};

} // namespace molvik
