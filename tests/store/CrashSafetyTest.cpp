// The writer against SIGKILL at random moments and against injected faults.
// Pass or fail never depends on when a kill lands: every kill is followed by
// a check that holds whatever moment it hit.
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "support/StoreTestSupport.h"
#include "tests/store/SaveLoopTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/stat.h>

using namespace molvik;
using namespace molvik::test;

namespace {

const QString kSaveLoop = QStringLiteral(MOLVIK_SAVE_LOOP);

QByteArray tableBytes(qint64 n)
{
    RouteStore store(Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::make_shared<FileSystem>(), QString()});
    fillSaveLoopTable(store, n);
    return RoutesWriter::serialize(store);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The file as load-routes sees it must be table n, whole.
bool readsBackAs(const QString &path, qint64 n)
{
    RouteStore expected(Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::make_shared<FileSystem>(), QString()});
    fillSaveLoopTable(expected, n);
    RouteStore read(Environment{std::make_shared<FixedVersionSource>(0, 0, 0), std::make_shared<FileSystem>(), QString()});
    if (!RuleSys::loadRoutes(read, path) || read.routeCount != expected.routeCount)
        return false;
    for (int slot = 1; slot <= read.routeCount; ++slot) {
        if (!(read.routes[std::size_t(slot)] == expected.routes[std::size_t(slot)]))
            return false;
    }
    return true;
}

// Children never leak-check: a killed one cannot, a traced one must not
// (the leak checker refuses to run under ptrace).
QProcessEnvironment childEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               asan.isEmpty() ? QStringLiteral("detect_leaks=0") : asan + QStringLiteral(":detect_leaks=0"));
    return env;
}

// A save-loop child with its standard output read line by line.
class SaveLoop
{
public:
    SaveLoop(const QString &mode, const QString &path, qint64 first, qint64 count = -1)
    {
        QStringList args = {mode, path, QString::number(first)};
        if (count >= 0)
            args.append(QString::number(count));
        m_process.setProcessEnvironment(childEnvironment());
        m_process.start(kSaveLoop, args);
        m_process.waitForStarted(-1);
    }

    ~SaveLoop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(-1);
        }
    }

    // The next line, or nothing when the child has ended.
    std::optional<QByteArray> nextLine()
    {
        for (;;) {
            const qsizetype nl = m_pending.indexOf('\n');
            if (nl >= 0) {
                const QByteArray line = m_pending.left(nl);
                m_pending.remove(0, nl + 1);
                noteSaved(line);
                return line;
            }
            if (m_process.state() == QProcess::NotRunning && m_process.bytesAvailable() == 0)
                return std::nullopt;
            // Only a child that hangs for a whole minute makes this give up.
            if (!m_process.waitForReadyRead(60000) && m_process.state() == QProcess::Running)
                return std::nullopt;
            m_pending += m_process.readAllStandardOutput();
        }
    }

    bool running() const { return m_process.state() == QProcess::Running; }

    // SIGKILL, then every line the child wrote before it died.
    void kill()
    {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(-1);
        m_pending += m_process.readAllStandardOutput();
        while (nextLine()) {
        }
    }

    int finish()
    {
        m_process.waitForFinished(-1);
        m_pending += m_process.readAllStandardOutput();
        while (nextLine()) {
        }
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    std::optional<qint64> lastSaved() const { return m_lastSaved; }
    QByteArray errors() { return m_process.readAllStandardError(); }

private:
    void noteSaved(const QByteArray &line)
    {
        if (line.startsWith("saved "))
            m_lastSaved = line.mid(6).toLongLong();
    }

    QProcess m_process;
    QByteArray m_pending;
    std::optional<qint64> m_lastSaved;
};

struct KillRun
{
    int kills = 0;
    int bad = 0;       // kills after which the file was neither table
    int newer = 0;     // kills that found the save in progress already renamed
    int leftovers = 0; // kills that left a temporary file beside the routes file
    QString firstBad;
};

// Kills a save-loop child at seeded pseudo-random moments. After each kill
// the file must be the last save the child confirmed, or the one it was in
// the middle of; nothing else, and nothing cut.
KillRun killRepeatedly(const QString &mode, const QString &folder, int kills, bool stopAtFirstBad, unsigned seed)
{
    const QString path = QDir(folder).filePath(QStringLiteral("Routes.xml"));
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> savesFirst(0, 2);
    std::uniform_real_distribution<double> pauseInSaves(0.0, 1.5);
    // How long one save takes here, learnt from the children's own lines, so
    // the kills spread over whole saves on a fast build and a slow one alike.
    double saveMicros = 1000;

    KillRun run;
    qint64 confirmed = 0;
    if (!writeFile(path, tableBytes(0))) {
        run.bad = 1;
        run.firstBad = QStringLiteral("cannot write the first table");
        return run;
    }
    while (run.kills < kills) {
        SaveLoop child(mode, path, confirmed + 1);
        const int saves = savesFirst(rng);
        const double pause = pauseInSaves(rng);
        bool alive = child.nextLine() == QByteArray("ready");
        auto mark = std::chrono::steady_clock::now();
        for (int i = 0; alive && i < saves; ++i) {
            alive = child.nextLine().has_value();
            const auto now = std::chrono::steady_clock::now();
            saveMicros = 0.7 * saveMicros + 0.3 * std::chrono::duration<double, std::micro>(now - mark).count();
            mark = now;
        }
        std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(pause * saveMicros));
        if (!alive || !child.running()) {
            run.bad++;
            run.firstBad = QStringLiteral("the child stopped on its own: ") + QString::fromLocal8Bit(child.errors());
            return run;
        }
        child.kill();
        ++run.kills;
        if (child.lastSaved())
            confirmed = *child.lastSaved();

        const QByteArray now = fileBytes(path);
        if (now == tableBytes(confirmed + 1) && readsBackAs(path, confirmed + 1)) {
            ++confirmed;
            ++run.newer;
        } else if (!(now == tableBytes(confirmed) && readsBackAs(path, confirmed))) {
            ++run.bad;
            if (run.firstBad.isEmpty())
                run.firstBad = QStringLiteral("kill %1: %2 bytes after save %3").arg(run.kills).arg(now.size()).arg(confirmed);
            if (stopAtFirstBad)
                return run;
            writeFile(path, tableBytes(confirmed)); // start the next round from a whole file
        }
        if (QDir(folder).entryList(QDir::Files | QDir::Hidden).size() > 1)
            ++run.leftovers;
    }
    return run;
}

unsigned fileMode(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Why strace cannot be used here, or nothing when it can.
std::optional<QString> straceUnavailable()
{
    static const std::optional<QString> reason = []() -> std::optional<QString> {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            return QStringLiteral("strace is not installed");
        QProcess p;
        p.start(strace, {QStringLiteral("-f"), QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")});
        if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return QStringLiteral("ptrace is not permitted here: ") + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return std::nullopt;
    }();
    return reason;
}

struct Traced
{
    int status = -1;
    QString err;
    QStringList log;
};

// One save of table 1 to path under strace with the given options.
Traced saveOnceTraced(const QStringList &straceOptions, const QString &path, const QString &logPath)
{
    QProcess p;
    p.setProcessEnvironment(childEnvironment());
    p.start(QStringLiteral("strace"),
            QStringList{QStringLiteral("-f"), QStringLiteral("-o"), logPath} + straceOptions +
                QStringList{kSaveLoop, QStringLiteral("save"), path, QStringLiteral("1"), QStringLiteral("1")});
    Traced t;
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit)
        return t;
    t.status = p.exitCode();
    t.err = QString::fromLocal8Bit(p.readAllStandardError());
    t.log = QString::fromLocal8Bit(fileBytes(logPath)).split(u'\n', Qt::SkipEmptyParts);
    return t;
}

// Index of the first log line at or after from matching pattern, or -1.
qsizetype findLine(const QStringList &log, const QString &pattern, qsizetype from = 0, QRegularExpressionMatch *match = nullptr)
{
    const QRegularExpression re(pattern);
    for (qsizetype i = qMax<qsizetype>(from, 0); i < log.size(); ++i) {
        const QRegularExpressionMatch m = re.match(log[i]);
        if (m.hasMatch()) {
            if (match)
                *match = m;
            return i;
        }
    }
    return -1;
}

} // namespace

TEST(CrashSafety, KilledAtRandomMomentsTheFileIsAlwaysAWholeRecentTable)
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const KillRun run = killRepeatedly(QStringLiteral("save"), folder, 240, false, 20240611u);
    EXPECT_EQ(run.kills, 240);
    EXPECT_EQ(run.bad, 0) << run.firstBad.toStdString();
    std::cout << "[ kills    ] " << run.kills << " SIGKILLs; " << run.newer << " found the unconfirmed save already in place, "
              << run.leftovers << " left a temporary file\n";
    RecordProperty("kills", run.kills);

    // The next completed save clears any temporary file a kill left behind.
    const QString path = QDir(folder).filePath(QStringLiteral("Routes.xml"));
    SaveLoop last(QStringLiteral("save"), path, 1000, 1);
    EXPECT_EQ(last.finish(), 0);
    EXPECT_EQ(last.lastSaved(), 1000);
    EXPECT_EQ(fileBytes(path), tableBytes(1000));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Routes.xml")});
}

TEST(CrashSafety, TheSameHarnessCatchesAWriterThatWritesInPlace)
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkdir(folder));
    // The in-place writer spends nearly all its time with a cut file on disk,
    // so 200 kills all missing it would take odds far beyond any real chance.
    const KillRun run = killRepeatedly(QStringLiteral("inplace"), folder, 200, true, 20240611u);
    EXPECT_GE(run.bad, 1) << "the harness did not notice an in-place writer in " << run.kills << " kills";
    std::cout << "[ control  ] in-place writer caught after " << run.kills << " kill(s): " << run.firstBad.toStdString() << '\n';
}

TEST(CrashSafety, InjectedFaultsLeaveTheOldFileAndReachTheCaller)
{
    if (const auto why = straceUnavailable())
        GTEST_SKIP() << why->toStdString();
    struct Fault
    {
        const char *inject;
        int error;
        const char *injectedLine; // pattern of the log line that took the fault
    };
    // Which write call carries the content depends on the build (a sanitizer
    // runtime writes too): a traced dry run counts them the way strace does.
    QTemporaryDir dry;
    ASSERT_TRUE(QDir().mkdir(dry.filePath(QStringLiteral("data"))));
    ASSERT_TRUE(writeFile(dry.filePath(QStringLiteral("data/Routes.xml")), tableBytes(0)));
    ASSERT_TRUE(QFile::setPermissions(dry.filePath(QStringLiteral("data/Routes.xml")),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const Traced counted =
        saveOnceTraced({QStringLiteral("-e"), QStringLiteral("trace=write")}, dry.filePath(QStringLiteral("data/Routes.xml")),
                       dry.filePath(QStringLiteral("strace.log")));
    // strace counts calls per thread: count those of the thread that wrote the content.
    const QRegularExpression writeCall(QStringLiteral(R"(^(\d+)\s+write\()"));
    const qsizetype contentLine = findLine(counted.log, QStringLiteral(R"(^\d+\s+write\(\d+, "<Routes>)"));
    ASSERT_GE(contentLine, 0) << counted.log.join(u'\n').toStdString();
    const QString writer = writeCall.match(counted.log[contentLine]).captured(1);
    int contentWrite = 0;
    for (qsizetype i = 0; i <= contentLine; ++i) {
        if (writeCall.match(counted.log[i]).captured(1) == writer)
            ++contentWrite;
    }
    ASSERT_EQ(counted.status, 0) << counted.err.toStdString();
    const QByteArray enospc = "inject=write:error=ENOSPC:when=" + QByteArray::number(contentWrite);
    const Fault faults[] = {
        {enospc.constData(), ENOSPC, R"(write\(\d+, "<Routes>.*\(INJECTED\))"},
        {"inject=fdatasync:error=EIO", EIO, R"(fdatasync\(\d+\).*\(INJECTED\))"},
        {"inject=rename:error=EXDEV", EXDEV, R"(rename\(.*Routes\.xml.*\(INJECTED\))"},
    };
    for (const Fault &fault : faults) {
        SCOPED_TRACE(fault.inject);
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString path = QDir(folder).filePath(QStringLiteral("Routes.xml"));
        const QByteArray old = tableBytes(0);
        ASSERT_TRUE(writeFile(path, old));
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));

        const Traced t =
            saveOnceTraced({QStringLiteral("-e"), QLatin1String(fault.inject)}, path, tmp.filePath(QStringLiteral("strace.log")));
        EXPECT_GE(findLine(t.log, QLatin1String(fault.injectedLine)), 0) << "the fault did not hit the save:\n"
                                                                         << t.log.join(u'\n').toStdString();
        EXPECT_NE(t.status, 0);
        EXPECT_TRUE(t.err.contains(path)) << t.err.toStdString();
        EXPECT_TRUE(t.err.contains(QString::fromLocal8Bit(std::strerror(fault.error)))) << t.err.toStdString();
        EXPECT_EQ(fileBytes(path), old);
        EXPECT_EQ(fileMode(path), 0640u);
        // No copy of the passwords stays behind either.
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Routes.xml")});
    }
}

TEST(CrashSafety, DataIsSyncedBeforeTheRenameAndTheFolderAfterIt)
{
    if (const auto why = straceUnavailable())
        GTEST_SKIP() << why->toStdString();
    const QStringList trace = {QStringLiteral("-e"),
                               QStringLiteral("trace=openat,write,fchmod,fdatasync,fsync,rename,renameat,renameat2,linkat")};
    // A new file appears by a link of the finished temporary file, an existing
    // one is replaced by a rename; either way the step that makes the new
    // content visible must come after its sync and before the folder's.
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "existing file" : "new file");
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString path = QDir(folder).filePath(QStringLiteral("Routes.xml"));
        if (existing) {
            ASSERT_TRUE(writeFile(path, tableBytes(0)));
            ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        }
        const Traced t = saveOnceTraced(trace, path, tmp.filePath(QStringLiteral("strace.log")));
        ASSERT_EQ(t.status, 0) << t.err.toStdString();
        ASSERT_EQ(fileBytes(path), tableBytes(1));
        const QStringList &log = t.log;

        QRegularExpressionMatch m;
        const qsizetype content = findLine(log, QStringLiteral(R"(\d+\s+write\((\d+), "<Routes>)"), 0, &m);
        ASSERT_GE(content, 0) << log.join(u'\n').toStdString();
        const QString fd = m.captured(1);
        const QString quotedPath = QRegularExpression::escape(u'"' + path + u'"');
        const qsizetype sync = findLine(log, QStringLiteral(R"(\d+\s+fdatasync\(%1\)\s+= 0)").arg(fd), content);
        const qsizetype visible = findLine(
            log, QStringLiteral(R"(\d+\s+(rename\(.*|linkat\(.*, AT_FDCWD, )%1(, AT_SYMLINK_FOLLOW)?\)\s+= 0)").arg(quotedPath),
            content);
        const qsizetype folderOpen = findLine(log,
                                              QStringLiteral(R"(\d+\s+openat\(AT_FDCWD, %1, [^)]*O_DIRECTORY[^)]*\)\s+= (\d+))")
                                                  .arg(QRegularExpression::escape(u'"' + folder + u'"')),
                                              visible, &m);
        ASSERT_GE(folderOpen, 0) << log.join(u'\n').toStdString();
        const qsizetype folderSync = findLine(log, QStringLiteral(R"(\d+\s+fsync\(%1\)\s+= 0)").arg(m.captured(1)), folderOpen);
        EXPECT_LT(content, sync);
        EXPECT_GE(sync, 0);
        EXPECT_LT(sync, visible) << log.join(u'\n').toStdString();
        EXPECT_LT(visible, folderSync) << log.join(u'\n').toStdString();

        // The file is owner-only (new) or keeps its mode (existing) before a
        // byte of it is written: the content holds passwords.
        const qsizetype chmod = findLine(log, QStringLiteral(R"(\d+\s+fchmod\(%1, 0[0-7]+\)\s+= 0)").arg(fd));
        EXPECT_GE(chmod, 0) << log.join(u'\n').toStdString();
        EXPECT_LT(chmod, content) << log.join(u'\n').toStdString();
        EXPECT_EQ(fileMode(path), existing ? 0640u : 0600u);
    }
}
