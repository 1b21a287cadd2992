#include "store/RoutesReader.h"

#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "store/RouteStore.h"

#include <QByteArrayView>
#include <QHash>
#include <QIODevice>

#include <cstring>
#include <limits>
#include <vector>

namespace molvik {

namespace {

// Reads lines ended by LF or CR LF in pieces no larger than the longest line
// kept, so memory stays bounded whatever the file holds.
class LineSource
{
public:
    explicit LineSource(QIODevice &device) : m_device(device), m_buffer(RoutesReader::kMaxLine + 2) {}

    enum class Result { Line, Overlong, End, Error };

    Result next(QByteArrayView &line)
    {
        for (;;) {
            const char *base = m_buffer.data();
            if (const void *nl = std::memchr(base + m_start, '\n', std::size_t(m_end - m_start))) {
                const qsizetype at = static_cast<const char *>(nl) - base;
                line = lineAt(m_start, at);
                m_start = at + 1;
                return Result::Line;
            }
            if (m_end - m_start >= qsizetype(m_buffer.size()))
                return skipRestOfLine();
            if (m_atEnd) {
                if (m_start == m_end)
                    return Result::End;
                line = lineAt(m_start, m_end);
                m_start = m_end;
                return Result::Line;
            }
            if (!fill())
                return Result::Error;
        }
    }

private:
    QByteArrayView lineAt(qsizetype from, qsizetype to) const
    {
        if (to > from && m_buffer[std::size_t(to - 1)] == '\r')
            --to;
        return QByteArrayView(m_buffer.data() + from, to - from);
    }

    // Moves what is left to the front and reads more behind it.
    bool fill()
    {
        if (m_start > 0) {
            std::memmove(m_buffer.data(), m_buffer.data() + m_start, std::size_t(m_end - m_start));
            m_end -= m_start;
            m_start = 0;
        }
        const qint64 n = m_device.read(m_buffer.data() + m_end, qint64(m_buffer.size()) - m_end);
        if (n < 0)
            return false;
        if (n == 0)
            m_atEnd = true;
        m_end += n;
        return true;
    }

    Result skipRestOfLine()
    {
        m_start = m_end = 0;
        for (;;) {
            const qint64 n = m_device.read(m_buffer.data(), qint64(m_buffer.size()));
            if (n < 0)
                return Result::Error;
            if (n == 0) {
                m_atEnd = true;
                return Result::Overlong;
            }
            if (const void *nl = std::memchr(m_buffer.data(), '\n', std::size_t(n))) {
                m_start = static_cast<const char *>(nl) - m_buffer.data() + 1;
                m_end = n;
                return Result::Overlong;
            }
        }
    }

    QIODevice &m_device;
    std::vector<char> m_buffer;
    qsizetype m_start = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
};

const QHash<QString, const RouteField *> &fieldsByName()
{
    static const QHash<QString, const RouteField *> map = [] {
        QHash<QString, const RouteField *> m;
        for (const RouteField &f : routeFields())
            m.insert(QLatin1String(f.name), &f);
        return m;
    }();
    return map;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// "True"/"False" in any case, or a decimal number (0 is no), blanks around.
std::optional<YesNo> parseYesNo(QStringView value)
{
    QStringView v = value;
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    if (v.compare(u"true", Qt::CaseInsensitive) == 0)
        return Yes;
    if (v.compare(u"false", Qt::CaseInsensitive) == 0)
        return No;
    if (!v.isEmpty() && (v.front() == u'+' || v.front() == u'-'))
        v = v.sliced(1);
    if (v.isEmpty())
        return std::nullopt;
    bool nonZero = false;
    for (const QChar c : v) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        nonZero = nonZero || c != u'0';
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
        // bytes in every ANSI code page, so only the two parts kept are decoded.
        qsizetype cuts[3];
        int found = 0;
        for (qsizetype i = 0; i < line.size() && found < 3; ++i) {
            const char c = line[i];
            if (c == '<' || c == '>' || c == '|')
                cuts[found++] = i;
        }
        if (found < 2) {
            report(QStringLiteral("skipped: not an element line"));
            return;
        }
        const QString name = AnsiText::decode(line.sliced(cuts[0] + 1, cuts[1] - cuts[0] - 1));
        const qsizetype valueEnd = found == 3 ? cuts[2] : line.size();
        const auto it = fieldsByName().constFind(name);
        if (it == fieldsByName().constEnd()) {
            report(QStringLiteral("skipped: unknown element \"%1\"").arg(name));
            return;
        }
        store(**it, AnsiText::decode(line.sliced(cuts[1] + 1, valueEnd - cuts[1] - 1)));
    }

    void report(const QString &message)
    {
        if (m_sink)
            m_sink({m_line, message});
    }

    qint64 m_line = 0;

private:
    void store(const RouteField &field, const QString &value)
    {
        if (field.text == &RouteDef::RouteDef) {
            if (m_store.routeCount >= RouteStore::kMaxRoutes) {
                m_overflow = true;
                report(QStringLiteral("ignored: a route beyond the tenth (\"%1\")").arg(value));
                return;
            }
            const int n = ++m_store.routeCount;
            m_store.routes[std::size_t(n)].RouteDef = value;
            m_store.names.resize(n + 1);
            m_store.names[n] = value;
            return;
        }
        if (m_overflow)
            return;
        RouteDef &slot = m_store.routes[std::size_t(m_store.routeCount)];
        if (m_store.routeCount == 0)
            report(QStringLiteral("ignored: \"%1\" stands before the first RouteDef").arg(QLatin1String(field.name)));
        switch (field.kind) {
        case RouteField::Kind::Text:
            slot.*field.text = value;
            return;
        case RouteField::Kind::YesNo:
            if (const auto v = parseYesNo(value))
                slot.*field.int16 = *v;
            else
                rejected(field, value, QStringLiteral("not True, False or a whole number"));
            return;
        case RouteField::Kind::Int16:
            if (const auto v =
                    Numeric::plainDecimal(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()))
                slot.*field.int16 = static_cast<qint16>(*v == 0 ? field.zeroReadsAs : *v);
            else
                rejected(field, value, QStringLiteral("not a whole number from -32768 to 32767"));
            return;
        case RouteField::Kind::Int32:
            if (const auto v =
                    Numeric::plainDecimal(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()))
                slot.*field.int32 = static_cast<qint32>(*v == 0 ? field.zeroReadsAs : *v);
            else
                rejected(field, value, QStringLiteral("not a 32-bit whole number"));
            return;
        }
    }

    void rejected(const RouteField &field, const QString &value, const QString &why)
    {
        report(QStringLiteral("value not taken: %1 \"%2\" is %3").arg(QLatin1String(field.name), value, why));
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
        scanner.report(QStringLiteral("not a routes file: the first line is not \"<Routes>\""));
        return false;
    }
    for (;;) {
        ++scanner.m_line;
        switch (source.next(line)) {
        case LineSource::Result::End:
            scanner.report(QStringLiteral("the file ends without \"</Routes>\""));
            return true;
        case LineSource::Result::Error:
            // The routes read so far stand; nothing is read twice.
            scanner.report(QStringLiteral("read error: the scan ends here"));
            return true;
        case LineSource::Result::Overlong:
            scanner.report(QStringLiteral("skipped: a line longer than %1 bytes").arg(kMaxLine));
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
