#include "store/RoutesWriter.h"

#include "platform/AnsiText.h"
#include "store/RouteStore.h"

#include <array>
#include <charconv>
#include <cstring>

namespace molvik {

namespace {

// Each element's tags, put together once.
struct Tags
{
    QByteArray open, close;
};

const std::array<Tags, kRouteFieldCount> &tags()
{
    static const auto table = [] {
        std::array<Tags, kRouteFieldCount> t;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const QByteArray name(routeFields()[i].name);
            t[i] = {'<' + name + '>', "</" + name + ">\r\n"};
        }
        return t;
    }();
    return table;
}

constexpr QByteArrayView kFirst("<Routes>\r\n");
constexpr QByteArrayView kLast("</Routes>\r\n");
constexpr qsizetype kLongestNumber = 11; // "-2147483648"

char *put(char *p, QByteArrayView bytes)
{
    std::memcpy(p, bytes.data(), std::size_t(bytes.size()));
    return p + bytes.size();
}

} // namespace

QByteArray RoutesWriter::serialize(const RouteStore &store)
{
    if (store.routeCount <= 0)
        return {};
    const int count = qMin(store.routeCount, qint32(RouteStore::kMaxRoutes));
    const auto &t = tags();
    const auto &fields = routeFields();

    // The most the table can take, then every byte through one pointer:
    // no size check or call per piece.
    qsizetype most = kFirst.size() + kLast.size();
    for (int slot = 1; slot <= count; ++slot) {
        const RouteDef &r = store.routes[std::size_t(slot)];
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const RouteField &f = fields[i];
            most += t[i].open.size() + t[i].close.size() +
                    (f.kind == RouteField::Kind::Text ? AnsiText::maxBytes((r.*f.text).size()) : kLongestNumber);
        }
    }
    QByteArray out(most, Qt::Uninitialized);
    char *p = put(out.data(), kFirst);
    for (int slot = 1; slot <= count; ++slot) {
        const RouteDef &r = store.routes[std::size_t(slot)];
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const RouteField &f = fields[i];
            // Element names are ASCII: the same bytes in every code page.
            p = put(p, t[i].open);
            switch (f.kind) {
            case RouteField::Kind::Text:
                p += AnsiText::encodeTo(p, r.*f.text);
                break;
            case RouteField::Kind::YesNo:
                p = put(p, r.*f.int16 != 0 ? QByteArrayView("True") : QByteArrayView("False"));
                break;
            case RouteField::Kind::Int16:
                p = std::to_chars(p, p + kLongestNumber, r.*f.int16).ptr;
                break;
            case RouteField::Kind::Int32:
                p = std::to_chars(p, p + kLongestNumber, r.*f.int32).ptr;
                break;
            }
            p = put(p, t[i].close);
        }
    }
    p = put(p, kLast);
    out.truncate(p - out.constData());
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
