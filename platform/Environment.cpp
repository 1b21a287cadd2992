#include "platform/Environment.h"

#include "platform/ComponentFolder.h"

namespace molvik {

Environment Environment::systemDefault()
{
    return {std::make_shared<SystemVersionSource>(), std::make_shared<FileSystem>(), molvik::componentFolder()};
}

} // namespace molvik
