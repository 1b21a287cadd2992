#include "store/RoutesReader.h"

#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "store/RouteStore.h"

#include <QByteArrayView>
#include <QIODevice>

#include <array>
#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace molvik {

namespace {

constexpr std::size_t kBufferSize = std::size_t(RoutesReader::kMaxLine) + 2;
// Readable bytes behind the buffer's end, so a line can be searched in whole
// 16-byte steps.
constexpr std::size_t kSlack = 16;

char *newBuffer()
{
    char *data = new char[kBufferSize + kSlack];
    std::memset(data + kBufferSize, 0, kSlack);
    return data;
}

// The line buffer, kept per thread from one read to the next: a read neither
// allocates nor clears it. Left uninitialised; only bytes read are looked at.
class SharedBuffer
{
public:
    char *acquire()
    {
        if (m_busy) // a read started from inside a read: a buffer of its own
            return nullptr;
        if (!m_data)
            m_data.reset(newBuffer());
        m_busy = true;
        return m_data.get();
    }
    void release() { m_busy = false; }

private:
    std::unique_ptr<char[]> m_data;
    bool m_busy = false;
};

thread_local SharedBuffer t_buffer;

// Reads lines ended by LF or CR LF in pieces no larger than the longest line
// kept, so memory stays bounded whatever the file holds.
class LineSource
{
public:
    explicit LineSource(QIODevice &device) : m_device(device), m_buffer(t_buffer.acquire())
    {
        if (!m_buffer) {
            m_own.reset(newBuffer());
            m_buffer = m_own.get();
        }
    }
    ~LineSource()
    {
        if (!m_own)
            t_buffer.release();
    }
    LineSource(const LineSource &) = delete;
    LineSource &operator=(const LineSource &) = delete;

    enum class Result { Line, Overlong, End, Error };

    Result next(QByteArrayView &line)
    {
        for (;;) {
            // Bytes before m_scan were searched already: a source that hands
            // over a few bytes at a time costs no rescans.
            if (const void *nl = std::memchr(m_buffer + m_scan, '\n', std::size_t(m_end - m_scan))) {
                const qsizetype at = static_cast<const char *>(nl) - m_buffer;
                line = lineAt(m_start, at);
                m_start = m_scan = at + 1;
                return Result::Line;
            }
            m_scan = m_end;
            if (m_end - m_start >= qsizetype(kBufferSize))
                return skipRestOfLine();
            if (m_atEnd) {
                if (m_start == m_end)
                    return Result::End;
                line = lineAt(m_start, m_end);
                m_start = m_scan = m_end;
                return Result::Line;
            }
            if (!fill())
                return Result::Error;
        }
    }

private:
    QByteArrayView lineAt(qsizetype from, qsizetype to) const
    {
        if (to > from && m_buffer[to - 1] == '\r')
            --to;
        return QByteArrayView(m_buffer + from, to - from);
    }

    // Reads more behind what is there; what is left moves to the front only
    // once the buffer's end is reached, so a slow source costs no copying.
    bool fill()
    {
        if (m_start > 0 && m_end == qsizetype(kBufferSize)) {
            std::memmove(m_buffer, m_buffer + m_start, std::size_t(m_end - m_start));
            m_end -= m_start;
            m_scan -= m_start;
            m_start = 0;
        }
        const qint64 n = m_device.read(m_buffer + m_end, qint64(kBufferSize) - m_end);
        if (n < 0)
            return false;
        if (n == 0)
            m_atEnd = true;
        m_end += n;
        return true;
    }

    Result skipRestOfLine()
    {
        m_start = m_end = m_scan = 0;
        for (;;) {
            const qint64 n = m_device.read(m_buffer, qint64(kBufferSize));
            if (n < 0)
                return Result::Error;
            if (n == 0) {
                m_atEnd = true;
                return Result::Overlong;
            }
            if (const void *nl = std::memchr(m_buffer, '\n', std::size_t(n))) {
                m_start = m_scan = static_cast<const char *>(nl) - m_buffer + 1;
                m_end = n;
                return Result::Overlong;
            }
        }
    }

    QIODevice &m_device;
    std::unique_ptr<char[]> m_own;
    char *m_buffer;
    qsizetype m_start = 0;
    qsizetype m_scan = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
};

// The first '<', '>' or '|' from p on, or end. Sixteen or eight bytes at a
// time: most lines that are not element lines hold none of the three. The
// line lies in a line buffer, with its slack readable behind it.
const char *findCut(const char *p, const char *end)
{
#if defined(__SSE2__)
    // Sixteen bytes a step, the last step reading into the slack behind the
    // line; flags past its end are dropped.
    const __m128i lt = _mm_set1_epi8('<'), gt = _mm_set1_epi8('>'), bar = _mm_set1_epi8('|');
    for (; p < end; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(v, gt)), _mm_cmpeq_epi8(v, bar));
        unsigned mask = unsigned(_mm_movemask_epi8(hits));
        if (end - p < 16)
            mask &= (1u << (end - p)) - 1;
        if (mask)
            return p + std::countr_zero(mask);
    }
    return end;
#else
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    const auto hasByte = [](quint64 word, char c) {
        const quint64 x = word ^ (ones * static_cast<unsigned char>(c));
        return (x - ones) & ~x & highs;
    };
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        if (const quint64 hits = hasByte(word, '<') | hasByte(word, '>') | hasByte(word, '|')) {
            // The lowest flag is exact: a false one only ever follows a true one.
            if constexpr (std::endian::native == std::endian::little)
                return p + std::countr_zero(hits) / 8;
            break;
        }
    }
    while (p < end && *p != '<' && *p != '>' && *p != '|')
        ++p;
    return p;
#endif
}

// The element names in an open-addressed table: a name is matched on its
// bytes, so only the values kept are ever decoded.
struct NameSlot
{
    const RouteField *field = nullptr;
    qsizetype length = 0;
};
constexpr std::size_t kNameSlots = 256; // a power of two, over four times the names

std::size_t nameHash(QByteArrayView name)
{
    const auto at = [&](qsizetype i) { return std::size_t(static_cast<unsigned char>(name[i])); };
    return (std::size_t(name.size()) * 37 + at(0) * 11 + at(name.size() / 2) * 5 + at(name.size() - 1)) % kNameSlots;
}

const RouteField *fieldNamed(QByteArrayView name)
{
    static const auto byHash = [] {
        std::array<NameSlot, kNameSlots> table{};
        for (const RouteField &f : routeFields()) {
            const QByteArrayView n(f.name);
            std::size_t i = nameHash(n);
            while (table[i].field)
                i = (i + 1) % kNameSlots;
            table[i] = {&f, n.size()};
        }
        return table;
    }();
    if (name.isEmpty())
        return nullptr;
    for (std::size_t i = nameHash(name); byHash[i].field; i = (i + 1) % kNameSlots) {
        if (byHash[i].length == name.size() && std::memcmp(byHash[i].field->name, name.data(), std::size_t(name.size())) == 0)
            return byHash[i].field;
    }
    return nullptr;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool equalsNoCase(QByteArrayView bytes, const char *lower)
{
    for (const char c : bytes) {
        if (*lower == '\0' || (c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != *lower)
            return false;
        ++lower;
    }
    return *lower == '\0';
}

// "True"/"False" in any case, or a decimal number (0 is no), blanks around.
std::optional<YesNo> parseYesNo(QByteArrayView value)
{
    QByteArrayView v = value;
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    if (equalsNoCase(v, "true"))
        return Yes;
    if (equalsNoCase(v, "false"))
        return No;
    if (!v.isEmpty() && (v.front() == '+' || v.front() == '-'))
        v = v.sliced(1);
    if (v.isEmpty())
        return std::nullopt;
    bool nonZero = false;
    for (const char c : v) {
        if (c < '0' || c > '9')
            return std::nullopt;
        nonZero = nonZero || c != '0';
    }
    return yesNo(nonZero);
}

class Scanner
{
public:
    Scanner(RouteStore &store, const RoutesReader::IssueSink &sink) : m_store(store), m_sink(sink) {}

    void handle(QByteArrayView line)
    {
        if (line.isEmpty())
            return;
        // Element lines are split at '<', '>' and '|', which are the same
        // bytes in every ANSI code page, so only the value kept is decoded.
        const char *const begin = line.data();
        const char *const end = begin + line.size();
        const char *first = findCut(begin, end);
        const char *second = first == end ? end : findCut(first + 1, end);
        if (second == end) {
            report([] { return QStringLiteral("skipped: not an element line"); });
            return;
        }
        const char *third = findCut(second + 1, end);
        const QByteArrayView name(first + 1, second - first - 1);
        const RouteField *field = fieldNamed(name);
        if (!field) {
            report([&] { return QStringLiteral("skipped: unknown element \"%1\"").arg(AnsiText::decode(name)); });
            return;
        }
        store(*field, QByteArrayView(second + 1, third - second - 1));
    }

    // The message is built only when someone listens.
    template<typename Message> void report(const Message &message)
    {
        if (m_sink)
            m_sink({m_line, message()});
    }

    qint64 m_line = 0;

private:
    void store(const RouteField &field, QByteArrayView value)
    {
        if (field.text == &RouteDef::RouteDef) {
            if (m_store.routeCount >= RouteStore::kMaxRoutes) {
                m_overflow = true;
                report([&] { return QStringLiteral("ignored: a route beyond the tenth (\"%1\")").arg(AnsiText::decode(value)); });
                return;
            }
            const int n = ++m_store.routeCount;
            QString &name = m_store.routes[std::size_t(n)].RouteDef;
            AnsiText::decodeInto(name, value);
            m_store.names.resize(n + 1);
            m_store.names[n] = name;
            return;
        }
        if (m_overflow)
            return;
        RouteDef &slot = m_store.routes[std::size_t(m_store.routeCount)];
        if (m_store.routeCount == 0)
            report([&] {
                return QStringLiteral("ignored: \"%1\" stands before the first RouteDef").arg(QLatin1String(field.name));
            });
        switch (field.kind) {
        case RouteField::Kind::Text:
            AnsiText::decodeInto(slot.*field.text, value);
            return;
        case RouteField::Kind::YesNo:
            if (const auto v = parseYesNo(value))
                slot.*field.int16 = *v;
            else
                rejected(field, value, "not True, False or a whole number");
            return;
        case RouteField::Kind::Int16:
            if (const auto v =
                    Numeric::plainDecimal(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()))
                slot.*field.int16 = static_cast<qint16>(*v == 0 ? field.zeroReadsAs : *v);
            else
                rejected(field, value, "not a whole number from -32768 to 32767");
            return;
        case RouteField::Kind::Int32:
            if (const auto v =
                    Numeric::plainDecimal(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()))
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
    LineSource source(device);
    Scanner scanner(store, sink);
    QByteArrayView line;

    scanner.m_line = 1;
    const auto first = source.next(line);
    if (first != LineSource::Result::Line || line != QByteArrayView("<Routes>")) {
        scanner.report([] { return QStringLiteral("not a routes file: the first line is not \"<Routes>\""); });
        return false;
    }
    for (;;) {
        ++scanner.m_line;
        switch (source.next(line)) {
        case LineSource::Result::End:
            scanner.report([] { return QStringLiteral("the file ends without \"</Routes>\""); });
            return true;
        case LineSource::Result::Error:
            // The routes read so far stand; nothing is read twice.
            scanner.report([] { return QStringLiteral("read error: the scan ends here"); });
            return true;
        case LineSource::Result::Overlong:
            scanner.report([] { return QStringLiteral("skipped: a line longer than %1 bytes").arg(kMaxLine); });
            continue;
        case LineSource::Result::Line:
            if (line == QByteArrayView("</Routes>"))
                return true;
            scanner.handle(line);
            continue;
        }
    }
}

} // namespace molvik
