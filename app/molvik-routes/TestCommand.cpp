#include "app/molvik-routes/TestCommand.h"

#include "probe/RouteTest.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace molvik {

namespace {

QString resultWord(RouteTest::Result result)
{
    switch (result) {
    case RouteTest::Result::Failed:
        return QStringLiteral("FAILED");
    case RouteTest::Result::Ok:
    case RouteTest::Result::NotTestable:
        break;
    }
    // A step that cannot be tested here is no failure; its answer says why.
    return QStringLiteral("ok");
}

} // namespace

QString TestCommand::takeOptions(QStringList &operands, Options &options)
{
    options.upload = operands.removeAll(QStringLiteral("--upload")) > 0;
    options.send = operands.removeAll(QStringLiteral("--send")) > 0;
    options.json = operands.removeAll(QStringLiteral("--json")) > 0;
    const qsizetype at = operands.indexOf(QStringLiteral("--timeout"));
    if (at < 0)
        return {};
    bool number = false;
    const double seconds = operands.value(at + 1).toDouble(&number);
    if (!number || seconds <= 0 || seconds > 3600)
        return QStringLiteral("--timeout needs a number of seconds from 0 to 3600, not \"%1\"").arg(operands.value(at + 1));
    options.timeoutMs = qMax(1, qRound(seconds * 1000));
    operands.remove(at, 2);
    return {};
}

int TestCommand::run(const RouteDef &route, const Options &options, QTextStream &out)
{
    RouteTest test;
    test.setTimeout(options.timeoutMs);
    test.setUpload(options.upload);
    test.setSend(options.send);
    QEventLoop loop;
    bool passed = false;
    QObject::connect(&test, &RouteTest::stepFinished, &loop, [&](const RouteTest::Step &step) {
        if (options.json)
            return;
        out << resultWord(step.result).leftJustified(8) << step.name << ": " << step.answer << '\n';
        out.flush();
    });
    QObject::connect(&test, &RouteTest::finished, &loop, [&](bool ok) {
        passed = ok;
        loop.quit();
    });
    test.start(route);
    loop.exec();
    if (options.json) {
        QJsonArray steps;
        for (const RouteTest::Step &step : test.steps())
            steps.append(QJsonObject{{QStringLiteral("step"), step.name},
                                     {QStringLiteral("result"), resultWord(step.result)},
                                     {QStringLiteral("answer"), step.answer}});
        const QJsonObject report{{QStringLiteral("passed"), passed}, {QStringLiteral("steps"), steps}};
        out << QJsonDocument(report).toJson(QJsonDocument::Indented);
    }
    return passed ? 0 : 1;
}

} // namespace molvik
