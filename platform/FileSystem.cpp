#include "platform/FileSystem.h"

#include "platform/DurableWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace molvik {

QString FileSystem::separator() const
{
    return QString(QDir::separator());
}

QString FileSystem::localPath(const QString &path) const
{
    return path;
}

bool FileSystem::fileExists(const QString &path) const
{
    const QFileInfo info(localPath(path));
    return info.exists() && !info.isDir();
}

bool FileSystem::folderExists(const QString &path) const
{
    return QFileInfo(localPath(path)).isDir();
}

IoResult FileSystem::createFolder(const QString &path) const
{
    const QString local = localPath(path);
#ifdef Q_OS_UNIX
    if (::mkdir(QFile::encodeName(local).constData(), 0777) == 0)
        return IoResult::success();
    const int err = errno;
#else
    if (QDir().mkdir(local))
        return IoResult::success();
    const int err = 0;
#endif
    const QFileInfo info(local);
    QString why = QStringLiteral("cannot create the folder");
    if (info.exists())
        why = QStringLiteral("a file or folder of that name is in the way");
    else if (!info.absoluteDir().exists())
        why = QStringLiteral("the folder above it does not exist");
    return IoResult::failure(IoResult::Code::CreateFolderFailed, path, why, err);
}

QString FileSystem::baseName(const QString &path) const
{
    QString last = path;
    const QString sep = separator();
    while (last.size() > 1 && last.endsWith(sep))
        last.chop(sep.size());
    const qsizetype lastSeparator = last.lastIndexOf(sep);
    if (lastSeparator >= 0)
        last = last.mid(lastSeparator + sep.size());
    const qsizetype dot = last.lastIndexOf(u'.');
    return dot > 0 ? last.left(dot) : last;
}

std::unique_ptr<QFile> FileSystem::openRead(const QString &path, IoResult &error) const
{
    auto file = std::make_unique<QFile>(localPath(path));
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK a FIFO would hold the open until a writer came; a
    // regular file ignores the flag, so it stays.
    const int fd = ::open(QFile::encodeName(file->fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st
    {
    };
    const int err = fd < 0 || ::fstat(fd, &st) != 0 ? errno : 0;
    if (err != 0 || !S_ISREG(st.st_mode)) {
        error = err != 0 ? IoResult::systemFailure(
                               fd < 0 && err == ENOENT ? IoResult::Code::NotFound : IoResult::Code::OpenFailed, path, err)
                         : IoResult::notRegularFile(path, S_ISDIR(st.st_mode));
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    // Unbuffered: readers ask for large pieces, which need no second copy.
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = IoResult::failure(IoResult::Code::OpenFailed, path, file->errorString(), EIO);
        return nullptr;
    }
#else
    if (QFileInfo(file->fileName()).exists() && !QFileInfo(file->fileName()).isFile()) {
        error = IoResult::notRegularFile(path, QFileInfo(file->fileName()).isDir());
        return nullptr;
    }
    if (!file->open(QIODevice::ReadOnly)) {
        const auto code = file->exists() ? IoResult::Code::OpenFailed : IoResult::Code::NotFound;
        error = IoResult::failure(code, path, file->errorString());
        return nullptr;
    }
#endif
    error = IoResult::success();
    return file;
}

IoResult FileSystem::readAll(const QString &path, QByteArray &out) const
{
    IoResult result;
    auto file = openRead(path, result);
    if (!file)
        return result;
    out = file->readAll();
    if (file->error() != QFileDevice::NoError)
        return IoResult::failure(IoResult::Code::ReadFailed, path, file->errorString(), EIO);
    return IoResult::success();
}

IoResult FileSystem::writeWhole(const QString &path, const QByteArray &content, const DurableWrite::FolderLock *held) const
{
    return held ? DurableWrite::write(*held, localPath(path), path, content) : DurableWrite::write(localPath(path), path, content);
}

std::unique_ptr<DurableWrite::FolderLock> FileSystem::lockFolder(const QString &path) const
{
    return std::make_unique<DurableWrite::FolderLock>(localPath(path), path);
}

IoResult FileSystem::moveAside(const QString &path, const QString &to) const
{
    return DurableWrite::move(localPath(path), localPath(to), path);
}

} // namespace molvik
