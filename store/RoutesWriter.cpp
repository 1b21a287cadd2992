#include "store/RoutesWriter.h"

#include "platform/AnsiText.h"
#include "store/RouteStore.h"

#include <array>
#include <charconv>
#include <cstring>

namespace molvik {

namespace {

// Decimal digits straight onto out, without a temporary array.
void appendNumber(QByteArray &out, qint32 value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

} // namespace

QByteArray RoutesWriter::serialize(const RouteStore &store)
{
    QByteArray out;
    if (store.routeCount <= 0)
        return out;
    const int count = qMin(store.routeCount, qint32(RouteStore::kMaxRoutes));
    out.reserve(count * 2200);
    // Each element's tags, put together once.
    struct Tags
    {
        QByteArray open, close;
    };
    static const auto tags = [] {
        std::array<Tags, kRouteFieldCount> t;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const QByteArray name(routeFields()[i].name);
            t[i] = {'<' + name + '>', "</" + name + ">\r\n"};
        }
        return t;
    }();
    out.append("<Routes>\r\n");
    for (int slot = 1; slot <= count; ++slot) {
        const RouteDef &r = store.routes[std::size_t(slot)];
        for (const RouteField &f : routeFields()) {
            // Element names are ASCII: the same bytes in every code page.
            const std::size_t i = std::size_t(&f - routeFields().data());
            out.append(tags[i].open);
            switch (f.kind) {
            case RouteField::Kind::Text:
                AnsiText::append(out, r.*f.text);
                break;
            case RouteField::Kind::YesNo:
                out.append(r.*f.int16 != 0 ? "True" : "False");
                break;
            case RouteField::Kind::Int16:
                appendNumber(out, r.*f.int16);
                break;
            case RouteField::Kind::Int32:
                appendNumber(out, r.*f.int32);
                break;
            }
            out.append(tags[i].close);
        }
    }
    out.append("</Routes>\r\n");
    return out;
}

qsizetype RoutesWriter::longestLine(QByteArrayView bytes)
{
    qsizetype longest = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const void *nl = std::memchr(bytes.data() + start, '\n', std::size_t(bytes.size() - start));
        qsizetype end = nl ? static_cast<const char *>(nl) - bytes.data() : bytes.size();
        const qsizetype next = end + 1;
        if (nl && end > start && bytes[end - 1] == '\r')
            --end;
        longest = qMax(longest, end - start);
        start = next;
    }
    return longest;
}

} // namespace molvik
