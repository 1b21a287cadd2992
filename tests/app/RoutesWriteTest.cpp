// molvik-routes changing routes files. Each row of cli/writes.txt runs in a
// temporary folder on copies of the data files it names; the routes file it
// leaves there must match its golden file byte for byte.
#include "support/StoreTestSupport.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const QString kData = QStringLiteral(MOLVIK_TEST_DATA "/");

ProgramRun tool(const QStringList &arguments, const QString &folder, const QString &input = {})
{
    return runProgram(QStringLiteral(MOLVIK_ROUTES_TOOL), arguments, folder, input);
}

// Every file under folder, hidden ones too: a write leaves no stray temporary.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QJsonArray exportedRoutes(const QString &file, const QString &folder)
{
    return QJsonDocument::fromJson(tool({u"export"_s, file}, folder).out).object().value(u"routes"_s).toArray();
}

} // namespace

TEST(RoutesWrite, CommandLinesLeaveTheirGoldenFiles)
{
    const QStringList rows = QString::fromUtf8(golden(u"cli/writes.txt"_s)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(rows.isEmpty());
    for (const QString &row : rows) {
        if (row.startsWith(u'#'))
            continue;
        SCOPED_TRACE(row.toStdString());
        const QStringList cells = row.split(QRegularExpression(u"\\s{2,}"_s), Qt::SkipEmptyParts);
        QTemporaryDir tmp;
        QStringList arguments;
        QString input, routes;
        for (const QString &cell : cells.mid(5)) {
            if (cell.startsWith(u'<')) {
                input = kData + cell.mid(1);
                continue;
            }
            arguments << (cell == u"\"\"" ? QString() : cell);
            if (QFileInfo(kData + cell).isFile())
                writeFile(tmp.filePath(cell), golden(cell));
            if (routes.isEmpty() && cell.endsWith(u".xml"))
                routes = cell;
        }
        const QStringList before = filesUnder(tmp.path());
        const ProgramRun r = tool(arguments, tmp.path(), input);
        EXPECT_EQ(r.status, cells.value(1).toInt());
        EXPECT_EQ(r.out.toStdString(), cells.value(2) == u"-" ? "" : golden(u"cli/"_s + cells.value(2)).toStdString());
        EXPECT_EQ(r.err.toStdString(), cells.value(3) == u"-" ? "" : golden(u"cli/"_s + cells.value(3)).toStdString());
        const QByteArray after = readFile(tmp.filePath(routes)).replace(QDir(tmp.path()).canonicalPath().toUtf8(), "$TMP");
        EXPECT_EQ(after.toStdString(), golden(cells.value(4) == u"=" ? routes : u"cli/"_s + cells.value(4)).toStdString());
        EXPECT_EQ(filesUnder(tmp.path()), before);
    }
}

TEST(RoutesWrite, ExportAddExportGivesTheSameRoute)
{
    // The example holds a route of every method, its texts, flags and numbers.
    const QJsonArray examples = exportedRoutes(QStringLiteral(MOLVIK_EXAMPLES "/Routes.xml"), kData);
    ASSERT_EQ(examples.size(), 7);
    for (const QJsonValue &route : examples) {
        SCOPED_TRACE(route[u"RouteDef"_s].toString().toStdString());
        QTemporaryDir tmp;
        writeFile(tmp.filePath(u"Routes.xml"_s), golden(u"default-route.xml"_s));
        writeFile(tmp.filePath(u"route.json"_s), QJsonDocument(route.toObject()).toJson());
        EXPECT_EQ(tool({u"add"_s, u"Routes.xml"_s, u"route.json"_s}, tmp.path()).out, "2\n");
        EXPECT_EQ(exportedRoutes(u"Routes.xml"_s, tmp.path()).at(1), route);
    }
}
