#pragma once

#include <QString>

#include <cerrno>
#include <cstring>

namespace molvik {

// The outcome of a file-system operation, returned as a value: a code, the
// path it concerned and a readable cause. Only the control turns it into text
// for the host.
struct [[nodiscard]] IoResult
{
    enum class Code {
        Ok,
        NotFound,
        OpenFailed,
        WriteFailed,
        SyncFailed,
        CommitFailed,
        CreateFolderFailed,
        LockFailed,
        ReadFailed,
        LineTooLong,
        ValueNotKept
    };

    Code code = Code::Ok;
    int systemError = 0; // errno (or the Windows error) when one is known
    QString path;
    QString message;

    bool ok() const { return code == Code::Ok; }
    explicit operator bool() const { return ok(); }

    static IoResult success() { return {}; }
    static IoResult failure(Code code, const QString &path, const QString &message, int systemError = 0)
    {
        return {code, systemError, path, message};
    }
    // The cause in the system's words for errno err.
    static IoResult systemFailure(Code code, const QString &path, int err)
    {
        return failure(code, path, QString::fromLocal8Bit(std::strerror(err)), err);
    }
    static IoResult notRegularFile(const QString &path, bool isFolder)
    {
        return failure(Code::OpenFailed, path, QStringLiteral("not a regular file"), isFolder ? EISDIR : EINVAL);
    }

    // "path: cause", the form the control reports to its host.
    QString text() const { return ok() ? QString() : path + QStringLiteral(": ") + message; }
};

} // namespace molvik
