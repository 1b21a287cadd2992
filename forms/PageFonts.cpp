#include "forms/PageFonts.h"

#include <QFontDatabase>

namespace molvik {

namespace {

QFont designFont(const QString &family, qreal points)
{
    // Asked for by name first; one shared fallback keeps every form even.
    static const bool substituted = [] {
        for (const char *design : {"Tahoma", "MS Sans Serif"}) {
            const QString name = QLatin1String(design);
            if (!QFontDatabase::hasFamily(name))
                QFont::insertSubstitution(name, kFallbackFamily);
        }
        return true;
    }();
    Q_UNUSED(substituted);
    QFont f(family);
    f.setPointSizeF(points);
    return f;
}

} // namespace

QFont tahoma(qreal points, bool bold)
{
    QFont f = designFont(QStringLiteral("Tahoma"), points);
    f.setBold(bold);
    return f;
}

QFont msSansSerif(qreal points)
{
    return designFont(QStringLiteral("MS Sans Serif"), points);
}

} // namespace molvik
