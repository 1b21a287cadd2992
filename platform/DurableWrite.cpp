#include "platform/DurableWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace molvik {

namespace {

using Code = IoResult::Code;

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

constexpr QByteArrayView kTemporarySuffix(".saving");

// Hidden, six random letters or digits and a fixed suffix: no operator's
// backup of the file looks like this.
bool isTemporaryName(QByteArrayView name, QByteArrayView fileName)
{
    if (name.size() != 1 + fileName.size() + 1 + 6 + kTemporarySuffix.size() || !name.startsWith('.') ||
        name.sliced(1, fileName.size()) != fileName || name[1 + fileName.size()] != '.' || !name.endsWith(kTemporarySuffix))
        return false;
    for (const char c : name.sliced(2 + fileName.size(), 6)) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// The file a save replaces. A symlink is followed, so the temporary file goes
// where the rename can reach and the sweep looks where it was left.
QByteArray realTarget(const QString &local)
{
    const QFileInfo info(local);
    if (!info.isSymLink())
        return QFile::encodeName(local);
    const QString canonical = info.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? info.symLinkTarget() : canonical);
}

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
    int status;
    while ((status = ::flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return status == 0 ? 0 : errno;
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

// Removes temporary files of fileName that killed saves left behind in
// folder, open as folderFd. One a live save holds is locked, and stays.
void sweep(int folderFd, const QByteArray &folder, const QByteArray &fileName)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryName(QByteArrayView(entry->d_name), fileName))
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
// path. -1 with errno on failure. Locked when asked, so no other save's sweep
// takes it: needed only when the folder lock, under which every sweep runs,
// is not held.
int createTemporary(const QByteArray &folder, const QByteArray &fileName, bool lock, QByteArray &path)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray stem = folder + "/." + fileName + '.';
    for (int attempt = 0; attempt < 64; ++attempt) {
        // O_EXCL, not the name, keeps the file ours: a seeded generator will do.
        char random[6];
        for (char &c : random)
            c = alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))];
        path = stem + QByteArrayView(random, 6) + kTemporarySuffix;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (lock && lockRetrying(fd, LOCK_EX) != 0) {
                const int err = errno;
                ::close(fd);
                ::unlink(path.constData());
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

// The old file's owner, group and mode on the temporary file, before the
// first byte: others must never read the passwords. A new file keeps the
// owner-only mode of its creation. 0 or the errno of the failure.
int takeOwnerAndMode(int fd, const struct stat *old)
{
    struct stat made
    {
    };
    if (::fstat(fd, &made) != 0)
        return errno;
    if (old && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) && ::fchown(fd, old->st_uid, old->st_gid) != 0)
        return errno;
    if (const mode_t mode = old ? old->st_mode & 07777 : 0600; (made.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0)
        return errno;
    return 0;
}

// Written, synced and renamed over the target: the path holds the old
// content or the new, never a cut file. The temporary file is gone after a
// failure.
IoResult replaceThroughTemporary(int temp, const QByteArray &tempPath, const QByteArray &target, const QString &reported,
                                 const QByteArray &content)
{
    Code code = Code::WriteFailed;
    int err = writeAll(temp, content);
    if (err == 0 && ::fdatasync(temp) != 0)
        err = errno;
    if (err == 0 && ::rename(tempPath.constData(), target.constData()) != 0) {
        err = errno;
        code = Code::CommitFailed;
    }
    if (err == 0)
        return IoResult::success();
    ::unlink(tempPath.constData());
    return IoResult::systemFailure(code, reported, err);
}

// New bytes over the old, then the length, then a sync: a save cut short
// leaves the new table with the old file's tail after its closing line,
// which a reader never reaches.
IoResult rewriteInPlace(const QByteArray &target, const QString &reported, const QByteArray &content)
{
    const Descriptor fd(::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        return IoResult::systemFailure(Code::OpenFailed, reported, errno);
    int err = ::lseek(fd.get(), 0, SEEK_SET) == 0 ? writeAll(fd.get(), content) : errno;
    if (err == 0 && ::ftruncate(fd.get(), off_t(content.size())) != 0)
        err = errno;
    if (err == 0 && ::fdatasync(fd.get()) != 0)
        err = errno;
    return err == 0 ? IoResult::success() : IoResult::systemFailure(Code::WriteFailed, reported, err);
}

} // namespace

DurableWrite::FolderLock::FolderLock(const QString &local, const QString &reported) : m_local(local), m_target(realTarget(local))
{
    const qsizetype slash = m_target.lastIndexOf('/');
    m_folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : m_target.first(slash);
    m_name = m_target.sliced(slash + 1);
    m_folderFd = openFolder(m_folder);
    const int err = m_folderFd < 0 ? errno : lockRetrying(m_folderFd, LOCK_EX);
    // A folder we may not list or lock still takes a save, just not serialised.
    if (err != 0)
        m_result = IoResult::systemFailure(err == ENOENT || err == ENOTDIR ? Code::OpenFailed : Code::LockFailed, reported, err);
}

DurableWrite::FolderLock::~FolderLock()
{
    if (m_folderFd >= 0)
        ::close(m_folderFd); // and with it the lock
}

IoResult DurableWrite::write(const QString &local, const QString &reported, const QByteArray &content)
{
    const FolderLock lock(local, reported);
    if (lock.m_result.code == Code::OpenFailed)
        return lock.m_result;
    return save(lock, reported, content);
}

IoResult DurableWrite::write(const FolderLock &held, const QString &local, const QString &reported, const QByteArray &content)
{
    if (!held.m_result)
        return held.m_result;
    if (local != held.m_local)
        return IoResult::failure(Code::OpenFailed, reported, QStringLiteral("not the file the lock was taken for"), EINVAL);
    return save(held, reported, content);
}

IoResult DurableWrite::save(const FolderLock &lock, const QString &reported, const QByteArray &content)
{
    struct stat old
    {
    };
    const bool existed = ::stat(lock.m_target.constData(), &old) == 0;
    if (!existed && errno != ENOENT)
        return IoResult::systemFailure(Code::OpenFailed, reported, errno);
    if (existed && !S_ISREG(old.st_mode))
        return IoResult::notRegularFile(reported, S_ISDIR(old.st_mode));
    const bool locked = lock.m_result.ok();
    if (locked)
        sweep(lock.m_folderFd, lock.m_folder, lock.m_name);

    QByteArray tempPath;
    Descriptor temp(createTemporary(lock.m_folder, lock.m_name, !locked, tempPath));
    const int err = !temp ? errno : takeOwnerAndMode(temp.get(), existed ? &old : nullptr);
    if (err == 0) {
        if (IoResult replaced = replaceThroughTemporary(temp.get(), tempPath, lock.m_target, reported, content); !replaced)
            return replaced;
        // Through the descriptor already open, when the folder could be opened.
        const int synced = lock.m_folderFd >= 0 ? (::fsync(lock.m_folderFd) == 0 ? 0 : errno) : syncFolder(lock.m_folder);
        return synced == 0 ? IoResult::success() : IoResult::systemFailure(Code::SyncFailed, reported, synced);
    }
    if (temp) {
        temp.reset();
        ::unlink(tempPath.constData());
    }
    // A folder we may not write, holding a file we may; or another user's
    // file, which a new file could not belong to.
    if (existed && (err == EACCES || err == EPERM))
        return rewriteInPlace(lock.m_target, reported, content);
    return IoResult::systemFailure(Code::OpenFailed, reported, err);
}

IoResult DurableWrite::move(const QString &from, const QString &to, const QString &reported)
{
    const QByteArray source = QFile::encodeName(from);
    struct stat st
    {
    };
    if (::stat(source.constData(), &st) != 0)
        return IoResult::systemFailure(errno == ENOENT ? Code::NotFound : Code::OpenFailed, reported, errno);
    if (!S_ISREG(st.st_mode))
        return IoResult::notRegularFile(reported, S_ISDIR(st.st_mode));
    if (::rename(source.constData(), QFile::encodeName(to).constData()) != 0)
        return IoResult::systemFailure(Code::CommitFailed, reported, errno);
    if (const int err = syncFolder(QFile::encodeName(QFileInfo(from).absolutePath())); err != 0)
        return IoResult::systemFailure(Code::SyncFailed, reported, err);
    return IoResult::success();
}

} // namespace molvik
