#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using molvik::AnsiText;
using molvik::Numeric;
using namespace molvik::test;
using namespace Qt::StringLiterals;

TEST(Numeric, EveryTextConvertsAsItsRowSays)
{
    const auto cell = [](const auto &value) { return value ? QString::number(*value) : u"-"_s; };
    const qint64 lo = std::numeric_limits<qint32>::min(), hi = std::numeric_limits<qint32>::max();
    for (const QString &row : tableRows(u"numbers.txt"_s)) {
        const QString text = row.section(u'|', 0, 0);
        const QStringList got{text, Numeric::isNumeric(text) ? u"yes"_s : u"no"_s, cell(Numeric::toInt16(text)),
                              cell(Numeric::toInt32(text)), cell(Numeric::plainDecimal(text, lo, hi))};
        EXPECT_EQ(got.join(u'|'), row);
    }
}

TEST(AnsiText, Windows1252BothWays)
{
    const std::pair<QString, QByteArray> rows[] = {
        {QStringLiteral("plain ASCII <>|"), "plain ASCII <>|"},
        {QString::fromUtf8("\u00e9t\u00e9 \u00ff\u00a0"), "\xe9t\xe9 \xff\xa0"},
        {QString::fromUtf8("\u20ac \u201c\u201d \u2122 \u0178"), "\x80 \x93\x94 \x99 \x9f"},
        // The five holes of the table keep their C1 code points.
        {QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D), "\x81\x8d\x8f\x90\x9d"},
    };
    for (const auto &[text, bytes] : rows) {
        EXPECT_EQ(AnsiText::encode(text), bytes) << text.toStdString();
        EXPECT_EQ(AnsiText::decode(bytes), text) << text.toStdString();
    }
    QByteArray all; // every byte survives decode then encode
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(AnsiText::encode(AnsiText::decode(all)), all);
}
