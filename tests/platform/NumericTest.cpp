#include "platform/Numeric.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

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
