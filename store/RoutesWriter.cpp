#include "store/RoutesWriter.h"

#include "platform/AnsiText.h"
#include "store/RouteStore.h"

#include <charconv>
#include <cstring>
#include <string>

namespace molvik {

QByteArray RoutesWriter::serialize(const RouteStore &store)
{
    if (store.routeCount <= 0)
        return {};
    // Built in a std::string, whose appends cost a fraction of QByteArray's.
    std::string out("<Routes>\r\n");
    for (int slot = 1; slot <= qMin(store.routeCount, qint32(RouteStore::kMaxRoutes)); ++slot) {
        const RouteDef &route = store.routes[std::size_t(slot)];
        for (const RouteField &f : routeFields()) {
            // Element names are ASCII: the same bytes in every code page.
            out.append("<").append(f.name).append(">");
            switch (f.kind) {
            case RouteField::Kind::Text:
                AnsiText::append(out, route.*f.text);
                break;
            case RouteField::Kind::YesNo:
                out.append(route.*f.int16 != 0 ? "True" : "False");
                break;
            case RouteField::Kind::Int16:
            case RouteField::Kind::Int32: {
                char digits[12];
                const qint32 number = f.kind == RouteField::Kind::Int16 ? route.*f.int16 : route.*f.int32;
                out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
                break;
            }
            }
            out.append("</").append(f.name).append(">\r\n");
        }
    }
    out.append("</Routes>\r\n");
    return QByteArray(out.data(), qsizetype(out.size()));
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
