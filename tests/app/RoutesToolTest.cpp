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

QByteArray cliGolden(const QString &name)
{
    return name == u"-" ? QByteArray() : golden(u"cli/"_s + name);
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
        EXPECT_EQ(exported.out.toStdString(), golden(name + u".json"_s).toStdString());
        EXPECT_EQ(exported.status, exported.out.startsWith("{\n  \"accepted\": true,") ? 0 : 1);
        const ToolRun checked = tool({u"check"_s, name + u".xml"_s});
        EXPECT_EQ(checked.out.toStdString(), golden(name + u".check"_s).toStdString());
        EXPECT_EQ(checked.status, checked.out.isEmpty() ? 0 : 1);
        EXPECT_EQ(exported.err + checked.err, QByteArray());
    }
    // Reading never writes: no Hold folder, no file beside the routes files.
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

TEST(RoutesTool, CommandLinesGiveTheirStatusAndGoldenOutputs)
{
    const QStringList rows = QString::fromUtf8(golden(u"cli/commands.txt"_s)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(rows.isEmpty());
    for (const QString &row : rows) {
        if (row.startsWith(u'#'))
            continue;
        SCOPED_TRACE(row.toStdString());
        const QStringList cells = row.split(u' ', Qt::SkipEmptyParts);
        const ToolRun r = tool(cells.mid(4));
        EXPECT_EQ(r.status, cells.value(1).toInt());
        EXPECT_EQ(r.out.toStdString(), cliGolden(cells.value(2)).toStdString());
        EXPECT_EQ(r.err.toStdString(), cliGolden(cells.value(3)).toStdString());
    }
}
