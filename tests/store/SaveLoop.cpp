// Child process of the crash and fault tests.
//
//   save_loop save|inplace PATH FIRST [COUNT]
//
// Writes tables FIRST, FIRST+1, ... through save-routes ("save"), or in place
// in small pieces as save-routes must never do ("inplace"). "ready" goes to
// standard output before the first save and "saved N" after each completed
// one, so a parent that kills it knows the last save that finished. A failed
// save prints the error on standard error and exits 1.
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"

#include <QFile>

#include <cstdio>
#include <cstring>

using namespace molvik;

namespace {

QString writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    for (qsizetype at = 0; ok && at < bytes.size(); at += 64)
        ok = file.write(bytes.mid(at, 64)) >= 0;
    return ok ? QString() : path + QStringLiteral(": in-place write failed");
}

} // namespace

// Never leak-checked: a killed child cannot be, and the leak checker refuses
// to run under strace. Only a sanitizer runtime calls this.
extern "C" const char *__asan_default_options() // NOLINT(bugprone-reserved-identifier): the runtime asks for this name
{
    return "detect_leaks=0";
}

int main(int argc, char **argv)
{
    const bool inPlace = argc > 1 && std::strcmp(argv[1], "inplace") == 0;
    if (argc < 4 || (!inPlace && std::strcmp(argv[1], "save") != 0))
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const qint64 first = QByteArray(argv[3]).toLongLong();
    const qint64 count = argc > 4 ? QByteArray(argv[4]).toLongLong() : -1;
    RouteStore store(test::plainEnvironment());
    std::printf("ready\n");
    std::fflush(stdout); // nothing may wait in a buffer when the kill comes
    for (qint64 n = first; count < 0 || n < first + count; ++n) {
        test::fillSaveLoopTable(store, n);
        const QString error =
            inPlace ? writeInPlace(path, RoutesWriter::serialize(store)) : RuleSys::saveRoutes(store, path).text();
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            return 1;
        }
        std::printf("saved %lld\n", static_cast<long long>(n));
        std::fflush(stdout);
    }
    return 0;
}
