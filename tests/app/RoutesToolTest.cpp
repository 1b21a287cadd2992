// molvik-routes run as the operator runs it, from the test data folder so the
// paths in its messages are short and the same on every machine. Expected
// outputs are golden files: reader/NAME.json and reader/NAME.check are what
// export and check print for reader/NAME.xml; cli/ holds the rest.
#include "support/StoreTestSupport.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

struct ToolRun
{
    int status = -1;
    QByteArray out, err;
};

ToolRun tool(const QStringList &arguments)
{
    QProcess p;
    p.setWorkingDirectory(QStringLiteral(MOLVIK_TEST_DATA));
    p.start(QStringLiteral(MOLVIK_ROUTES_TOOL), arguments);
    ToolRun r;
    if (p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit)
        r = {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    return r;
}

QByteArray cliGolden(const char *name)
{
    return *name ? golden(u"cli/"_s + QLatin1String(name)) : QByteArray();
}

} // namespace

TEST(RoutesTool, ReaderCasesExportAndCheckAsTheirGoldenFiles)
{
    const QDir folder(QStringLiteral(MOLVIK_TEST_DATA "/reader"));
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    ASSERT_FALSE(before.isEmpty());
    for (const QString &xml : folder.entryList({u"*.xml"_s})) {
        SCOPED_TRACE(xml.toStdString());
        const QString name = u"reader/"_s + xml.chopped(4);
        const ToolRun exported = tool({u"export"_s, name + u".xml"_s});
        EXPECT_EQ(exported.out, golden(name + u".json"_s));
        EXPECT_EQ(exported.status, exported.out.startsWith("{\n  \"accepted\": true,") ? 0 : 1);
        const ToolRun checked = tool({u"check"_s, name + u".xml"_s});
        EXPECT_EQ(checked.out, golden(name + u".check"_s));
        EXPECT_EQ(checked.status, checked.out.isEmpty() ? 0 : 1);
        EXPECT_EQ(exported.err + checked.err, QByteArray());
    }
    // Reading never writes: no Hold folder, no file beside the routes files.
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

TEST(RoutesTool, CommandLines)
{
    const QString example = QStringLiteral(MOLVIK_EXAMPLES "/Routes.xml");
    const struct
    {
        const char *name;
        QStringList arguments;
        int status;
        const char *out, *err; // golden files under cli/, "" for nothing
    } rows[] = {
        {"help", {u"--help"_s}, 0, "help.out", ""},
        {"short help", {u"-h"_s}, 0, "help.out", ""},
        {"help after a command", {u"check"_s, u"--help"_s}, 0, "help.out", ""},
        {"no arguments", {}, 2, "", "usage.err"},
        {"no file", {u"list"_s}, 2, "", "usage.err"},
        {"two files", {u"list"_s, u"full-table.xml"_s, u"full-table.xml"_s}, 2, "", "usage.err"},
        {"unknown command", {u"frob"_s, u"full-table.xml"_s}, 2, "", "unknown-command.err"},
        {"unknown option", {u"--verbose"_s}, 2, "", "unknown-option.err"},
        {"list a missing file", {u"list"_s, u"absent.xml"_s}, 2, "", "absent.err"},
        {"export a missing file", {u"export"_s, u"absent.xml"_s}, 2, "", "absent.err"},
        {"check a missing file", {u"check"_s, u"absent.xml"_s}, 2, "", "absent.err"},
        {"list a folder", {u"list"_s, u"reader"_s}, 2, "", "folder.err"},
        {"export a folder", {u"export"_s, u"reader"_s}, 2, "", "folder.err"},
        {"check a folder", {u"check"_s, u"reader"_s}, 2, "", "folder.err"},
        {"list the example", {u"list"_s, example}, 0, "list-example.out", ""},
        {"list with several methods set", {u"list"_s, u"cli/methods.xml"_s}, 0, "list-methods.out", ""},
        {"list not a routes file", {u"list"_s, u"reader/first-line-lowercase.xml"_s}, 1, "", "list-not-routes.err"},
        {"check the example", {u"check"_s, example}, 0, "", ""},
        {"check the full table", {u"check"_s, u"full-table.xml"_s}, 0, "", ""},
        {"check the default route", {u"check"_s, u"default-route.xml"_s}, 0, "", ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const ToolRun r = tool(row.arguments);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, cliGolden(row.out));
        EXPECT_EQ(r.err, cliGolden(row.err));
    }
}
