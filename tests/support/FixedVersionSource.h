#pragma once

#include "platform/OsVersionInfo.h"

namespace molvik {

// A record fixed by the test, so system detection can be tried for every system.
class FixedVersionSource final : public VersionSource
{
public:
    FixedVersionSource(quint32 platformId, quint32 major, quint32 minor)
    {
        m_info.dwPlatformId = platformId;
        m_info.dwMajorVersion = major;
        m_info.dwMinorVersion = minor;
    }
    OsVersionInfo query() const override { return m_info; }

private:
    OsVersionInfo m_info;
};

} // namespace molvik
