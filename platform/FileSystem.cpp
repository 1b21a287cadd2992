#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace molvik {

namespace {

QString systemMessage(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

#ifdef Q_OS_UNIX
// Makes a rename in the folder durable.
bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
#endif

// A kill during a save can leave QSaveFile's temporary file ("name.XXXXXX")
// behind; it may hold passwords, so it goes before the next save.
void removeLeftovers(const QFileInfo &target)
{
    QDir dir = target.absoluteDir();
    const QRegularExpression leftover(QLatin1Char('^') + QRegularExpression::escape(target.fileName()) +
                                      QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    const QStringList names = dir.entryList({target.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (leftover.match(name).hasMatch())
            dir.remove(name);
    }
}

} // namespace

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
    if (QDir().mkdir(local))
        return IoResult::success();
    const QFileInfo info(local);
    QString why = QStringLiteral("cannot create the folder");
    if (info.exists())
        why = QStringLiteral("a file or folder of that name is in the way");
    else if (!info.absoluteDir().exists())
        why = QStringLiteral("the folder above it does not exist");
    return IoResult::failure(IoResult::Code::CreateFolderFailed, path, why);
}

QString FileSystem::baseName(const QString &path) const
{
    QString last = path;
    const QString sep = separator();
    while (last.size() > 1 && last.endsWith(sep))
        last.chop(sep.size());
    const qsizetype cut = last.lastIndexOf(sep);
    if (cut >= 0)
        last = last.mid(cut + sep.size());
    const qsizetype dot = last.lastIndexOf(u'.');
    return dot > 0 ? last.left(dot) : last;
}

IoResult FileSystem::deleteFile(const QString &path) const
{
    QFile file(localPath(path));
    if (file.remove())
        return IoResult::success();
    return IoResult::failure(IoResult::Code::DeleteFailed, path, file.errorString());
}

std::unique_ptr<QFile> FileSystem::openRead(const QString &path, IoResult &error) const
{
    auto file = std::make_unique<QFile>(localPath(path));
    errno = 0;
    if (QFileInfo(file->fileName()).isDir()) {
        error = IoResult::failure(IoResult::Code::OpenFailed, path, systemMessage(EISDIR), EISDIR);
        return nullptr;
    }
    if (!file->open(QIODevice::ReadOnly)) {
        const int err = errno != 0 ? errno : EIO;
        const auto code = err == ENOENT ? IoResult::Code::NotFound : IoResult::Code::OpenFailed;
        error = IoResult::failure(code, path, systemMessage(err), err);
        return nullptr;
    }
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

IoResult FileSystem::writeWhole(const QString &path, const QByteArray &content) const
{
    const QString local = localPath(path);
    const QFileInfo target(local);
    if (!target.absoluteDir().exists())
        return IoResult::failure(IoResult::Code::OpenFailed, path, systemMessage(ENOENT), ENOENT);
    removeLeftovers(target);
    const bool existed = target.exists();

    QSaveFile file(local);
    if (!file.open(QIODevice::WriteOnly))
        return IoResult::failure(IoResult::Code::OpenFailed, path, file.errorString());

    // Qt 6.4 can report a full disk as a successful commit, so every step is
    // checked here and the data is synced before the rename.
    auto fail = [&](IoResult::Code code, const QString &why, int err) {
        file.cancelWriting();
        return IoResult::failure(code, path, why, err);
    };
    // Owner-only before the first byte: where the temporary file has a name
    // (no O_TMPFILE), others could open it while it holds the passwords.
    if (!existed && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return fail(IoResult::Code::WriteFailed, file.errorString(), errno);
    errno = 0;
    if (file.write(content) != content.size())
        return fail(IoResult::Code::WriteFailed, file.errorString(), errno);
    if (!file.flush())
        return fail(IoResult::Code::WriteFailed, file.errorString(), errno);
#ifdef Q_OS_UNIX
    if (::fdatasync(file.handle()) != 0) {
        const int err = errno;
        return fail(IoResult::Code::SyncFailed, systemMessage(err), err);
    }
#endif
    if (file.error() != QFileDevice::NoError)
        return fail(IoResult::Code::WriteFailed, file.errorString(), errno);
    errno = 0;
    if (!file.commit()) {
        const int err = errno;
        return IoResult::failure(IoResult::Code::CommitFailed, path, file.errorString(), err);
    }
#ifdef Q_OS_UNIX
    if (!syncFolder(target.absolutePath())) {
        const int err = errno;
        return IoResult::failure(IoResult::Code::SyncFailed, path, systemMessage(err), err);
    }
#endif
    return IoResult::success();
}

} // namespace molvik
