#include "forms/PageFonts.h"

#include <QFontDatabase>

#include <array>

namespace molvik {

namespace {

// The family to ask for: the design family where the system has it, else
// the fallback, asked for by its own name. A missing family would cost a
// search of every font's aliases on first use.
QString available(const QString &family)
{
    struct Design
    {
        QString family;
        bool present;
    };
    static const std::array<Design, 2> designs = [] {
        std::array<Design, 2> d{{{QStringLiteral("Tahoma"), false}, {QStringLiteral("MS Sans Serif"), false}}};
        for (Design &design : d) {
            design.present = QFontDatabase::hasFamily(design.family);
            // Fonts others ask for by the design names fall back alike.
            if (!design.present)
                QFont::insertSubstitution(design.family, kFallbackFamily);
        }
        return d;
    }();
    for (const Design &design : designs) {
        if (design.family == family)
            return design.present ? family : kFallbackFamily;
    }
    return family;
}

QFont designFont(const QString &family, qreal points)
{
    QFont f(available(family));
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
