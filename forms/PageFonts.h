#pragma once

#include <QFont>

namespace molvik {

// The pages' design fonts. Where Tahoma is missing Qt picks the closest face.
inline QFont tahoma(qreal points = 8.25, bool bold = false)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

inline QFont msSansSerif(qreal points = 8.25)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(points);
    return f;
}

} // namespace molvik
