#include "app/molvik-routes/RoutesCommand.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "store/RouteDef.h"
#include "store/RouteStore.h"
#include "store/RoutesReader.h"
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
                      "       molvik-routes export FILE\n"
                      "       molvik-routes check FILE\n"
                      "       molvik-routes --help\n";

const char kHelp[] = "Shows what a routes file (Routes.xml) holds, read exactly as the routing\n"
                     "control reads it. The file is never changed.\n"
                     "\n"
                     "Commands:\n"
                     "  list FILE    A table with one row per route: slot, name, method, source\n"
                     "               folder, file pattern and destination.\n"
                     "  export FILE  The routes as JSON on standard output:\n"
                     "                 {\"accepted\": BOOL, \"count\": N, \"routes\": [ {...}, ... ]}\n"
                     "               \"accepted\" is false when the first line is not \"<Routes>\".\n"
                     "               Each route object holds all 59 fields under their element\n"
                     "               names, in the order the file stores them: texts as strings,\n"
                     "               yes/no as booleans (true when not 0), numbers as numbers.\n"
                     "  check FILE   Every line the control skips or whose value it does not take,\n"
                     "               as \"LINE: message\": a first line other than \"<Routes>\",\n"
                     "               lines that are not element lines, unknown elements, values\n"
                     "               that do not convert, routes beyond the tenth and a missing\n"
                     "               \"</Routes>\". Prints nothing for a clean file.\n"
                     "  -h, --help   This text.\n"
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
                     "  0  list, export: the file is a routes file; check: nothing to report\n"
                     "  1  list, export: the first line is not \"<Routes>\"; check: something\n"
                     "     was reported\n"
                     "  2  the file is missing or cannot be read, or the command line is wrong\n";

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

QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QString jsonValue(const RouteDef &route, const RouteField &field)
{
    switch (field.kind) {
    case RouteField::Kind::Text:
        return jsonString(route.*field.text);
    case RouteField::Kind::YesNo:
        return route.*field.int16 != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case RouteField::Kind::Int16:
        return QString::number(route.*field.int16);
    case RouteField::Kind::Int32:
        return QString::number(route.*field.int32);
    }
    return {};
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

    bool accepted() const { return m_accepted; }
    RouteStore &store() { return m_store; }
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

int exportJson(Session &session, QTextStream &out, QTextStream &err)
{
    if (!session.load(err))
        return RoutesCommand::Failed;
    out << "{\n  \"accepted\": " << (session.accepted() ? "true" : "false") << ",\n  \"count\": " << session.count()
        << ",\n  \"routes\": [";
    for (int slot = 1; slot <= session.count(); ++slot) {
        out << (slot == 1 ? "\n" : ",\n") << "    {\n";
        const auto &fields = routeFields();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out << "      \"" << fields[i].name << "\": " << jsonValue(session.route(slot), fields[i])
                << (i + 1 < fields.size() ? ",\n" : "\n");
        }
        out << "    }";
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

} // namespace

int RoutesCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kUsage << '\n' << kHelp;
        return Ok;
    }
    const QString command = arguments.value(0);
    if (arguments.size() != 2 || (command != u"list" && command != u"export" && command != u"check")) {
        if (!command.isEmpty() && command != u"list" && command != u"export" && command != u"check")
            err << kProgram << ": unknown command \"" << command << "\"\n";
        else
            err << kProgram << ": expected a command and one file\n";
        err << kUsage << "Run \"molvik-routes --help\" for what each command does.\n";
        return Failed;
    }
    Session session(arguments[1]);
    if (command == u"list")
        return list(session, out, err);
    if (command == u"export")
        return exportJson(session, out, err);
    return check(session, out, err);
}

} // namespace molvik
