#include "platform/OsVersionInfo.h"

#ifdef Q_OS_WIN
#include <cstring>
#include <windows.h>
#endif

namespace molvik {

OsVersionInfo SystemVersionSource::query() const
{
    OsVersionInfo info;
#ifdef Q_OS_WIN
    OSVERSIONINFOA raw;
    std::memset(&raw, 0, sizeof raw);
    raw.dwOSVersionInfoSize = 148;
    std::memset(raw.szCSDVersion, ' ', sizeof raw.szCSDVersion);
    // The call's own result is not examined: a failure leaves the record zeroed.
    GetVersionExA(&raw);
    info.dwMajorVersion = raw.dwMajorVersion;
    info.dwMinorVersion = raw.dwMinorVersion;
    info.dwPlatformId = raw.dwPlatformId;
#endif
    return info;
}

} // namespace molvik
