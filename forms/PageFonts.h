#pragma once

#include <QFont>

namespace molvik {

// The family every form falls back to where its design fonts are missing:
// all captions fit their boxes in it at the design sizes, so no caption
// needs a face of its own.
inline const QString kFallbackFamily = QStringLiteral("Carlito");

// The forms' design fonts; where the system lacks them, the fallback family.
QFont tahoma(qreal points = 8.25, bool bold = false);
QFont msSansSerif(qreal points = 8.25);

} // namespace molvik
