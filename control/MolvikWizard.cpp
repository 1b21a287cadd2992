#include "control/MolvikWizard.h"

namespace molvik {

QString molvikWizardVersion()
{
    return QStringLiteral(MOLVIK_VERSION);
}

} // namespace molvik
