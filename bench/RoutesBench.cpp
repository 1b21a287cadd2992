// load-routes and save-routes against what plain Qt does with the same bytes,
// in the same run, so the ratios hold on any machine.
#include "bench/BenchData.h"

#include "store/RouteStore.h"
#include "store/RoutesReader.h"
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace molvik;

namespace {

constexpr qint64 kJunkBytes = 200 * 1000 * 1000;
constexpr int kSavePairs = 41;
constexpr int kTablePairs = 2001;
constexpr int kJunkPairs = 5;

Environment plainEnvironment(const QString &folder)
{
    return {std::make_shared<SystemVersionSource>(), std::make_shared<FileSystem>(), folder};
}

// Keeps each benchmark's time per iteration (the median when repeated) while
// printing as usual.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    using ConsoleReporter::ConsoleReporter;

    struct Times
    {
        double real = 0;
        double cpu = 0;
    };

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.iterations <= 0)
                continue;
            const Times t{run.real_accumulated_time / double(run.iterations), run.cpu_accumulated_time / double(run.iterations)};
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[run.run_name.function_name] = t;
            else if (run.run_type == Run::RT_Iteration)
                m_single[run.run_name.function_name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Times *find(const std::string &name) const
    {
        if (const auto m = m_median.find(name); m != m_median.end())
            return &m->second;
        const auto s = m_single.find(name);
        return s != m_single.end() ? &s->second : nullptr;
    }

private:
    std::map<std::string, Times> m_median;
    std::map<std::string, Times> m_single;
};

// One line of the ratio block; the goal is the most the wall ratio may be,
// or 0 for a ratio shown only to say where the time goes.
void ratioLine(const char *what, double wall, double cpu, double goal)
{
    if (goal > 0)
        std::printf("  %-56s %8.2f %8.2f   <= %.2f %s\n", what, wall, cpu, goal, wall <= goal ? "met" : "NOT MET");
    else
        std::printf("  %-56s %8.2f %8.2f\n", what, wall, cpu);
}

void ratio(const RatioReporter &r, const char *what, const char *subject, const char *baseline, double goal = 0)
{
    const RatioReporter::Times *s = r.find(subject);
    const RatioReporter::Times *b = r.find(baseline);
    if (s == nullptr || b == nullptr || b->real <= 0 || b->cpu <= 0)
        return;
    ratioLine(what, s->real / b->real, s->cpu / b->cpu, goal);
}

// What durability itself needs, by hand: the bytes into a new file, synced,
// renamed over the target, the folder synced.
bool durableFloor(const QByteArray &temp, const QByteArray &target, const QByteArray &folder, const QByteArray &bytes)
{
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size() && ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok && ::rename(temp.constData(), target.constData()) == 0;
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = ok && dir >= 0 && ::fsync(dir) == 0;
    if (dir >= 0)
        ::close(dir);
    return ok;
}

struct Pair
{
    double oursWall = 0, baseWall = 0; // medians, in any one unit
    double oursCpu = 0, baseCpu = 0;
};

double median(std::vector<double> v);

double processCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// Ours and the baseline taken in turns, so a disk whose sync times drift
// during the run weighs on both alike.
template<typename Ours, typename Base> std::optional<Pair> inTurns(int pairs, Ours ours, Base base)
{
    std::vector<double> wall[2], cpu[2];
    for (int i = 0; i < pairs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2;
            QElapsedTimer timer;
            const double cpuBefore = processCpuNs();
            timer.start();
            if (!(which == 0 ? ours() : base()))
                return std::nullopt;
            wall[which].push_back(double(timer.nsecsElapsed()));
            cpu[which].push_back(processCpuNs() - cpuBefore);
        }
    }
    return Pair{median(wall[0]), median(wall[1]), median(cpu[0]), median(cpu[1])};
}

struct Startup
{
    double controlWall = 0, bareWall = 0; // ms, medians
    double controlCpu = 0, bareCpu = 0;
};

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3) +
           (double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Whole processes from start to exit after their first paint, in pairs
// whose order alternates, after one pair that warms the caches.
std::optional<Startup> startupPairs(const QString &control, const QString &bare, int pairs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::vector<double> wall[2], cpu[2];
    for (int pair = -1; pair < pairs; ++pair) {
        for (int k = 0; k < 2; ++k) {
            const int which = (pair + k) % 2 == 0 ? 0 : 1;
            QProcess process;
            process.setProcessEnvironment(env);
            process.setProcessChannelMode(QProcess::MergedChannels); // shown only on a failure
            const double cpuBefore = childCpuMs();
            QElapsedTimer timer;
            timer.start();
            process.start(which == 0 ? control : bare, {});
            if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
                std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(process.program()), process.readAll().constData());
                return std::nullopt;
            }
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            if (pair >= 0) {
                wall[which].push_back(ms);
                cpu[which].push_back(childCpuMs() - cpuBefore);
            }
        }
    }
    return Startup{median(wall[0]), median(wall[1]), median(cpu[0]), median(cpu[1])};
}

// The files every benchmark reads or writes, in a folder of their own.
struct Files
{
    QTemporaryDir folder;
    QString table, saved, junk;
    QByteArray tableBytes;
    qint64 junkSize = 0;
};

bool writeFiles(Files &files, RouteStore &table)
{
    files.table = files.folder.filePath(QStringLiteral("Routes.xml"));
    files.saved = files.folder.filePath(QStringLiteral("Saved.xml"));
    files.junk = files.folder.filePath(QStringLiteral("Junk.xml"));
    bench::fillFullTable(table);
    files.tableBytes = RoutesWriter::serialize(table);
    QFile f(files.table);
    if (!f.open(QIODevice::WriteOnly) || f.write(files.tableBytes) != files.tableBytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(files.table));
        return false;
    }
    std::fprintf(stderr, "writing %lld bytes of junk lines...\n", static_cast<long long>(kJunkBytes));
    if (!bench::writeJunkFile(files.junk, kJunkBytes)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(files.junk));
        return false;
    }
    files.junkSize = QFile(files.junk).size();
    return true;
}

// Lines counted with memchr, the least any line reader does.
qint64 memchrLines(const char *p, const char *end)
{
    qint64 lines = 0;
    while ((p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    return lines;
}

void registerTable(const Files &files, RouteStore &table, RouteStore &reader)
{
    const qint64 bytes = files.tableBytes.size();
    benchmark::RegisterBenchmark("table/load-routes", [&files, &reader, bytes](benchmark::State &state) {
        for (auto _ : state) {
            reader.routeCount = 0; // as the control does before every read
            benchmark::DoNotOptimize(RuleSys::loadRoutes(reader, files.table));
        }
        if (reader.routeCount != RouteStore::kMaxRoutes)
            state.SkipWithError("the table did not read back whole");
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    // A yardstick: the table's bytes, in memory, split at each line end.
    benchmark::RegisterBenchmark("table/memchr-lines-in-memory", [&files, bytes](benchmark::State &state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(memchrLines(files.tableBytes.constData(), files.tableBytes.constData() + bytes));
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    benchmark::RegisterBenchmark("table/QFile::readAll", [&files, bytes](benchmark::State &state) {
        for (auto _ : state) {
            QFile f(files.table);
            f.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(f.readAll());
        }
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    benchmark::RegisterBenchmark("table/save-routes", [&files, &table, bytes](benchmark::State &state) {
        for (auto _ : state) {
            if (!RuleSys::saveRoutes(table, files.saved))
                state.SkipWithError("save-routes failed");
        }
        state.SetBytesProcessed(state.iterations() * bytes);
    });
}

// The junk file's lines counted with memchr, read as a plain reader would.
qint64 junkLineCount(const Files &files, std::vector<char> &buffer)
{
    QFile f(files.junk);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    qint64 lines = 0;
    for (qint64 n; (n = f.read(buffer.data(), qint64(buffer.size()))) > 0;)
        lines += memchrLines(buffer.data(), buffer.data() + n);
    return lines;
}

void registerJunk(const Files &files, RouteStore &reader)
{
    benchmark::RegisterBenchmark("junk/load-routes",
                                 [&files, &reader](benchmark::State &state) {
                                     for (auto _ : state) {
                                         reader.routeCount = 0;
                                         benchmark::DoNotOptimize(RuleSys::loadRoutes(reader, files.junk));
                                     }
                                     state.SetBytesProcessed(state.iterations() * files.junkSize);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("junk/memchr-lines",
                                 [&files](benchmark::State &state) {
                                     std::vector<char> buffer(1 << 20);
                                     for (auto _ : state)
                                         benchmark::DoNotOptimize(junkLineCount(files, buffer));
                                     state.SetBytesProcessed(state.iterations() * files.junkSize);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
}

// save-routes against the durable floor, taken in turns; printed with the
// other ratios, and its medians kept for the summary.
std::optional<Pair> saveAgainstFloor(const Files &files, RouteStore &table)
{
    const QByteArray temp = QFile::encodeName(files.folder.filePath(QStringLiteral(".Saved.xml.floor")));
    const QByteArray target = QFile::encodeName(files.saved);
    const QByteArray folder = QFile::encodeName(files.folder.path());
    return inTurns(
        kSavePairs, [&] { return bool(RuleSys::saveRoutes(table, files.saved)); },
        [&] { return durableFloor(temp, target, folder, files.tableBytes); });
}

// The guarded reads against their baselines, taken in turns like the saves:
// a busy spell of the machine then weighs on both alike, where the
// benchmarks above, run one after the other, may meet it in one only.
struct Loads
{
    std::optional<Pair> table, junk;
};

Loads loadsInTurns(const Files &files, RouteStore &reader)
{
    const auto load = [&reader](const QString &path) {
        reader.routeCount = 0;
        return RuleSys::loadRoutes(reader, path);
    };
    std::vector<char> buffer(1 << 20);
    return {inTurns(
                kTablePairs, [&] { return load(files.table) && reader.routeCount == RouteStore::kMaxRoutes; },
                [&] {
                    QFile f(files.table);
                    return f.open(QIODevice::ReadOnly) && f.readAll().size() == files.tableBytes.size();
                }),
            inTurns(
                kJunkPairs, [&] { return load(files.junk); }, [&] { return junkLineCount(files, buffer) > 0; })};
}

void pairLine(const char *what, const std::optional<Pair> &pair, double goal)
{
    if (pair)
        ratioLine(what, pair->oursWall / pair->baseWall, pair->oursCpu / pair->baseCpu, goal);
}

void printRatios(const RatioReporter &reporter, const Loads &loads, const std::optional<Pair> &saves)
{
    std::printf("\nRatios, time of ours / time of the baseline in the same run:\n");
    std::printf("  %-56s %8s %8s   %s\n", "", "wall", "CPU", "goal (wall)");
    pairLine("load-routes / QFile::readAll, 10-route table (turns)", loads.table, 4.0);
    ratio(reporter, "  memchr line split alone, in memory / QFile::readAll", "table/memchr-lines-in-memory",
          "table/QFile::readAll");
    pairLine("save-routes / write+fdatasync+rename+fsync folder (turns)", saves, 1.2);
    pairLine("load-routes / memchr line count, 200 MB of junk (turns)", loads.junk, 3.0);
}

// The control reads its routes from the folder its library is loaded from.
void printStartup(const QString &binFolder, const QByteArray &tableBytes, const std::optional<Pair> &saves)
{
    const QString control = binFolder + QStringLiteral("/molvik-startup-control");
    const QString bare = binFolder + QStringLiteral("/molvik-startup-bare");
    if (!QFileInfo::exists(control) || !QFileInfo::exists(bare)) {
        std::printf("  start-up to first paint: not built (MOLVIK_BUILD_GUI=OFF)\n");
        return;
    }
    QFile routes(binFolder + QStringLiteral("/Routes.xml"));
    if (!routes.open(QIODevice::WriteOnly | QIODevice::Truncate) || routes.write(tableBytes) != tableBytes.size()) {
        std::printf("  start-up to first paint: cannot write %s\n", qPrintable(routes.fileName()));
        return;
    }
    routes.close();
    constexpr int kPairs = 40;
    const auto s = startupPairs(control, bare, kPairs);
    if (!s) {
        std::printf("  start-up to first paint: a probe failed\n");
        return;
    }
    ratioLine("start-up to first paint / bare Qt window with a tree", s->controlWall / s->bareWall, s->controlCpu / s->bareCpu,
              1.15);
    if (saves)
        std::printf("\nsave-routes and the durable floor taken in turns, medians of %d each: %.0f us (CPU %.0f us) "
                    "against %.0f us (CPU %.0f us)",
                    kSavePairs, saves->oursWall / 1e3, saves->oursCpu / 1e3, saves->baseWall / 1e3, saves->baseCpu / 1e3);
    std::printf("\nStart-up to first paint, whole processes, medians of %d pairs: control on a full table %.1f ms "
                "(CPU %.1f ms), bare Qt window %.1f ms (CPU %.1f ms)\n",
                kPairs, s->controlWall, s->controlCpu, s->bareWall, s->bareCpu);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Files files;
    if (!files.folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    RouteStore table(plainEnvironment(files.folder.path())), reader(plainEnvironment(files.folder.path()));
    table.dataFolder = reader.dataFolder = files.folder.path();
    if (!writeFiles(files, table))
        return 1;
    registerTable(files, table, reader);
    registerJunk(files, reader);

    RatioReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const Loads loads = loadsInTurns(files, reader);
    const std::optional<Pair> saves = saveAgainstFloor(files, table);
    printRatios(reporter, loads, saves);
    printStartup(QCoreApplication::applicationDirPath(), files.tableBytes, saves);
    benchmark::Shutdown();
    return 0;
}
