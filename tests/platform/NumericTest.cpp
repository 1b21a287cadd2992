#include "platform/Numeric.h"

#include <gtest/gtest.h>

#include <limits>

using molvik::Numeric;

TEST(Numeric, ConversionsRoundHalfToEvenAndFailOutsideTheRange)
{
    constexpr auto no = std::nullopt;
    const struct
    {
        const char *text;
        std::optional<qint16> i16;
        std::optional<qint32> i32;
    } rows[] = {
        {"0", 0, 0},
        {"21", 21, 21},
        {" 2121 ", 2121, 2121},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"-2.5", -2, -2},
        {"-7", -7, -7},
        {"+8", 8, 8},
        {"32767", 32767, 32767},
        {"32767.5", no, 32768},
        {"-32768", -32768, -32768},
        {"-32769", no, -32769},
        {"2147483647", no, 2147483647},
        {"2147483648", no, no},
        {"1e3", 1000, 1000},
        {".5", 0, 0},
    };
    for (const auto &r : rows) {
        const QString t = QString::fromLatin1(r.text);
        EXPECT_TRUE(Numeric::isNumeric(t)) << r.text;
        EXPECT_EQ(Numeric::toInt16(t), r.i16) << r.text;
        EXPECT_EQ(Numeric::toInt32(t), r.i32) << r.text;
    }
    for (const char *text : {"abc", "", "  ", "12abc", "1e", "-", "1 2"}) {
        const QString t = QString::fromLatin1(text);
        EXPECT_FALSE(Numeric::isNumeric(t) || Numeric::toInt16(t) || Numeric::toInt32(t)) << text;
    }
}

TEST(Numeric, PlainDecimalIsStrict)
{
    const qint64 lo = std::numeric_limits<qint32>::min(), hi = std::numeric_limits<qint32>::max();
    const std::pair<const char16_t *, std::optional<qint64>> rows[] = {
        {u" -12 ", -12}, {u"+7", 7},   {u"007", 7},  {u"-2147483648", lo}, {u"2147483648", {}}, {u"99999999999999999999999", {}},
        {u"", {}},       {u" ", {}},   {u"+", {}},   {u"2.5", {}},         {u"1e3", {}},        {u"0x10", {}},
        {u"1,000", {}},  {u"abc", {}}, {u"1 2", {}},
    };
    for (const auto &[text, value] : rows)
        EXPECT_EQ(Numeric::plainDecimal(text, lo, hi), value) << QString::fromUtf16(text).toStdString();
}
