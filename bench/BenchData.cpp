#include "bench/BenchData.h"

#include "store/RouteDef.h"
#include "store/RouteStore.h"

#include <QFile>

#include <random>
#include <vector>

#include <unistd.h>

namespace molvik::bench {

void fillFullTable(RouteStore &store)
{
    store.routeCount = RouteStore::kMaxRoutes;
    for (int slot = 1; slot <= RouteStore::kMaxRoutes; ++slot) {
        RouteDef &r = store.routes[std::size_t(slot)];
        int k = 0;
        for (const RouteField &f : routeFields()) {
            ++k;
            switch (f.kind) {
            case RouteField::Kind::Text:
                r.*f.text = QStringLiteral("C:\\programData\\Kelmora\\%1\\route %2").arg(QLatin1String(f.name)).arg(slot);
                break;
            case RouteField::Kind::YesNo:
                r.*f.int16 = yesNo((k + slot) % 3 == 0);
                break;
            case RouteField::Kind::Int16:
                r.*f.int16 = qint16(100 + k);
                break;
            case RouteField::Kind::Int32:
                r.*f.int32 = 20000 + k * slot;
                break;
            }
        }
    }
}

namespace {

QByteArray randomText(std::mt19937 &rng, int length)
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:-_/\\*?!\"'()[]{}";
    std::uniform_int_distribution<int> pick(0, int(sizeof alphabet) - 2);
    QByteArray out(length, Qt::Uninitialized);
    for (char &c : out)
        c = alphabet[pick(rng)];
    return out;
}

// A pool of junk lines, each with its line end.
std::vector<QByteArray> junkLines(std::mt19937 &rng)
{
    std::vector<QByteArray> pool;
    std::uniform_int_distribution<int> length(10, 140);
    for (int i = 0; i < 4096; ++i) {
        QByteArray line;
        switch (i % 10) {
        case 0:
        case 1: // an element no route has
            line = "<Junk" + QByteArray::number(i) + '>' + randomText(rng, length(rng)) + "</Junk" + QByteArray::number(i) + '>';
            break;
        case 2: // known elements, values that do not convert
            line = "<FTPport>" + randomText(rng, 8) + "</FTPport>";
            break;
        case 3:
            line = "  <SMTP>maybe</SMTP>";
            break;
        case 4: // a route past the tenth once ten are read
            line = "<RouteDef>" + randomText(rng, 20) + "</RouteDef>";
            break;
        default: // plain text
            line = randomText(rng, length(rng));
        }
        line += i % 3 == 0 ? "\n" : "\r\n";
        pool.push_back(line);
    }
    return pool;
}

} // namespace

bool writeJunkFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::mt19937 rng(424242);
    const std::vector<QByteArray> pool = junkLines(rng);
    const QByteArray overlong = randomText(rng, 100 * 1024) + "\r\n";
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    std::uniform_int_distribution<int> rare(0, 9999);

    QByteArray chunk = "<Routes>\r\n";
    qint64 written = 0;
    while (written < bytes) {
        chunk += rare(rng) == 0 ? overlong : pool[pick(rng)];
        if (chunk.size() >= (1 << 20) || written + chunk.size() >= bytes) {
            if (file.write(chunk) != chunk.size())
                return false;
            written += chunk.size();
            chunk.clear();
        }
    }
    // On disk before any timing starts: write-back of 200 MB in the middle of
    // a run would land on whichever benchmark syncs next.
    return file.flush() && ::fsync(file.handle()) == 0;
}

} // namespace molvik::bench
