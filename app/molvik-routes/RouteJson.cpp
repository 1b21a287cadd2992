#include "app/molvik-routes/RouteJson.h"

#include "store/RouteDef.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace molvik {

namespace {

QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

bool isPassword(const RouteField &field)
{
    return field.text == &RouteDef::FTPPassword || field.text == &RouteDef::PrxyPass || field.text == &RouteDef::KXSecurePassword;
}

QString jsonValue(const RouteDef &route, const RouteField &field, bool redact)
{
    switch (field.kind) {
    case RouteField::Kind::Text:
        if (redact && isPassword(field) && !(route.*field.text).isEmpty())
            return QStringLiteral("\"********\"");
        return jsonString(route.*field.text);
    case RouteField::Kind::YesNo:
        return route.*field.int16 != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case RouteField::Kind::Int16:
        return QString::number(route.*field.int16);
    case RouteField::Kind::Int32:
        return QString::number(route.*field.int32);
    }
    return {};
}

// A whole number within the field's range, or nothing.
template<typename Int> bool wholeNumber(const QJsonValue &value, Int &out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (d != std::trunc(d) || d < std::numeric_limits<Int>::min() || d > std::numeric_limits<Int>::max())
        return false;
    out = static_cast<Int>(d);
    return true;
}

template<typename Int> QString rangeText()
{
    return QStringLiteral("a whole number from %1 to %2")
        .arg(std::numeric_limits<Int>::min())
        .arg(std::numeric_limits<Int>::max());
}

} // namespace

QString RouteJson::write(const RouteDef &route, const QString &indent, bool redact)
{
    QString out;
    const auto &fields = routeFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out += indent + u'"' + QLatin1String(fields[i].name) + QStringLiteral("\": ") + jsonValue(route, fields[i], redact) +
               (i + 1 < fields.size() ? QStringLiteral(",\n") : QStringLiteral("\n"));
    }
    return out;
}

bool RouteJson::read(const QByteArray &json, RouteDef &route, QString &error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON: %1 at offset %2").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    if (!document.isObject()) {
        error = QStringLiteral("expected one route as a JSON object");
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const RouteField *field = nullptr;
        for (const RouteField &f : routeFields()) {
            if (it.key() == QLatin1String(f.name))
                field = &f;
        }
        if (!field) {
            error = QStringLiteral("unknown field \"%1\"").arg(it.key());
            return false;
        }
        QString expected;
        switch (field->kind) {
        case RouteField::Kind::Text:
            if (it->isString())
                route.*field->text = it->toString();
            else
                expected = QStringLiteral("a string");
            break;
        case RouteField::Kind::YesNo:
            if (it->isBool())
                route.*field->int16 = yesNo(it->toBool());
            else
                expected = QStringLiteral("true or false");
            break;
        case RouteField::Kind::Int16:
            if (!wholeNumber(*it, route.*field->int16))
                expected = rangeText<qint16>();
            break;
        case RouteField::Kind::Int32:
            if (!wholeNumber(*it, route.*field->int32))
                expected = rangeText<qint32>();
            break;
        }
        if (!expected.isEmpty()) {
            error = QStringLiteral("\"%1\" must be %2").arg(it.key(), expected);
            return false;
        }
    }
    return true;
}

} // namespace molvik
