#pragma once

#include "platform/MolvikExport.h"

#include <QString>

namespace molvik {

// The library's version, for hosts that log what they embed.
MOLVIK_EXPORT QString molvikWizardVersion();

} // namespace molvik
