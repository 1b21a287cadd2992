#include "store/RoutesWriter.h"

#include "platform/AnsiText.h"
#include "store/RouteStore.h"

#include <QStringBuilder>

namespace molvik {

QByteArray RoutesWriter::serialize(const RouteStore &store)
{
    QByteArray out;
    if (store.routeCount <= 0)
        return out;
    const int count = qMin(store.routeCount, qint32(RouteStore::kMaxRoutes));
    out.reserve(count * 2200);
    AnsiText::appendLine(out, u"<Routes>");
    QString line;
    for (int slot = 1; slot <= count; ++slot) {
        const RouteDef &r = store.routes[std::size_t(slot)];
        for (const RouteField &f : routeFields()) {
            const QString name = QLatin1String(f.name);
            QString value;
            switch (f.kind) {
            case RouteField::Kind::Text:
                value = r.*f.text;
                break;
            case RouteField::Kind::YesNo:
                value = r.*f.int16 != 0 ? QStringLiteral("True") : QStringLiteral("False");
                break;
            case RouteField::Kind::Int16:
                value = QString::number(r.*f.int16);
                break;
            case RouteField::Kind::Int32:
                value = QString::number(r.*f.int32);
                break;
            }
            line = u'<' % name % u'>' % value % u"</" % name % u'>';
            AnsiText::appendLine(out, line);
        }
    }
    AnsiText::appendLine(out, u"</Routes>");
    return out;
}

} // namespace molvik
