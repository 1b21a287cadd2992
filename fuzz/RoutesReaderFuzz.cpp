// libFuzzer target for the routes reader: any bytes, never a crash or a hang,
// and what it reads always makes a consistent table that the writer and the
// reader carry through unchanged.
#include "store/RouteStore.h"
#include "store/RoutesReader.h"
#include "store/RoutesWriter.h"
#include "fuzz/TrickleDevice.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace molvik;

namespace {

#define FUZZ_CHECK(condition)                                                                                                    \
    do {                                                                                                                         \
        if (!(condition)) {                                                                                                      \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                              \
            std::abort();                                                                                                        \
        }                                                                                                                        \
    } while (false)

const Environment &environment()
{
    static const Environment env{std::make_shared<SystemVersionSource>(), std::make_shared<FileSystem>(), QString()};
    return env;
}

bool sameTable(const RouteStore &a, const RouteStore &b)
{
    if (a.routeCount != b.routeCount || a.names != b.names)
        return false;
    for (int slot = 1; slot <= a.routeCount; ++slot) {
        if (!(a.routes[std::size_t(slot)] == b.routes[std::size_t(slot)]))
            return false;
    }
    return true;
}

void checkNames(const RouteStore &store)
{
    const int count = store.routeCount;
    FUZZ_CHECK(count >= 0 && count <= RouteStore::kMaxRoutes);
    if (count == 0) {
        FUZZ_CHECK(store.names.isEmpty());
        return;
    }
    FUZZ_CHECK(store.names.size() == count + 1);
    FUZZ_CHECK(store.names[0].isEmpty());
    for (int i = 1; i <= count; ++i)
        FUZZ_CHECK(store.names[i] == store.routes[std::size_t(i)].RouteDef);
}

// A 0 in these four ports reads back as its stand-in, and only a field the
// file never set can still hold 0.
void asReadBack(RouteStore &store)
{
    for (int slot = 1; slot <= store.routeCount; ++slot) {
        RouteDef &r = store.routes[std::size_t(slot)];
        for (const RouteField &f : routeFields()) {
            if (f.zeroReadsAs == 0)
                continue;
            if (f.kind == RouteField::Kind::Int16 && r.*f.int16 == 0)
                r.*f.int16 = static_cast<qint16>(f.zeroReadsAs);
            if (f.kind == RouteField::Kind::Int32 && r.*f.int32 == 0)
                r.*f.int32 = f.zeroReadsAs;
        }
    }
}

// The writer puts a value on one line with its tags; the reader skips lines
// over its limit, so a value near that limit cannot come back.
bool linesFitTheReader(const QByteArray &written)
{
    qsizetype start = 0;
    while (start < written.size()) {
        qsizetype end = written.indexOf('\n', start);
        if (end < 0)
            end = written.size();
        if (end - start > RoutesReader::kMaxLine)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qint64 lines = bytes.count('\n') + 1;

    RouteStore store(environment());
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    qint64 lastIssueLine = 0;
    const bool accepted = RoutesReader::read(buffer, store, [&](const RoutesReader::Issue &issue) {
        // Issues come in file order and point into the file (or just past its end).
        FUZZ_CHECK(issue.line >= 1 && issue.line >= lastIssueLine && issue.line <= lines + 1);
        FUZZ_CHECK(!issue.message.isEmpty());
        lastIssueLine = issue.line;
    });
    if (!accepted)
        FUZZ_CHECK(store.routeCount == 0);
    checkNames(store);

    // The same bytes in small pieces give the same table: lines carried from
    // one read to the next come out as lines read whole.
    RouteStore again(environment());
    test::TrickleDevice trickle(bytes, 1 + qint64(size % 61));
    FUZZ_CHECK(RoutesReader::read(trickle, again) == accepted);
    FUZZ_CHECK(sameTable(store, again));

    // Written and read again, the table comes back as it was.
    if (store.routeCount > 0) {
        const QByteArray written = RoutesWriter::serialize(store);
        if (linesFitTheReader(written)) {
            RouteStore reread(environment());
            QBuffer out;
            out.setData(written);
            out.open(QIODevice::ReadOnly);
            FUZZ_CHECK(RoutesReader::read(out, reread));
            checkNames(reread);
            asReadBack(store);
            FUZZ_CHECK(sameTable(store, reread));
        }
    }
    return 0;
}
