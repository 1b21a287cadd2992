// molvik-routes run as the operator runs it, from the test data folder so the
// paths in its messages are short and the same on every machine. Expected
// outputs are golden files: reader/NAME.json and reader/NAME.check are what
// export and check print for reader/NAME.xml; cli/ holds the rest.
#include "support/StoreTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

ProgramRun tool(const QStringList &arguments)
{
    return runProgram(QStringLiteral(MOLVIK_ROUTES_TOOL), arguments, QStringLiteral(MOLVIK_TEST_DATA));
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
        const ProgramRun exported = tool({u"export"_s, name + u".xml"_s});
        EXPECT_EQ(exported.out.toStdString(), golden(name + u".json"_s).toStdString());
        EXPECT_EQ(exported.status, exported.out.startsWith("{\n  \"accepted\": true,") ? 0 : 1);
        const ProgramRun checked = tool({u"check"_s, name + u".xml"_s});
        EXPECT_EQ(checked.out.toStdString(), golden(name + u".check"_s).toStdString());
        EXPECT_EQ(checked.status, checked.out.isEmpty() ? 0 : 1);
        EXPECT_EQ(exported.err + checked.err, QByteArray());
    }
    // Reading never writes: no Hold folder, no file beside the routes files.
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

TEST(RoutesTool, CommandLinesGiveTheirStatusAndGoldenOutputs)
{
    for (const QString &row : tableRows(u"cli/commands.txt"_s)) {
        SCOPED_TRACE(row.toStdString());
        const QStringList cells = row.split(u' ', Qt::SkipEmptyParts);
        const ProgramRun r = tool(cells.mid(4));
        EXPECT_EQ(r.status, cells.value(1).toInt());
        EXPECT_EQ(r.out.toStdString(), cliGolden(cells.value(2)).toStdString());
        EXPECT_EQ(r.err.toStdString(), cliGolden(cells.value(3)).toStdString());
    }
}
