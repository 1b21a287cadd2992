#include "platform/Numeric.h"

#include <gtest/gtest.h>

#include <limits>

using molvik::Numeric;

TEST(Numeric, ConversionsRoundHalfToEvenAndFailOutsideTheRange)
{
    struct Case
    {
        const char *text;
        bool numeric;
        std::optional<qint16> i16;
        std::optional<qint32> i32;
    };
    const Case cases[] = {
        {"0", true, 0, 0},
        {"21", true, 21, 21},
        {" 2121 ", true, 2121, 2121},
        {"2.5", true, 2, 2},
        {"3.5", true, 4, 4},
        {"-2.5", true, -2, -2},
        {"-7", true, -7, -7},
        {"+8", true, 8, 8},
        {"32767", true, 32767, 32767},
        {"32767.5", true, std::nullopt, 32768},
        {"-32768", true, -32768, -32768},
        {"-32769", true, std::nullopt, -32769},
        {"40000", true, std::nullopt, 40000},
        {"2147483647", true, std::nullopt, 2147483647},
        {"2147483648", true, std::nullopt, std::nullopt},
        {"1e3", true, 1000, 1000},
        {".5", true, 0, 0},
        {"abc", false, std::nullopt, std::nullopt},
        {"", false, std::nullopt, std::nullopt},
        {"  ", false, std::nullopt, std::nullopt},
        {"12abc", false, std::nullopt, std::nullopt},
        {"1e", false, std::nullopt, std::nullopt},
        {"-", false, std::nullopt, std::nullopt},
        {"1 2", false, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        const QString t = QString::fromLatin1(c.text);
        EXPECT_EQ(Numeric::isNumeric(t), c.numeric) << c.text;
        EXPECT_EQ(Numeric::toInt16(t), c.i16) << c.text;
        EXPECT_EQ(Numeric::toInt32(t), c.i32) << c.text;
    }
    EXPECT_EQ(Numeric::decimal(-5), QStringLiteral("-5"));
}

TEST(Numeric, PlainDecimalIsStrict)
{
    const qint64 lo = std::numeric_limits<qint32>::min(), hi = std::numeric_limits<qint32>::max();
    EXPECT_EQ(Numeric::plainDecimal(u" -12 ", lo, hi), -12);
    EXPECT_EQ(Numeric::plainDecimal(u"+7", lo, hi), 7);
    EXPECT_EQ(Numeric::plainDecimal(u"007", lo, hi), 7);
    EXPECT_EQ(Numeric::plainDecimal(u"-2147483648", lo, hi), lo);
    EXPECT_EQ(Numeric::plainDecimal(u"2147483648", lo, hi), std::nullopt);
    EXPECT_EQ(Numeric::plainDecimal(u"99999999999999999999999", lo, hi), std::nullopt);
    for (const char16_t *bad : {u"", u" ", u"+", u"2.5", u"1e3", u"0x10", u"1,000", u"abc", u"1 2"})
        EXPECT_EQ(Numeric::plainDecimal(bad, lo, hi), std::nullopt) << QString::fromUtf16(bad).toStdString();
}
