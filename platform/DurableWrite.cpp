#include "platform/DurableWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace molvik {

namespace {

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

namespace {

// Hidden, six random letters or digits and a fixed suffix: no operator's
// backup of the file looks like this.
bool isTemporaryName(QByteArrayView name, QByteArrayView fileName)
{
    constexpr QByteArrayView suffix(".saving");
    if (name.size() != 1 + fileName.size() + 1 + 6 + suffix.size() || !name.startsWith('.') ||
        name.sliced(1, fileName.size()) != fileName || name[1 + fileName.size()] != '.' || !name.endsWith(suffix))
        return false;
    for (const char c : name.sliced(2 + fileName.size(), 6)) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

bool DurableWrite::isTemporaryOf(const QString &name, const QString &fileName)
{
    return isTemporaryName(QFile::encodeName(name), QFile::encodeName(fileName));
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

int openFolder(const QByteArray &folder)
{
    return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Makes a rename in the folder durable.
int syncFolder(const QByteArray &folder)
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

// Every byte from the file offset on; 0 or the errno of the failure.
int writeAll(int fd, const QByteArray &content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, std::size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// Every byte at offset 0, then the length, then a sync.
int rewriteInPlace(int fd, const QByteArray &content)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int err = writeAll(fd, content); err != 0)
        return err;
    if (::ftruncate(fd, off_t(content.size())) != 0)
        return errno;
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

// A path split into its folder and its last component, as bytes.
struct Place
{
    QByteArray path;
    QByteArray folder;
    QByteArray name;

    explicit Place(const QString &local) : path(QFile::encodeName(local))
    {
        const qsizetype slash = path.lastIndexOf('/');
        folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.first(slash);
        name = path.sliced(slash + 1);
    }
};

// Removes temporary files of fileName that killed saves left behind. One a
// live save holds is locked, and stays. folderFd stays open.
void sweep(int folderFd, const Place &place)
{
    const int listFd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (listFd < 0)
        return;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    ::rewinddir(dir);
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryName(QByteArrayView(entry->d_name), place.name))
            continue;
        const Descriptor fd(::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st
        {
        };
        if (fd && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

// A new, owner-only temporary file beside the target; its name goes to
// name. -1 with errno on failure. Locked when asked, so no other save's sweep
// takes it: needed only when the folder lock, under which every sweep runs,
// is not held.
int createTemporary(const Place &place, QByteArray &name, bool lock)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray stem = place.folder + "/." + place.name + '.';
    for (int attempt = 0; attempt < 64; ++attempt) {
        // O_EXCL, not the name, keeps the file ours: a seeded generator will do.
        char random[6];
        for (char &c : random)
            c = alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))];
        name = stem + QByteArrayView(random, 6) + ".saving";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (lock && lockRetrying(fd, LOCK_EX) != 0) {
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

DurableWrite::FolderLock::FolderLock(const QString &local, const QString &reported)
{
    const Place place(realPath(local));
    m_folderFd = openFolder(place.folder);
    const int err = m_folderFd < 0 ? errno : lockRetrying(m_folderFd, LOCK_EX);
    if (err != 0)
        m_result = IoResult::failure(IoResult::Code::OpenFailed, reported, systemMessage(err), err);
}

DurableWrite::FolderLock::~FolderLock()
{
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

IoResult DurableWrite::write(const QString &local, const QString &reported, const QByteArray &content)
{
    return save(local, reported, content, true);
}

IoResult DurableWrite::write(const FolderLock &, const QString &local, const QString &reported, const QByteArray &content)
{
    return save(local, reported, content, false);
}

IoResult DurableWrite::save(const QString &local, const QString &reported, const QByteArray &content, bool lock)
{
    auto failure = [&](IoResult::Code code, int err, const QString &why = {}) {
        return IoResult::failure(code, reported, why.isEmpty() ? systemMessage(err) : why, err);
    };

    // Held until the function returns: the save of one process at a time. A
    // folder we may not list or lock still gets a save, just not serialised.
    Place place(local);
    Descriptor folder(openFolder(place.folder));
    if (!folder && (errno == ENOENT || errno == ENOTDIR))
        return failure(IoResult::Code::OpenFailed, errno);
    bool folderLocked = folder && (!lock || lockRetrying(folder.get(), LOCK_EX) == 0);

    struct stat old
    {
    };
    bool existed = ::lstat(place.path.constData(), &old) == 0;
    if (existed && S_ISLNK(old.st_mode)) {
        // The file a symlink names, so the temporary file goes where the
        // rename can reach and the sweep looks where it was left.
        place = Place(realPath(local));
        folder.reset(openFolder(place.folder));
        if (!folder && (errno == ENOENT || errno == ENOTDIR))
            return failure(IoResult::Code::OpenFailed, errno);
        folderLocked = folder && (!lock || lockRetrying(folder.get(), LOCK_EX) == 0);
        existed = ::stat(place.path.constData(), &old) == 0;
    }
    if (!existed && errno != ENOENT)
        return failure(IoResult::Code::OpenFailed, errno);
    if (existed && !S_ISREG(old.st_mode))
        return failure(IoResult::Code::OpenFailed, S_ISDIR(old.st_mode) ? EISDIR : EINVAL, QStringLiteral("not a regular file"));
    if (folder)
        sweep(folder.get(), place);

    QByteArray tempName;
    Descriptor temp(createTemporary(place, tempName, !folderLocked));
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
    struct stat made
    {
    };
    if (temp) {
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
        const Descriptor fd(::open(place.path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (!fd)
            return failure(IoResult::Code::OpenFailed, errno);
        // New bytes over the old, then the length: a save cut short leaves
        // the new table with the old file's tail after its closing line,
        // which a reader never reaches.
        if (const int err = rewriteInPlace(fd.get(), content); err != 0)
            return failure(IoResult::Code::WriteFailed, err);
        return IoResult::success();
    }

    // The mode before the first byte: others must never read the passwords.
    // A new file mostly has it from its creation already.
    if (const mode_t mode = existed ? old.st_mode & 07777 : 0600; (made.st_mode & 07777) != mode && ::fchmod(temp.get(), mode) != 0)
        return discard(IoResult::Code::WriteFailed, errno);
    if (const int err = writeAll(temp.get(), content); err != 0)
        return discard(IoResult::Code::WriteFailed, err);
    if (::fdatasync(temp.get()) != 0)
        return discard(IoResult::Code::WriteFailed, errno);
    if (::rename(tempName.constData(), place.path.constData()) != 0)
        return discard(IoResult::Code::CommitFailed, errno);
    // Through the descriptor already open, when the folder could be opened.
    if (const int err = folder ? (::fsync(folder.get()) == 0 ? 0 : errno) : syncFolder(place.folder); err != 0)
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
    if (const int err = syncFolder(QFile::encodeName(QFileInfo(from).absolutePath())); err != 0)
        return IoResult::failure(IoResult::Code::SyncFailed, reported, systemMessage(err), err);
    return IoResult::success();
}

#else

DurableWrite::FolderLock::FolderLock(const QString &, const QString &) {}

DurableWrite::FolderLock::~FolderLock() = default;

IoResult DurableWrite::write(const FolderLock &, const QString &local, const QString &reported, const QByteArray &content)
{
    return write(local, reported, content);
}

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
