#pragma once

#include "platform/Environment.h"
#include "platform/IoResult.h"

#include <QString>

namespace molvik {

class RouteStore;

// System detection, the data-folder rule and the explanation reader.
namespace Reg {

inline const QString kVistaDataFolder = QStringLiteral("C:\\programData\\Kelmora");

// "95", "98", "ME", "NT3.51", "NT4", "2000", "XP", "Vista", "Failed" or empty.
QString systemName(const VersionSource &version);

// The full rule: the component folder, or the shared data folder for a
// component installed in a folder named Kelmora on a version 6 system.
IoResult selectDataFolder(RouteStore &store);

// The Vista branch of the rule only: never sets the component folder.
IoResult ensureDataFolder(RouteStore &store);

// The whole explanation text of a page, or "code description" when the file
// cannot be read.
QString readExplanation(const Environment &environment, const QString &pageName);

} // namespace Reg
} // namespace molvik
