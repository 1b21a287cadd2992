#pragma once

#include "platform/MolvikExport.h"

#include "platform/FileSystem.h"
#include "platform/OsVersionInfo.h"

#include <QString>

#include <memory>

namespace molvik {

// Every platform service reaches the code through this one object. The
// default uses the real implementations; a host or a test passes its own.
struct MOLVIK_EXPORT Environment
{
    std::shared_ptr<const VersionSource> version;
    std::shared_ptr<const FileSystem> fileSystem;
    QString componentFolder;

    // The real version record, the native file system and the folder of the
    // binary holding this code.
    static Environment systemDefault();
};

} // namespace molvik
