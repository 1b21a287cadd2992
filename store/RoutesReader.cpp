#include "store/RoutesReader.h"

#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "store/LineMasks.h"
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

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace molvik {

namespace {

constexpr std::size_t kBufferSize = std::size_t(RoutesReader::kMaxLine) + 2;
// Readable bytes behind the buffer's end, so lines are searched in whole
// 64-byte blocks and names compared 32 bytes at a time.
constexpr std::size_t kSlack = 64;

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

// The element names, each zero-padded to 32 bytes so a name in a line can
// be matched in two 16-byte compares; and the tags the writer puts around a
// value, "<name>" and "</name>" with CR LF, so its lines are matched whole.
constexpr qsizetype kPadded = 32;
using Padded = std::array<char, kPadded>;
struct NameSlot
{
    const RouteField *field = nullptr;
    qsizetype length = 0;
    std::size_t next = 0; // the field written after this one
    alignas(16) Padded padded{};
    alignas(16) Padded open{};
    alignas(16) Padded close{};
    qsizetype openLength = 0; // 0: the tags do not fit
    qsizetype closeLength = 0;
};
constexpr std::size_t kNameSlots = 256; // a power of two, over four times the names

// The first length bytes at p (length <= 32) are those of the padded bytes.
// Reads 32 bytes at p.
bool samePrefix(const char *p, const Padded &padded, qsizetype length)
{
#if defined(__SSE2__)
    const auto *n = reinterpret_cast<const __m128i *>(p);
    const auto *s = reinterpret_cast<const __m128i *>(padded.data());
    const unsigned same = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(n), _mm_load_si128(s)))) |
                          (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(n + 1), _mm_load_si128(s + 1)))) << 16);
    const unsigned need = length == kPadded ? ~0u : (1u << length) - 1;
    return (same & need) == need;
#else
    return std::memcmp(p, padded.data(), std::size_t(length)) == 0;
#endif
}

bool sameName(QByteArrayView name, const NameSlot &slot)
{
    if (name.size() != slot.length)
        return false;
    // The name lies in the line buffer, which has slack behind it.
    if (slot.length <= kPadded)
        return samePrefix(name.data(), slot.padded, slot.length);
    return std::memcmp(slot.field->name, name.data(), std::size_t(name.size())) == 0;
}

NameSlot slotFor(const RouteField &f)
{
    NameSlot slot;
    slot.field = &f;
    slot.length = qsizetype(std::strlen(f.name));
    std::memcpy(slot.padded.data(), f.name, std::size_t(std::min(slot.length, kPadded)));
    const QByteArray open = '<' + QByteArray(f.name) + '>';
    const QByteArray close = "</" + QByteArray(f.name) + ">\r\n";
    if (close.size() <= kPadded) {
        std::memcpy(slot.open.data(), open.constData(), std::size_t(open.size()));
        std::memcpy(slot.close.data(), close.constData(), std::size_t(close.size()));
        slot.openLength = open.size();
        slot.closeLength = close.size();
    }
    return slot;
}

// One line without its line end, and where its first three cuts are: '<',
// '>' and '|', the same bytes in every ANSI code page. Missing cuts are at
// the line's end.
struct Line
{
    QByteArrayView bytes;
    std::array<const char *, 3> cut{};
    int cuts = 0;
};

constexpr qsizetype kBlock = LineMasks::kBlock;
constexpr qsizetype kWindow = 64; // blocks found at a time

// Reads lines ended by LF or CR LF in pieces no larger than the longest line
// kept, so memory stays bounded whatever the file holds. One pass over each
// byte finds both the line's end and its cuts.
template<typename Source> class LineSource
{
public:
    explicit LineSource(Source &source) : m_source(source), m_buffer(t_buffer.acquire())
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

    // From now on, lines with fewer than two cuts, which cannot be element
    // lines, are passed over unseen.
    void elementsOnly() { m_elementsOnly = true; }

    // Inlined where lines are read: most lines end in a block already
    // looked at, and what is held across lines stays in registers.
    Q_ALWAYS_INLINE Result next(Line &line)
    {
        for (;;) {
            if (m_ends) {
                // A line end in the block looked at: the bits up to it are
                // this line's, those behind it the next one's.
                const quint64 first = m_ends & (0 - m_ends);
                const qsizetype nl = m_at + std::countr_zero(m_ends);
                noteCuts(m_cutBits & (first - 1), m_at - m_start);
                const quint64 behind = ~((first << 1) - 1);
                m_ends &= behind;
                m_cutBits &= behind;
                if (m_cuts < 2 && m_elementsOnly) {
                    m_cuts = 0;
                    m_start = nl + 1;
                    continue;
                }
                take(line, nl);
                m_start = nl + 1;
                return Result::Line;
            }
            noteCuts(m_cutBits, m_at - m_start);
            m_cutBits = 0;
            m_at += m_length;
            if (m_at < m_end) {
                look(m_at);
                continue;
            }
            m_length = 0;
            if (const auto done = atReadEnd(line))
                return *done;
        }
    }

    // The line at hand when it starts with the tag of the field given and
    // ends whole in the buffer: its value, taken as next() would take it,
    // and the line is passed. A file as the writer writes it is read this
    // way, a line in a few compares and without the masks; any other line
    // is left to next().
    Q_ALWAYS_INLINE bool takeExpected(const NameSlot &slot, QByteArrayView &value)
    {
        Q_ASSERT(m_cuts == 0);
        const char *line = m_buffer + m_start;
        const char *end = m_buffer + m_end;
        if (slot.openLength == 0 || end - line <= slot.openLength || !samePrefix(line, slot.open, slot.openLength))
            return false;
        const char *from = line + slot.openLength;
        const char *stop = LineMasks::firstStop(from, end);
        const char *nl = stop;
        if (stop == end)
            return false;
        if (*stop == '\n') {
            // No third cut: the value runs to the line's end.
            value = QByteArrayView(from, stop > from && stop[-1] == '\r' ? stop - 1 : stop);
        } else {
            value = QByteArrayView(from, stop);
            if (end - stop >= slot.closeLength && samePrefix(stop, slot.close, slot.closeLength))
                nl = stop + slot.closeLength - 1;
            else if (!(nl = static_cast<const char *>(std::memchr(stop, '\n', std::size_t(end - stop)))))
                return false;
        }
        resumeAt(nl + 1 - m_buffer);
        return true;
    }

private:
    // The next line starts at `at`, passed by takeExpected(): the block
    // holding it is taken from the window when the window reaches it, with
    // the bits before it cleared; else a new window starts there.
    void resumeAt(qsizetype at)
    {
        m_start = at;
        if (at < m_at + m_length) {
            const quint64 behind = ~((quint64(1) << (at - m_at)) - 1);
            m_ends &= behind;
            m_cutBits &= behind;
        } else if (m_windowBlocks > 0 && at < m_windowEnd) {
            const qsizetype block = (at - m_windowStart) / kBlock;
            m_at = m_windowStart + block * kBlock;
            m_length = std::min(kBlock, m_windowEnd - m_at);
            const quint64 behind = ~((quint64(1) << (at - m_at)) - 1);
            m_ends = m_windowEnds[std::size_t(block)] & behind;
            m_cutBits = m_windowCuts[std::size_t(block)] & behind;
            m_nextBlock = block + 1;
        } else {
            m_at = at;
            m_length = 0;
            m_ends = m_cutBits = 0;
            m_nextBlock = m_windowBlocks = 0;
        }
    }

    // Every byte read is looked at: the line is overlong, the source ended
    // or failed, or more is read (no result).
    Q_NEVER_INLINE std::optional<Result> atReadEnd(Line &line)
    {
        if (m_end - m_start >= qsizetype(kBufferSize))
            return skipRestOfLine();
        if (m_atEnd) {
            if (m_start == m_end)
                return Result::End;
            take(line, m_end);
            m_start = m_end;
            return Result::Line;
        }
        if (!fill())
            return Result::Error;
        return std::nullopt;
    }

    // Each byte read is looked at once, in blocks of up to 64 from where the
    // last block ended: a source that hands over a few bytes at a time costs
    // no rescans, and a line's cuts are kept as offsets from its start. The
    // blocks are found a window at a time.
    void look(qsizetype at)
    {
        if (m_nextBlock == m_windowBlocks) {
            const qsizetype n = std::min(kWindow * kBlock, m_end - at);
            m_kernel(m_buffer + at, n, m_windowEnds.data(), m_windowCuts.data());
            m_windowStart = at;
            m_windowEnd = at + n;
            m_windowBlocks = (n + kBlock - 1) / kBlock;
            m_nextBlock = 0;
        }
        m_length = std::min(kBlock, m_windowEnd - at);
        m_ends = m_windowEnds[std::size_t(m_nextBlock)];
        m_cutBits = m_windowCuts[std::size_t(m_nextBlock)];
        ++m_nextBlock;
    }

    void take(Line &line, qsizetype to)
    {
        if (to > m_start && m_buffer[to - 1] == '\r')
            --to;
        line.bytes = QByteArrayView(m_buffer + m_start, to - m_start);
        line.cuts = m_cuts;
        for (int i = 0; i < 3; ++i)
            line.cut[std::size_t(i)] = m_buffer + (i < m_cuts ? m_start + m_cut[std::size_t(i)] : to);
        m_cuts = 0;
    }

    // Keeps the first three cuts of the line, as offsets from its start.
    void noteCuts(quint64 cuts, qsizetype base)
    {
        if (m_cuts == 0) {
            // Taken without a loop, so how many there are mispredicts nothing.
            const quint64 second = cuts & (cuts - 1);
            const quint64 third = second & (second - 1);
            m_cut[0] = base + std::countr_zero(cuts);
            m_cut[1] = base + std::countr_zero(second);
            m_cut[2] = base + std::countr_zero(third);
            m_cuts = int(cuts != 0) + int(second != 0) + int(third != 0);
            return;
        }
        for (; cuts && m_cuts < 3; cuts &= cuts - 1)
            m_cut[std::size_t(m_cuts++)] = base + std::countr_zero(cuts);
    }

    // Reads more behind what is there; what is left moves to the front only
    // once the buffer's end is reached, so a slow source costs no copying.
    bool fill()
    {
        m_nextBlock = m_windowBlocks = 0; // all of it taken: the next block starts a window
        if (m_start > 0 && m_end == qsizetype(kBufferSize)) {
            std::memmove(m_buffer, m_buffer + m_start, std::size_t(m_end - m_start));
            m_end -= m_start;
            m_at -= m_start;
            m_start = 0;
        }
        const qint64 n = m_source.read(m_buffer + m_end, qint64(kBufferSize) - m_end);
        if (n < 0)
            return false;
        if (n == 0)
            m_atEnd = true;
        m_end += n;
        return true;
    }

    Result skipRestOfLine()
    {
        m_start = m_end = m_at = 0;
        m_cuts = 0;
        m_nextBlock = m_windowBlocks = 0;
        for (;;) {
            const qint64 n = m_source.read(m_buffer, qint64(kBufferSize));
            if (n < 0)
                return Result::Error;
            if (n == 0) {
                m_atEnd = true;
                return Result::Overlong;
            }
            if (const void *nl = std::memchr(m_buffer, '\n', std::size_t(n))) {
                m_start = m_at = static_cast<const char *>(nl) - m_buffer + 1;
                m_end = n;
                return Result::Overlong;
            }
        }
    }

    Source &m_source;
    std::unique_ptr<char[]> m_own;
    char *m_buffer;
    qsizetype m_start = 0; // the line's first byte
    qsizetype m_end = 0;   // behind the last byte read
    bool m_atEnd = false;
    bool m_elementsOnly = false;
    // The block looked at: where it starts, how long it is, and its line
    // ends and cuts not yet taken.
    qsizetype m_at = 0;
    qsizetype m_length = 0;
    quint64 m_ends = 0;
    quint64 m_cutBits = 0;
    // The window of blocks found ahead, and the next one to take.
    const LineMasks::Kernel m_kernel = LineMasks::best();
    std::array<quint64, kWindow> m_windowEnds;
    std::array<quint64, kWindow> m_windowCuts;
    qsizetype m_windowStart = 0;
    qsizetype m_windowEnd = 0;
    qsizetype m_windowBlocks = 0;
    qsizetype m_nextBlock = 0;
    std::array<qsizetype, 3> m_cut{};
    int m_cuts = 0;
};

std::size_t nameHash(QByteArrayView name)
{
    const auto at = [&](qsizetype i) { return std::size_t(static_cast<unsigned char>(name[i])); };
    return (std::size_t(name.size()) * 37 + at(0) * 11 + at(name.size() / 2) * 5 + at(name.size() - 1)) % kNameSlots;
}

// The element names in an open-addressed table, and each in declared order:
// a name is matched on its bytes, so only the values kept are ever decoded.
struct Names
{
    std::array<NameSlot, kNameSlots> byHash{};
    std::array<NameSlot, kRouteFieldCount> inOrder{};

    Names()
    {
        for (std::size_t k = 0; k < routeFields().size(); ++k) {
            NameSlot slot = slotFor(routeFields()[k]);
            slot.next = (k + 1) % routeFields().size();
            inOrder[k] = slot;
            std::size_t i = nameHash(QByteArrayView(slot.field->name, slot.length));
            while (byHash[i].field)
                i = (i + 1) % kNameSlots;
            byHash[i] = slot;
        }
    }

    const NameSlot *find(QByteArrayView name) const
    {
        if (name.isEmpty())
            return nullptr;
        for (std::size_t i = nameHash(name); byHash[i].field; i = (i + 1) % kNameSlots) {
            if (sameName(name, byHash[i]))
                return &byHash[i];
        }
        return nullptr;
    }
};

const Names &names()
{
    static const Names table;
    return table;
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
    // What the writer writes, before the forgiving forms.
    if (value.size() == 4 && std::memcmp(value.data(), "True", 4) == 0)
        return Yes;
    if (value.size() == 5 && std::memcmp(value.data(), "False", 5) == 0)
        return No;
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

    // The field the writer puts next.
    const NameSlot &expected() const { return m_names.inOrder[m_next]; }
    void takeExpected(QByteArrayView value)
    {
        const NameSlot &slot = expected();
        m_next = slot.next;
        store(*slot.field, value);
    }

    // Yes when the line held a known element.
    bool handle(const Line &line)
    {
        if (line.bytes.isEmpty())
            return false;
        // Element lines are split at their first three cuts, so only the
        // value kept is decoded.
        if (line.cuts < 2) {
            report([] { return QStringLiteral("skipped: not an element line"); });
            return false;
        }
        const char *first = line.cut[0];
        const char *second = line.cut[1];
        const QByteArrayView name(first + 1, second - first - 1);
        // The writer puts a route's fields in declared order: the one after
        // the last is tried before the table.
        const NameSlot &expected = m_names.inOrder[m_next];
        const NameSlot *slot = sameName(name, expected) ? &expected : m_names.find(name);
        if (!slot) {
            report([&] { return QStringLiteral("skipped: unknown element \"%1\"").arg(AnsiText::decode(name)); });
            return false;
        }
        m_next = slot->next;
        const QByteArrayView value(second + 1, line.cut[2] - second - 1);
        if (m_sink && !writersForm(line, name))
            report([&] {
                return QStringLiteral("not written by the control: %1 keeps only \"%2\" of this line")
                    .arg(AnsiText::decode(name), AnsiText::decode(value));
            });
        store(*slot->field, value);
        return true;
    }

    // The value ends with the line's own closing tag: one holding "<", ">"
    // or "|", or a line break, was not put there by the writer.
    static bool writersForm(const Line &line, QByteArrayView name)
    {
        const char *end = line.bytes.data() + line.bytes.size();
        const QByteArrayView tail(line.cut[2], end - line.cut[2]);
        return *line.cut[1] == '>' && tail.size() == name.size() + 3 && tail.startsWith("</") && tail.endsWith(">") &&
               tail.sliced(2, name.size()) == name;
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
            // What the writer writes, before the forgiving parse.
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
    const Names &m_names = names();
    std::size_t m_next = 0;
};

} // namespace

namespace {

// Bytes from a device.
struct DeviceSource
{
    QIODevice &device;
    qint64 read(char *to, qint64 most) { return device.read(to, most); }
};

#ifdef Q_OS_UNIX
// Bytes straight from a descriptor.
struct DescriptorSource
{
    int descriptor;
    qint64 read(char *to, qint64 most)
    {
        for (;;) {
            const ssize_t n = ::read(descriptor, to, std::size_t(most));
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }
};
#endif

template<typename Source> bool readFrom(Source &from, RouteStore &store, const RoutesReader::IssueSink &sink)
{
    LineSource<Source> source(from);
    Scanner scanner(store, sink);
    Line line;

    scanner.m_line = 1;
    const auto first = source.next(line);
    if (first != LineSource<Source>::Result::Line || line.bytes != QByteArrayView("<Routes>")) {
        scanner.report([] { return QStringLiteral("not a routes file: the first line is not \"<Routes>\""); });
        return false;
    }
    // Nobody hears of the lines skipped, so they need not be counted.
    if (!sink)
        source.elementsOnly();
    bool expectElement = true;
    for (;;) {
        // After an element, the writer's next lines are tried as it writes
        // them; the first other line goes the long way. Every line does
        // when someone listens, so each is looked at whole.
        if (expectElement && !sink) {
            QByteArrayView value;
            while (source.takeExpected(scanner.expected(), value)) {
                ++scanner.m_line;
                scanner.takeExpected(value);
            }
        }
        ++scanner.m_line;
        switch (source.next(line)) {
        case LineSource<Source>::Result::End:
            scanner.report([] { return QStringLiteral("the file ends without \"</Routes>\""); });
            return true;
        case LineSource<Source>::Result::Error:
            // The routes read so far stand; nothing is read twice.
            scanner.report([] { return QStringLiteral("read error: the scan ends here"); });
            return true;
        case LineSource<Source>::Result::Overlong:
            scanner.report([] { return QStringLiteral("skipped: a line longer than %1 bytes").arg(RoutesReader::kMaxLine); });
            continue;
        case LineSource<Source>::Result::Line:
            if (line.bytes == QByteArrayView("</Routes>"))
                return true;
            expectElement = scanner.handle(line);
            continue;
        }
    }
}

} // namespace

bool RoutesReader::read(QIODevice &device, RouteStore &store, const IssueSink &sink)
{
    DeviceSource source{device};
    return readFrom(source, store, sink);
}

#ifdef Q_OS_UNIX
bool RoutesReader::read(int descriptor, RouteStore &store, const IssueSink &sink)
{
    DescriptorSource source{descriptor};
    return readFrom(source, store, sink);
}
#endif

} // namespace molvik
