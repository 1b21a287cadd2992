#include "platform/AnsiText.h"
#include "platform/Numeric.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>

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
                              cell(Numeric::toInt32(text)), cell(Numeric::plainDecimal(text.toLatin1(), lo, hi))};
        EXPECT_EQ(got.join(u'|').toStdString(), row.toStdString());
    }
}

TEST(AnsiText, Windows1252BothWays)
{
    for (const QString &row : tableRows(u"windows-1252.txt"_s)) {
        const QString text(QChar(row.mid(2, 4).toUShort(nullptr, 16)));
        const QByteArray byte = QByteArray::fromHex(row.mid(7).toLatin1());
        EXPECT_EQ(AnsiText::encode(text).toHex(' ') + ' ' + AnsiText::decode(byte).toUtf8(), byte.toHex() + ' ' + text.toUtf8())
            << row.toStdString();
    }
    QByteArray all(256, '\0'); // every byte survives decode then encode
    std::iota(all.begin(), all.end(), '\0');
    EXPECT_EQ(AnsiText::encode(AnsiText::decode(all)), all);
}
