#pragma once

#include <QString>

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
        DeleteFailed,
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

    // "path: cause", the form the control reports to its host.
    QString text() const { return ok() ? QString() : path + QStringLiteral(": ") + message; }
};

} // namespace molvik
