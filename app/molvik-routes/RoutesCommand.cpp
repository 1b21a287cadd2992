#include "app/molvik-routes/RoutesCommand.h"

#include "app/molvik-routes/RouteJson.h"
#include "app/molvik-routes/TestCommand.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "store/RouteChecks.h"
#include "store/RouteDef.h"
#include "store/RouteStore.h"
#include "store/RoutesReader.h"
#include "store/RuleSys.h"
#include "store/TransferMethod.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <memory>
#include <vector>

namespace molvik {

namespace {

const QString kProgram = QStringLiteral("molvik-routes");

const char kUsage[] = "Usage: molvik-routes list FILE\n"
                      "       molvik-routes export [--redact] FILE\n"
                      "       molvik-routes check FILE\n"
                      "       molvik-routes add FILE ROUTE.json\n"
                      "       molvik-routes delete FILE SLOT\n"
                      "       molvik-routes rename FILE SLOT NAME\n"
                      "       molvik-routes test FILE SLOT [--upload] [--send] [--timeout SECONDS] [--json]\n"
                      "       molvik-routes --help\n";

const char kHelp[] = "Shows and changes a routes file (Routes.xml), read exactly as the routing\n"
                     "control reads it. list, export and check never change the file; add, delete\n"
                     "and rename rewrite it whole, byte for byte as the control would.\n"
                     "\n"
                     "Commands:\n"
                     "  list FILE    A table with one row per route: slot, name, method, source\n"
                     "               folder, file pattern and destination.\n"
                     "  export [--redact] FILE\n"
                     "               The routes as JSON on standard output:\n"
                     "                 {\"accepted\": BOOL, \"count\": N, \"routes\": [ {...}, ... ]}\n"
                     "               \"accepted\" is false when the first line is not \"<Routes>\".\n"
                     "               Each route object holds all 59 fields under their element\n"
                     "               names, in the order the file stores them: texts as strings,\n"
                     "               yes/no as booleans (true when not 0), numbers as numbers.\n"
                     "               --redact shows a password that is set (FTPPassword,\n"
                     "               PrxyPass, KXSecurePassword) as \"********\".\n"
                     "  check FILE   Every line the control skips or whose value it does not take,\n"
                     "               as \"LINE: message\": a first line other than \"<Routes>\",\n"
                     "               lines that are not element lines, unknown elements, values\n"
                     "               that do not convert, lines the control cannot have written\n"
                     "               (a value holding \"<\", \">\" or \"|\", or anything around\n"
                     "               its tags), routes beyond the tenth and a missing\n"
                     "               \"</Routes>\". Prints nothing for a clean file.\n"
                     "  add FILE ROUTE.json\n"
                     "               Appends the route in ROUTE.json (\"-\": standard input), one\n"
                     "               object shaped like a route of export, and prints its slot.\n"
                     "               Fields it leaves out are those of a new route in the\n"
                     "               wizard: UserDirectory is FILE's folder followed by Complete,\n"
                     "               Pattern is *.*, the ports are 21, 110 and 25. The name loses\n"
                     "               every / \\ * ? < and \" as on the wizard's name page. Exactly\n"
                     "               one of the method flags below must be true; FTPMonitor may\n"
                     "               be true beside it. An FTP or email route is checked as its\n"
                     "               page checks it; a directory route needs a RemoteDirectory.\n"
                     "               Refused once the file holds 8 routes.\n"
                     "  delete FILE SLOT\n"
                     "               Removes the route in SLOT; later routes move up one slot.\n"
                     "               The last route cannot be deleted.\n"
                     "  rename FILE SLOT NAME\n"
                     "               Names the route in SLOT exactly NAME. Refused for an empty\n"
                     "               name and for the name of another route in any letter case.\n"
                     "  test FILE SLOT [--upload] [--send] [--timeout SECONDS] [--json]\n"
                     "               Checks, step by step, that the route in SLOT reaches its\n"
                     "               destination, and leaves nothing behind there: a directory\n"
                     "               copy creates and removes a file in its folder; FTP connects\n"
                     "               (through the proxy, with TLS when the route says so), logs\n"
                     "               in, changes to the folder and lists it; SMTP (after a POP3\n"
                     "               login when asked) gives sender and recipient, then resets;\n"
                     "               a secure transfer connects. --upload also stores a small\n"
                     "               file on the FTP site and deletes it; --send sends a short\n"
                     "               test message. Each network step ends after SECONDS (10).\n"
                     "               One line per step: ok or FAILED, the step and what the\n"
                     "               server or the file system answered. A route sent by the\n"
                     "               system's mail is \"ok\" with \"not testable here\": no failure.\n"
                     "               --json prints {\"passed\": BOOL, \"steps\": [{\"step\",\n"
                     "               \"result\", \"answer\"}, ...]} instead. A password is always\n"
                     "               shown as ********.\n"
                     "  -h, --help   This text.\n"
                     "\n"
                     "add, delete and rename write only a file whose first line is \"<Routes>\",\n"
                     "through the control's save: the old file or the new one, whole, even after\n"
                     "a crash. Each reads the file again under the save's lock and writes before\n"
                     "letting go, so changes that several programs make at once are all kept. A\n"
                     "refused change leaves the file untouched. No text may hold a line break,\n"
                     "\"<\", \">\", \"|\" or a character outside the code page (Windows-1252):\n"
                     "the file would not read them back.\n"
                     "\n"
                     "Method (list): the transfer flags are tested in this order and the last one\n"
                     "set wins, the order in which the route tree picks a route's icon:\n"
                     "  FTPTransfer    FTP\n"
                     "  FTPMonitor     FTP monitor\n"
                     "  EmailTransfer  email\n"
                     "  KelmTransfer   secure transfer\n"
                     "  DirTransfer    directory\n"
                     "  KelmXTransfer  secure transfer\n"
                     "  HyperTransfer  hyper transfer\n"
                     "A route with none of them set shows \"none\".\n"
                     "\n"
                     "Destination (list): directory and hyper transfer: RemoteDirectory; FTP and\n"
                     "FTP monitor: FTPServer:RemoteFTPDirectory; email: the recipient\n"
                     "(AutoEmailName); secure transfer: KXSecureIP:KXSecurePort.\n"
                     "\n"
                     "Exit status:\n"
                     "  0  list, export: the file is a routes file; check: nothing to report;\n"
                     "     add, delete, rename: the file is written\n"
                     "  1  list, export: the first line is not \"<Routes>\"; check: something\n"
                     "     was reported; add, delete, rename: refused, with the reason or the\n"
                     "     problems on standard error, and the file untouched\n"
                     "  2  a file is missing, cannot be read or cannot be written, ROUTE.json\n"
                     "     is not a route, or the command line is wrong\n"
                     "test: 0 every step passed, 1 a step failed, 2 the file cannot be read,\n"
                     "  is not a routes file or has no route in SLOT, or the command line is wrong\n";

using Method = TransferMethod;

QString methodName(Method m)
{
    switch (m) {
    case Method::Ftp:
        return QStringLiteral("FTP");
    case Method::FtpMonitor:
        return QStringLiteral("FTP monitor");
    case Method::Email:
        return QStringLiteral("email");
    case Method::Secure:
        return QStringLiteral("secure transfer");
    case Method::Directory:
        return QStringLiteral("directory");
    case Method::Hyper:
        return QStringLiteral("hyper transfer");
    case Method::None:
        break;
    }
    return QStringLiteral("none");
}

QString destinationOf(const RouteDef &route, Method m)
{
    switch (m) {
    case Method::Directory:
    case Method::Hyper:
        return route.RemoteDirectory;
    case Method::Ftp:
    case Method::FtpMonitor:
        return route.RemoteFTPDirectory.isEmpty() ? route.FTPServer : route.FTPServer + u':' + route.RemoteFTPDirectory;
    case Method::Email:
        return route.AutoEmailName;
    case Method::Secure:
        return route.KXSecurePort == 0 ? route.KXSecureIP : route.KXSecureIP + u':' + QString::number(route.KXSecurePort);
    case Method::None:
        break;
    }
    return {};
}

// A line break or tab inside a value would break the table's rows.
QString cell(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return text;
}

// The file as the control would see it, but on a zeroed version record: the
// data-folder rule then never redirects to, or creates, the shared folder.
class Session
{
public:
    explicit Session(const QString &argument)
        : m_argument(argument), m_path(QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath())),
          m_store(Environment{std::make_shared<SystemVersionSource>(), std::make_shared<FileSystem>(),
                              QDir::toNativeSeparators(QFileInfo(m_path).absolutePath())})
    {
        m_store.dataFolder = m_store.environment().componentFolder;
    }

    // Opens the file the way load-routes does; a failure is the one clear
    // line on standard error.
    std::unique_ptr<QFile> open(QTextStream &err) const
    {
        IoResult error;
        auto file = m_store.fileSystem().openRead(m_path, error);
        if (!file)
            err << kProgram << ": cannot read " << m_argument << ": " << error.message << '\n';
        return file;
    }

    // Reads through the one open, so its error is the one reported.
    bool load(QTextStream &err)
    {
        const auto file = open(err);
        if (!file)
            return false;
        m_accepted = RoutesReader::read(*file, m_store);
        return true;
    }

    void notARoutesFile(QTextStream &err) const
    {
        err << kProgram << ": " << m_argument << " is not a routes file: its first line is not \"<Routes>\"\n";
    }

    const QString &argument() const { return m_argument; }
    const QString &path() const { return m_path; }
    bool accepted() const { return m_accepted; }
    RouteStore &store() { return m_store; }
    const FileSystem &fileSystem() const { return m_store.fileSystem(); }
    int count() const { return qBound(0, m_store.routeCount, RouteStore::kMaxRoutes); }
    const RouteDef &route(int slot) const { return m_store.routes[std::size_t(slot)]; }

private:
    QString m_argument;
    QString m_path;
    RouteStore m_store;
    bool m_accepted = false;
};

int list(Session &session, QTextStream &out, QTextStream &err)
{
    if (!session.load(err))
        return RoutesCommand::Failed;
    if (!session.accepted()) {
        session.notARoutesFile(err);
        return RoutesCommand::Reported;
    }
    std::vector<QStringList> rows;
    rows.push_back({QStringLiteral("SLOT"), QStringLiteral("NAME"), QStringLiteral("METHOD"), QStringLiteral("SOURCE"),
                    QStringLiteral("PATTERN"), QStringLiteral("DESTINATION")});
    for (int slot = 1; slot <= session.count(); ++slot) {
        const RouteDef &r = session.route(slot);
        const Method m = transferMethod(r);
        rows.push_back({QString::number(slot), cell(r.RouteDef), methodName(m), cell(r.UserDirectory), cell(r.Pattern),
                        cell(destinationOf(r, m))});
    }
    std::vector<qsizetype> widths(rows.front().size(), 0);
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[std::size_t(c)] = qMax(widths[std::size_t(c)], row[c].size());
    }
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype c = 0; c + 1 < row.size(); ++c)
            line += row[c].leftJustified(widths[std::size_t(c)]) + QStringLiteral("  ");
        line += row.back();
        out << line << '\n';
    }
    return RoutesCommand::Ok;
}

int exportJson(Session &session, bool redact, QTextStream &out, QTextStream &err)
{
    if (!session.load(err))
        return RoutesCommand::Failed;
    out << "{\n  \"accepted\": " << (session.accepted() ? "true" : "false") << ",\n  \"count\": " << session.count()
        << ",\n  \"routes\": [";
    for (int slot = 1; slot <= session.count(); ++slot) {
        out << (slot == 1 ? "\n" : ",\n") << "    {\n"
            << RouteJson::write(session.route(slot), QStringLiteral("      "), redact) << "    }";
    }
    out << (session.count() > 0 ? "\n  ]\n}\n" : "]\n}\n");
    return session.accepted() ? RoutesCommand::Ok : RoutesCommand::Reported;
}

int check(Session &session, QTextStream &out, QTextStream &err)
{
    const auto file = session.open(err);
    if (!file)
        return RoutesCommand::Failed;
    // The scanner behind load-routes reports what it skips; nothing else decides.
    bool reported = false;
    RoutesReader::read(*file, session.store(), [&](const RoutesReader::Issue &issue) {
        out << issue.line << ": " << issue.message << '\n';
        reported = true;
    });
    return reported ? RoutesCommand::Reported : RoutesCommand::Ok;
}

// Loads the file, then lets edit change it as it is at the write, under the
// save lock. edit answers why it refuses, or nothing; a refusal writes nothing.
int rewrite(Session &session, QTextStream &err, const RuleSys::Edit &edit)
{
    if (!session.load(err))
        return RoutesCommand::Failed;
    if (!session.accepted()) {
        session.notARoutesFile(err);
        return RoutesCommand::Reported;
    }
    const RuleSys::Change change = RuleSys::changeRoutes(session.store(), session.path(), edit);
    if (!change.refusal.isEmpty()) {
        err << kProgram << ": " << change.refusal << '\n';
        return RoutesCommand::Reported;
    }
    if (!change.failure) {
        err << kProgram << ": cannot write " << session.argument() << ": " << change.failure.message << '\n';
        return RoutesCommand::Failed;
    }
    return RoutesCommand::Ok;
}

const char *flagName(YesNo RouteDef::*flag)
{
    for (const RouteField &f : routeFields()) {
        if (f.int16 == flag)
            return f.name;
    }
    return "";
}

QString methodRefusal(const RouteDef &route)
{
    QStringList all, set;
    for (const TransferFlag &f : transferFlags()) {
        // Monitoring rides on a method: the route editor never clears it when
        // it sets one.
        if (f.flag == &RouteDef::FTPMonitor)
            continue;
        all << QLatin1String(flagName(f.flag));
        if (route.*f.flag != No)
            set << all.back();
    }
    if (set.size() == 1)
        return {};
    return QStringLiteral("exactly one transfer method flag must be true, of %1; true here: %2")
        .arg(all.join(QStringLiteral(", ")), set.isEmpty() ? QStringLiteral("none") : set.join(QStringLiteral(", ")));
}

// What the method's page would say before saving the route.
QString pageRefusal(const RouteDef &route)
{
    QString problems;
    switch (transferMethod(route)) {
    case Method::Ftp:
    case Method::FtpMonitor:
        problems = RouteChecks::ftpProblems(route);
        break;
    case Method::Email:
        problems = RouteChecks::emailProblems(route);
        break;
    case Method::Directory:
        if (route.RemoteDirectory.isEmpty())
            return QStringLiteral("a directory route needs a destination (RemoteDirectory)");
        break;
    default:
        break;
    }
    if (problems.isEmpty())
        return {};
    return RouteChecks::problemsTitle() + problems.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

bool readSource(const QString &source, const Session &session, QByteArray &bytes, QTextStream &err)
{
    if (source == u"-") {
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly))
            bytes = in.readAll();
        return true;
    }
    const IoResult r = session.fileSystem().readAll(QFileInfo(source).absoluteFilePath(), bytes);
    if (!r)
        err << kProgram << ": cannot read " << source << ": " << r.message << '\n';
    return r.ok();
}

int add(Session &session, const QString &source, QTextStream &out, QTextStream &err)
{
    QByteArray json;
    if (!readSource(source, session, json, err))
        return RoutesCommand::Failed;
    // A new route as the wizard starts it: reset, then the name page's folder and pattern.
    RouteStore &st = session.store();
    RuleSys::resetWorkingRoute(st);
    RouteDef route = st.workingRoute;
    route.UserDirectory = st.inDataFolder(QStringLiteral("Complete"));
    route.Pattern = QStringLiteral("*.*");
    route.UserID.clear();
    QString error;
    if (!RouteJson::read(json, route, error)) {
        err << kProgram << ": " << (source == u"-" ? QStringLiteral("standard input") : source) << ": " << error << '\n';
        return RoutesCommand::Failed;
    }
    const int status = rewrite(session, err, [&](RouteStore &table) -> QString {
        if (table.routeCount >= RouteStore::kRouteLimit)
            return RuleSys::routeLimitMessage();
        route.RouteDef = RouteChecks::cleanName(route.RouteDef);
        if (route.RouteDef.isEmpty())
            return QStringLiteral("the route needs a name; / \\ * ? < and \" are taken out of it");
        for (const QString &refusal : {methodRefusal(route), pageRefusal(route), RouteChecks::unkeptField(route)}) {
            if (!refusal.isEmpty())
                return refusal;
        }
        table.workingRoute = route;
        RuleSys::appendWorkingRoute(table);
        return {};
    });
    if (status == RoutesCommand::Ok)
        out << st.routeCount << '\n';
    return status;
}

QString noSuchSlot(const RouteStore &table, int slot)
{
    if (slot >= 1 && slot <= table.routeCount)
        return {};
    return QStringLiteral("there is no route in slot %1: the file holds %2").arg(slot).arg(table.routeCount);
}

int deleteRoute(Session &session, int slot, QTextStream &err)
{
    return rewrite(session, err, [&](RouteStore &table) -> QString {
        if (table.routeCount == 1)
            return QStringLiteral("You can't Delete the Last Route!");
        if (QString refusal = noSuchSlot(table, slot); !refusal.isEmpty())
            return refusal;
        RuleSys::removeRoute(table, slot);
        return {};
    });
}

int renameRoute(Session &session, int slot, const QString &name, QTextStream &err)
{
    return rewrite(session, err, [&](RouteStore &table) -> QString {
        if (name.isEmpty())
            return QStringLiteral("a route's name cannot be empty");
        if (QString refusal = noSuchSlot(table, slot); !refusal.isEmpty())
            return refusal;
        if (RuleSys::nameTaken(table, name, slot))
            return RouteChecks::nameTakenMessage();
        RouteDef renamed = table.routes[std::size_t(slot)];
        renamed.RouteDef = name;
        if (QString refusal = RouteChecks::unkeptField(renamed); !refusal.isEmpty())
            return refusal;
        table.routes[std::size_t(slot)] = renamed;
        return {};
    });
}

int testRoute(Session &session, int slot, const TestCommand::Options &options, QTextStream &out, QTextStream &err)
{
    if (!session.load(err))
        return RoutesCommand::Failed;
    if (!session.accepted()) {
        session.notARoutesFile(err);
        return RoutesCommand::Failed;
    }
    if (const QString refusal = noSuchSlot(session.store(), slot); !refusal.isEmpty()) {
        err << kProgram << ": " << refusal << '\n';
        return RoutesCommand::Failed;
    }
    return TestCommand::run(session.route(slot), options, out);
}

struct CommandShape
{
    const char *name;
    int operands;
};

constexpr CommandShape kCommands[] = {{"list", 1},   {"export", 1}, {"check", 1}, {"add", 2},
                                      {"delete", 2}, {"rename", 3}, {"test", 2}};

int usageError(QTextStream &err, const QString &why)
{
    err << kProgram << ": " << why << '\n' << kUsage << "Run \"molvik-routes --help\" for what each command does.\n";
    return RoutesCommand::Failed;
}

} // namespace

int RoutesCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kUsage << '\n' << kHelp;
        return Ok;
    }
    const QString command = arguments.value(0);
    const CommandShape *shape = nullptr;
    for (const CommandShape &c : kCommands) {
        if (command == QLatin1String(c.name))
            shape = &c;
    }
    if (!command.isEmpty() && !shape)
        return usageError(err, QStringLiteral("unknown command \"%1\"").arg(command));
    QStringList operands = arguments.mid(1);
    const bool redact = command == u"export" && operands.removeAll(QStringLiteral("--redact")) > 0;
    TestCommand::Options testOptions;
    if (command == u"test") {
        if (const QString wrong = TestCommand::takeOptions(operands, testOptions); !wrong.isEmpty())
            return usageError(err, wrong);
    }
    for (const QString &operand : operands) {
        if (operand.startsWith(QStringLiteral("--")))
            return usageError(err, QStringLiteral("unknown option \"%1\"").arg(operand));
    }
    if (!shape || operands.size() != shape->operands)
        return usageError(err, QStringLiteral("expected a command and its arguments"));
    int slot = 0;
    if (shape->operands > 1 && command != u"add") {
        bool number = false;
        slot = operands[1].toInt(&number);
        if (!number)
            return usageError(err, QStringLiteral("SLOT must be a route's number, not \"%1\"").arg(operands[1]));
    }
    Session session(operands[0]);
    if (command == u"list")
        return list(session, out, err);
    if (command == u"export")
        return exportJson(session, redact, out, err);
    if (command == u"check")
        return check(session, out, err);
    if (command == u"add")
        return add(session, operands[1], out, err);
    if (command == u"test")
        return testRoute(session, slot, testOptions, out, err);
    if (command == u"delete")
        return deleteRoute(session, slot, err);
    return renameRoute(session, slot, operands[2], err);
}

} // namespace molvik
