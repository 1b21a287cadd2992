#include "forms/RealSystemDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace molvik {

QString RealSystemDialogs::browseFolder(QWidget *owner)
{
    // Qt's own dialog, so the offscreen platform and tests can drive it.
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(
        owner, QString(), QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
}

} // namespace molvik
