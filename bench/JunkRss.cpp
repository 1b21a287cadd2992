// Peak memory of load-routes on a 200 MB file of junk lines, next to what
// holding the file whole would take.
//
//   molvik-junk-rss [--read-all] [FILE]
//
// Without FILE it writes the junk file into a temporary folder first.
#include "bench/BenchData.h"

#include "store/RouteStore.h"
#include "store/RuleSys.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

#include <sys/resource.h>

using namespace molvik;

namespace {

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss; // KiB on Linux
}

} // namespace

int main(int argc, char **argv)
{
    bool readAll = false;
    QString path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--read-all") == 0)
            readAll = true;
        else
            path = QString::fromLocal8Bit(argv[i]);
    }
    QTemporaryDir tmp;
    if (path.isEmpty()) {
        path = tmp.filePath(QStringLiteral("Junk.xml"));
        if (!bench::writeJunkFile(path, 200 * 1000 * 1000)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const qint64 size = QFile(path).size();
    const long before = peakKiB();
    long routes = 0;
    if (readAll) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        routes = long(f.readAll().count('\n'));
    } else {
        RouteStore store(Environment{std::make_shared<SystemVersionSource>(), std::make_shared<FileSystem>(), QString()});
        if (!RuleSys::loadRoutes(store, path))
            return 1;
        routes = store.routeCount;
    }
    const long after = peakKiB();
    std::printf("%s of %.0f MB: peak RSS %ld KiB (%ld KiB before reading, +%ld KiB); %s %ld\n",
                readAll ? "QFile::readAll" : "load-routes", double(size) / 1e6, after, before, after - before,
                readAll ? "lines" : "routes", routes);
    return 0;
}
