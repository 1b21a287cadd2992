#include "forms/PageFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace molvik {

namespace {

// The family to ask for: the design family where the system has it, else
// the fallback, asked for by its own name. A missing family would cost a
// search of every font's aliases on first use; so would hasFamily(), hence
// the look in the list of families.
QString available(const QString &family)
{
    static const QStringList missing = [] {
        const QStringList installed = QFontDatabase::families();
        QStringList names;
        for (const QString &design : {QStringLiteral("Tahoma"), QStringLiteral("MS Sans Serif")}) {
            if (!installed.contains(design, Qt::CaseInsensitive)) {
                names << design;
                // Fonts others ask for by the design names fall back alike.
                QFont::insertSubstitution(design, kFallbackFamily);
            }
        }
        return names;
    }();
    return missing.contains(family) ? kFallbackFamily : family;
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
