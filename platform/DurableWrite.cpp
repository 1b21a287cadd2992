#include "platform/DurableWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace molvik {

namespace {

const QString kTemporarySuffix = QStringLiteral(".saving");

QString systemMessage(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// The file a path names once symlinks are followed, so the temporary file
// goes where the rename can reach and the sweep looks where it was left.
QString realPath(const QString &local)
{
    const QFileInfo info(local);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

} // namespace

bool DurableWrite::isTemporaryOf(const QString &name, const QString &fileName)
{
    // Hidden, six random characters and a fixed suffix: no operator's backup
    // of the file looks like this.
    const QRegularExpression form(QStringLiteral("^\\.") + QRegularExpression::escape(fileName) +
                                  QStringLiteral("\\.[A-Za-z0-9]{6}") + QRegularExpression::escape(kTemporarySuffix) +
                                  QLatin1Char('$'));
    return form.match(name).hasMatch();
}

#ifdef Q_OS_UNIX

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

int openFolder(const QString &folder)
{
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Makes a rename in the folder durable.
int syncFolder(const QString &folder)
{
    const Descriptor fd(openFolder(folder));
    if (!fd)
        return errno;
    return ::fsync(fd.get()) == 0 ? 0 : errno;
}

int lockRetrying(int fd, int operation)
{
    int r;
    while ((r = ::flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return r == 0 ? 0 : errno;
}

// Every byte at offset 0, then the length, then a sync; 0 or the errno of
// the failure.
int writeAt0(int fd, const QByteArray &content)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, std::size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    if (::ftruncate(fd, off_t(content.size())) != 0)
        return errno;
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

// Removes temporary files of fileName that killed saves left behind. One a
// live save holds is locked, and stays.
void sweep(const QString &folder, const QString &fileName)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!DurableWrite::isTemporaryOf(name, fileName))
            continue;
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        const Descriptor fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st
        {
        };
        if (fd && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
    }
}

// A new, owner-only temporary file beside the target, locked so no other
// save's sweep takes it; its name goes to name. -1 with errno on failure.
int createTemporary(const QString &folder, const QString &fileName, QByteArray &name)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 64; ++attempt) {
        QString random;
        for (int i = 0; i < 6; ++i)
            random += QLatin1Char(alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet - 1))]);
        name = QFile::encodeName(folder + QStringLiteral("/.") + fileName + u'.' + random + kTemporarySuffix);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (lockRetrying(fd, LOCK_EX) != 0) {
                const int err = errno;
                ::close(fd);
                ::unlink(name.constData());
                errno = err;
                return -1;
            }
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

IoResult DurableWrite::write(const QString &local, const QString &reported, const QByteArray &content)
{
    const QString real = realPath(local);
    const QFileInfo info(real);
    const QByteArray file = QFile::encodeName(real);
    auto failure = [&](IoResult::Code code, int err, const QString &why = {}) {
        return IoResult::failure(code, reported, why.isEmpty() ? systemMessage(err) : why, err);
    };

    // Held until the function returns: the save of one process at a time. A
    // folder we may not list or lock still gets a save, just not serialised.
    const Descriptor folder(openFolder(info.absolutePath()));
    if (!folder && (errno == ENOENT || errno == ENOTDIR))
        return failure(IoResult::Code::OpenFailed, errno);
    if (folder)
        lockRetrying(folder.get(), LOCK_EX);

    struct stat old
    {
    };
    const bool existed = ::stat(file.constData(), &old) == 0;
    if (!existed && errno != ENOENT)
        return failure(IoResult::Code::OpenFailed, errno);
    if (existed && !S_ISREG(old.st_mode))
        return failure(IoResult::Code::OpenFailed, S_ISDIR(old.st_mode) ? EISDIR : EINVAL, QStringLiteral("not a regular file"));
    if (folder)
        sweep(info.absolutePath(), info.fileName());

    QByteArray tempName;
    Descriptor temp(createTemporary(info.absolutePath(), info.fileName(), tempName));
    bool inPlace = false;
    if (!temp) {
        const int err = errno;
        if (!existed || (err != EACCES && err != EPERM))
            return failure(IoResult::Code::OpenFailed, err);
        inPlace = true; // a folder we may not write, holding a file we may
    }
    const auto discard = [&](IoResult::Code code, int err) {
        temp.reset();
        ::unlink(tempName.constData());
        return failure(code, err);
    };
    if (temp) {
        struct stat made
        {
        };
        if (::fstat(temp.get(), &made) != 0)
            return discard(IoResult::Code::OpenFailed, errno);
        if (existed && (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
            ::fchown(temp.get(), old.st_uid, old.st_gid) != 0) {
            // Another user's file: a new file could not be theirs.
            temp.reset();
            ::unlink(tempName.constData());
            inPlace = true;
        }
    }
    if (inPlace) {
        const Descriptor fd(::open(file.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (!fd)
            return failure(IoResult::Code::OpenFailed, errno);
        // New bytes over the old, then the length: a save cut short leaves
        // the new table with the old file's tail after its closing line,
        // which a reader never reaches.
        if (const int err = writeAt0(fd.get(), content); err != 0)
            return failure(IoResult::Code::WriteFailed, err);
        return IoResult::success();
    }

    // The mode before the first byte: others must never read the passwords.
    if (::fchmod(temp.get(), existed ? old.st_mode & 07777 : 0600) != 0)
        return discard(IoResult::Code::WriteFailed, errno);
    if (const int err = writeAt0(temp.get(), content); err != 0)
        return discard(IoResult::Code::WriteFailed, err);
    if (::rename(tempName.constData(), file.constData()) != 0)
        return discard(IoResult::Code::CommitFailed, errno);
    if (const int err = syncFolder(info.absolutePath()); err != 0)
        return failure(IoResult::Code::SyncFailed, err);
    return IoResult::success();
}

IoResult DurableWrite::move(const QString &from, const QString &to, const QString &reported)
{
    const QByteArray source = QFile::encodeName(from);
    struct stat st
    {
    };
    if (::stat(source.constData(), &st) != 0) {
        const int err = errno;
        return IoResult::failure(err == ENOENT ? IoResult::Code::NotFound : IoResult::Code::OpenFailed, reported,
                                 systemMessage(err), err);
    }
    if (!S_ISREG(st.st_mode))
        return IoResult::failure(IoResult::Code::OpenFailed, reported, QStringLiteral("not a regular file"),
                                 S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (::rename(source.constData(), QFile::encodeName(to).constData()) != 0) {
        const int err = errno;
        return IoResult::failure(IoResult::Code::CommitFailed, reported, systemMessage(err), err);
    }
    if (const int err = syncFolder(QFileInfo(from).absolutePath()); err != 0)
        return IoResult::failure(IoResult::Code::SyncFailed, reported, systemMessage(err), err);
    return IoResult::success();
}

#else

IoResult DurableWrite::write(const QString &local, const QString &reported, const QByteArray &content)
{
    QSaveFile file(realPath(local));
    if (!file.open(QIODevice::WriteOnly))
        return IoResult::failure(IoResult::Code::OpenFailed, reported, file.errorString());
    if (file.write(content) != content.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return IoResult::failure(IoResult::Code::WriteFailed, reported, why);
    }
    if (!file.commit())
        return IoResult::failure(IoResult::Code::CommitFailed, reported, file.errorString());
    return IoResult::success();
}

IoResult DurableWrite::move(const QString &from, const QString &to, const QString &reported)
{
    const QFileInfo info(from);
    if (!info.exists())
        return IoResult::failure(IoResult::Code::NotFound, reported, QStringLiteral("not found"));
    if (!info.isFile())
        return IoResult::failure(IoResult::Code::OpenFailed, reported, QStringLiteral("not a regular file"));
    QFile::remove(to);
    QFile file(from);
    if (!file.rename(to))
        return IoResult::failure(IoResult::Code::CommitFailed, reported, file.errorString());
    return IoResult::success();
}

#endif

} // namespace molvik
