// molvik-routes run as the operator runs it, from the test data folder so the
// paths in its messages are short and the same on every machine. Expected
// outputs are golden files: reader/NAME.json and reader/NAME.check are what
// export and check print for reader/NAME.xml; cli/ holds the rest.
#include "support/StoreTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace molvik::test;
using namespace Qt::StringLiterals;

const QString kTool = QStringLiteral(MOLVIK_ROUTES_TOOL), kData = QStringLiteral(MOLVIK_TEST_DATA);

TEST(RoutesTool, ReaderCasesExportAndCheckAsTheirGoldenFiles)
{
    const QDir folder(kData + u"/reader"_s);
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    ASSERT_FALSE(before.isEmpty());
    for (const QString &xml : folder.entryList({u"*.xml"_s})) {
        SCOPED_TRACE(xml.toStdString());
        const QString name = u"reader/"_s + xml.chopped(4);
        for (const auto &[command, printed] : {std::pair(u"export"_s, u".json"_s), std::pair(u"check"_s, u".check"_s)}) {
            const ProgramRun r = runProgram(kTool, {command, name + u".xml"_s}, kData);
            EXPECT_EQ(r.out.toStdString(), golden(name + printed).toStdString());
            // Export prints a verdict, check prints only problems: 0 for an accepted file.
            EXPECT_EQ(r.status, r.out.isEmpty() || r.out.startsWith("{\n  \"accepted\": true,") ? 0 : 1);
            EXPECT_EQ(r.err, QByteArray());
        }
    }
    // Reading never writes: no Hold folder, no file beside the routes files.
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

TEST(RoutesTool, CommandLinesGiveTheirStatusAndGoldenOutputs)
{
    for (const QString &row : tableRows(u"cli/commands.txt"_s)) {
        SCOPED_TRACE(row.toStdString());
        const QStringList cells = row.split(u' ', Qt::SkipEmptyParts);
        const auto expected = [&cells](int i) {
            return cells[i] == u"-" ? std::string() : golden(u"cli/"_s + cells[i]).toStdString();
        };
        const ProgramRun r = runProgram(kTool, cells.mid(4), kData);
        EXPECT_EQ(r.status, cells.value(1).toInt());
        EXPECT_EQ(r.out.toStdString(), expected(2));
        EXPECT_EQ(r.err.toStdString(), expected(3));
    }
}
