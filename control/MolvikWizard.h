#pragma once

#include <QString>

namespace molvik {

// The library's version, for hosts that log what they embed.
QString molvikWizardVersion();

} // namespace molvik
