#pragma once

#include "platform/MolvikExport.h"

#include <QtGlobal>

namespace molvik {

// The fields of the system's OSVERSIONINFOA record that system detection
// reads. A failed query leaves the record zeroed, platform id 0 included.
struct OsVersionInfo
{
    quint32 dwOSVersionInfoSize = 148;
    quint32 dwMajorVersion = 0;
    quint32 dwMinorVersion = 0;
    quint32 dwPlatformId = 0;
};

class MOLVIK_EXPORT VersionSource
{
public:
    virtual ~VersionSource() = default;
    virtual OsVersionInfo query() const = 0;
};

// GetVersionExA on Windows; a zeroed record everywhere else.
class MOLVIK_EXPORT SystemVersionSource final : public VersionSource
{
public:
    OsVersionInfo query() const override;
};

} // namespace molvik
