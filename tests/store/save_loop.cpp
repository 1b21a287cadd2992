// Child process of the crash and fault tests.
//
//   save_loop save PATH FIRST [COUNT]     saves FIRST, FIRST+1, ... through save-routes
//   save_loop inplace PATH FIRST [COUNT]  the same tables written in place, in small pieces
//
// "ready" goes to standard output before the first save and "saved N" after
// each completed one, unbuffered, so a parent that kills it knows the last save
// that finished. A failed save prints the error on standard error and exits 1.
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "tests/store/SaveLoopTables.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

using namespace molvik;

namespace {

void say(const std::string &line)
{
    const std::string text = line + '\n';
    // Straight to the descriptor: nothing may wait in a buffer when the kill comes.
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
}

// What save-routes must never do: truncate the file, then fill it bit by bit.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    for (qsizetype at = 0; at < bytes.size(); at += 64) {
        if (file.write(bytes.mid(at, 64)) < 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4 || (std::strcmp(argv[1], "save") != 0 && std::strcmp(argv[1], "inplace") != 0)) {
        std::fprintf(stderr, "usage: save_loop save|inplace PATH FIRST [COUNT]\n");
        return 2;
    }
    const bool inPlace = std::strcmp(argv[1], "inplace") == 0;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const qint64 first = std::stoll(argv[3]);
    const qint64 count = argc > 4 ? std::stoll(argv[4]) : -1;

    const QString folder = QFileInfo(path).absolutePath();
    RouteStore store(Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::make_shared<FileSystem>(), folder});
    store.dataFolder = folder;
    say("ready");
    for (qint64 n = first; count < 0 || n < first + count; ++n) {
        test::fillSaveLoopTable(store, n);
        if (inPlace) {
            if (!writeInPlace(path, RoutesWriter::serialize(store))) {
                std::fprintf(stderr, "in-place write of %s failed\n", argv[2]);
                return 1;
            }
        } else if (const IoResult r = RuleSys::saveRoutes(store, path); !r) {
            std::fprintf(stderr, "%s\n", r.text().toLocal8Bit().constData());
            return 1;
        }
        say("saved " + std::to_string(n));
    }
    return 0;
}
