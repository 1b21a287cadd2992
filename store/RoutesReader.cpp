#include "store/RoutesReader.h"

#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "store/RouteStore.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace molvik {

namespace {

constexpr qint64 kChunk = 64 * 1024;
constexpr qsizetype kMaxHeld = RoutesReader::kMaxLine + 1; // a kept line with the CR of its CR LF

// Lines ended by LF or CR LF, the device read a chunk at a time. A line
// longer than the reader keeps is passed over without being held, so memory
// stays bounded whatever the file holds.
class LineReader
{
public:
    enum class Result { Line, Overlong, End, Error };

    explicit LineReader(QIODevice &device) : m_device(device) {}

    // The line stays valid until the next call.
    Result next(QByteArrayView &line)
    {
        if (!m_held.isEmpty()) // resizing a null array would allocate
            m_held.resize(0);
        bool overlong = false;
        for (;;) {
            if (m_next == m_chunk.size()) {
                m_chunk.resize(m_chunkSize);
                const qint64 n = m_device.read(m_chunk.data(), m_chunkSize);
                m_chunk.resize(qMax(n, qint64(0)));
                m_next = 0;
                if (n < 0)
                    return Result::Error;
                if (n == 0) {
                    line = withoutCr(m_held);
                    return overlong ? Result::Overlong : m_held.isEmpty() ? Result::End : Result::Line;
                }
            }
            const QByteArrayView rest = QByteArrayView(m_chunk).sliced(m_next);
            const auto *lf = static_cast<const char *>(std::memchr(rest.data(), '\n', std::size_t(rest.size())));
            const QByteArrayView piece = lf ? rest.first(lf - rest.data()) : rest;
            m_next += lf ? piece.size() + 1 : piece.size();
            overlong = overlong || m_held.size() + piece.size() > kMaxHeld;
            if (overlong) {
                m_held = QByteArray();
                if (lf)
                    return Result::Overlong;
            } else if (!lf) {
                m_held.append(piece);
            } else {
                // Most lines lie whole in the chunk, and are not copied.
                line = withoutCr(m_held.isEmpty() ? piece : QByteArrayView(m_held.append(piece)));
                return Result::Line;
            }
        }
    }

private:
    static QByteArrayView withoutCr(QByteArrayView line) { return line.endsWith('\r') ? line.chopped(1) : line; }

    QIODevice &m_device;
    // A file whole in one read up to a chunk; a stream, which tells no size, a little at a time.
    const qint64 m_chunkSize = qBound(qint64(512), m_device.bytesAvailable(), kChunk);
    QByteArray m_chunk;
    qsizetype m_next = 0; // the first byte of the chunk not yet taken
    QByteArray m_held;    // a line begun in an earlier chunk
};

// Names are matched on bytes: only the values kept are ever decoded. Few
// names share a length, so the length picks a short list to compare.
const RouteField *fieldNamed(QByteArrayView name)
{
    static const auto byLength = [] {
        std::array<std::vector<const RouteField *>, 32> lists;
        for (const RouteField &field : routeFields())
            lists.at(std::strlen(field.name)).push_back(&field);
        return lists;
    }();
    if (name.size() >= qsizetype(byLength.size()))
        return nullptr;
    for (const RouteField *field : byLength[std::size_t(name.size())]) {
        if (field->name[0] == name[0] && std::memcmp(field->name, name.data(), std::size_t(name.size())) == 0)
            return field;
    }
    return nullptr;
}

constexpr auto kCuts = [] {
    std::array<bool, 256> cuts{};
    cuts['<'] = cuts['>'] = cuts['|'] = true;
    return cuts;
}();

// Where the first '<', '>' or '|' (the same bytes in every ANSI code page) at
// or after `from` stands, else the line's size. Names and values are short; a
// line not opening with a tag is mostly text without any, passed by memchr.
qsizetype nextCut(QByteArrayView line, qsizetype from)
{
    const char *nearest = line.data() + line.size();
    if (from > 0 || line.startsWith('<'))
        return std::find_if(line.begin() + from, nearest, [](char c) { return kCuts[uchar(c)]; }) - line.begin();
    for (const char c : {'<', '>', '|'}) {
        if (const void *at = std::memchr(line.data(), c, std::size_t(nearest - line.data())))
            nearest = static_cast<const char *>(at);
    }
    return nearest - line.data();
}

// "True"/"False" in any case, or a decimal number of any length (0 is no).
std::optional<YesNo> parseYesNo(QByteArrayView value)
{
    QByteArrayView v = Numeric::trimBlanks(value);
    if (v.compare(v.size() == 4 ? "true" : "false", Qt::CaseInsensitive) == 0)
        return yesNo(v.size() == 4);
    if (v.startsWith('+') || v.startsWith('-'))
        v = v.sliced(1);
    if (v.isEmpty() || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return yesNo(std::any_of(v.begin(), v.end(), [](char c) { return c != '0'; }));
}

class Scanner
{
public:
    Scanner(RouteStore &store, const RoutesReader::IssueSink &sink) : m_store(store), m_sink(sink) {}

    // An element line: between its first three cuts the name, then the value.
    void handle(QByteArrayView line)
    {
        if (line.isEmpty())
            return;
        const qsizetype first = nextCut(line, 0);
        const qsizetype second = first < line.size() ? nextCut(line, first + 1) : line.size();
        if (second == line.size())
            return report([] { return QStringLiteral("skipped: not an element line"); });
        const QByteArrayView name = line.sliced(first + 1, second - first - 1);
        const RouteField *field = fieldNamed(name);
        if (!field)
            return report([&] { return QStringLiteral("skipped: unknown element \"%1\"").arg(AnsiText::decode(name)); });
        const qsizetype third = nextCut(line, second + 1);
        const QByteArrayView value = line.sliced(second + 1, third - second - 1);
        // The writer closes each value with its tag: a value ending otherwise held a cut or a line break.
        if (m_sink && (line[second] != '>' || line.sliced(third) != QByteArray("</").append(name).append('>')))
            report([&] {
                return QStringLiteral("not written by the control: %1 keeps only \"%2\" of this line")
                    .arg(AnsiText::decode(name), AnsiText::decode(value));
            });
        store(*field, value);
    }

    // The message is built only when someone listens.
    template<typename Message> void report(const Message &message)
    {
        if (m_sink)
            m_sink({m_line, message()});
    }

    qint64 m_line = 1;

private:
    void store(const RouteField &field, QByteArrayView value)
    {
        if (field.text == &RouteDef::RouteDef) {
            if (m_store.routeCount >= RouteStore::kMaxRoutes) {
                m_overflow = true;
                return report(
                    [&] { return QStringLiteral("ignored: a route beyond the tenth (\"%1\")").arg(AnsiText::decode(value)); });
            }
            const int n = ++m_store.routeCount;
            m_store.routes[std::size_t(n)].RouteDef = AnsiText::decode(value);
            m_store.names.resize(n + 1);
            m_store.names[n] = m_store.routes[std::size_t(n)].RouteDef;
            return;
        }
        if (m_overflow)
            return;
        if (m_store.routeCount == 0)
            report([&] {
                return QStringLiteral("ignored: \"%1\" stands before the first RouteDef").arg(QLatin1String(field.name));
            });
        RouteDef &slot = m_store.routes[std::size_t(m_store.routeCount)];
        switch (field.kind) {
        case RouteField::Kind::Text:
            slot.*field.text = AnsiText::decode(value);
            return;
        case RouteField::Kind::YesNo:
            if (const auto v = parseYesNo(value))
                slot.*field.int16 = *v;
            else
                rejected(field, value, "not True, False or a whole number");
            return;
        case RouteField::Kind::Int16:
            if (const auto v = Numeric::plainDecimal(value, INT16_MIN, INT16_MAX))
                slot.*field.int16 = static_cast<qint16>(*v == 0 ? field.zeroReadsAs : *v);
            else
                rejected(field, value, "not a whole number from -32768 to 32767");
            return;
        case RouteField::Kind::Int32:
            if (const auto v = Numeric::plainDecimal(value, INT32_MIN, INT32_MAX))
                slot.*field.int32 = static_cast<qint32>(*v == 0 ? field.zeroReadsAs : *v);
            else
                rejected(field, value, "not a 32-bit whole number");
            return;
        }
    }

    void rejected(const RouteField &field, QByteArrayView value, const char *why)
    {
        report([&] {
            return QStringLiteral("value not taken: %1 \"%2\" is %3")
                .arg(QLatin1String(field.name), AnsiText::decode(value), QLatin1String(why));
        });
    }

    RouteStore &m_store;
    const RoutesReader::IssueSink &m_sink;
    bool m_overflow = false;
};

} // namespace

bool RoutesReader::read(QIODevice &device, RouteStore &store, const IssueSink &sink)
{
    LineReader lines(device);
    Scanner scanner(store, sink);
    QByteArrayView line;
    if (lines.next(line) != LineReader::Result::Line || line != QByteArrayView("<Routes>")) {
        scanner.report([] { return QStringLiteral("not a routes file: the first line is not \"<Routes>\""); });
        return false;
    }
    for (;;) {
        ++scanner.m_line;
        switch (lines.next(line)) {
        case LineReader::Result::End:
            scanner.report([] { return QStringLiteral("the file ends without \"</Routes>\""); });
            return true;
        case LineReader::Result::Error:
            // The routes read so far stand; nothing is read twice.
            scanner.report([] { return QStringLiteral("read error: the scan ends here"); });
            return true;
        case LineReader::Result::Overlong:
            scanner.report([] { return QStringLiteral("skipped: a line longer than %1 bytes").arg(kMaxLine); });
            continue;
        case LineReader::Result::Line:
            if (line == QByteArrayView("</Routes>"))
                return true;
            scanner.handle(line);
            continue;
        }
    }
}

} // namespace molvik
