#pragma once

#include <QString>

namespace molvik {

// The folder from which the binary holding this code was loaded, without a
// trailing separator except at a root.
QString componentFolder();

} // namespace molvik
