#include "platform/Numeric.h"

#include <cmath>
#include <limits>

namespace molvik {

namespace {

// Without the blanks (spaces and tabs) around it, in text or in bytes.
template<typename View> View trimmed(View s)
{
    const auto blank = [](auto c) { return c == u' ' || c == u'\t'; };
    while (!s.isEmpty() && blank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && blank(s.back()))
        s.chop(1);
    return s;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

template<typename T> std::optional<T> roundedInRange(const QString &text)
{
    const auto v = Numeric::value(text);
    if (!v)
        return std::nullopt;
    // nearbyint under the default rounding mode rounds half to even, as the
    // platform's conversions do.
    const double r = std::nearbyint(*v);
    if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}

} // namespace

bool Numeric::isNumeric(const QString &text)
{
    return value(text).has_value();
}

std::optional<double> Numeric::value(const QString &text)
{
    const QStringView s = trimmed(QStringView(text));
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j == expStart)
            return std::nullopt;
        i = j;
    }
    if (i != s.size())
        return std::nullopt;
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint16> Numeric::toInt16(const QString &text)
{
    return roundedInRange<qint16>(text);
}

std::optional<qint32> Numeric::toInt32(const QString &text)
{
    return roundedInRange<qint32>(text);
}

std::optional<qint64> Numeric::plainDecimal(QByteArrayView text, qint64 min, qint64 max)
{
    const QByteArrayView digits = trimmed(text);
    qsizetype i = 0;
    const bool negative = digits.startsWith('-');
    if (negative || digits.startsWith('+'))
        ++i;
    if (i == digits.size())
        return std::nullopt;
    // Accumulate as a negative number so that the minimum itself fits.
    qint64 acc = 0;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        const int d = c - '0';
        if (acc < (std::numeric_limits<qint64>::min() + d) / 10)
            return std::nullopt;
        acc = acc * 10 - d;
    }
    if (!negative) {
        if (acc == std::numeric_limits<qint64>::min())
            return std::nullopt;
        acc = -acc;
    }
    if (acc < min || acc > max)
        return std::nullopt;
    return acc;
}

QByteArrayView Numeric::trimBlanks(QByteArrayView text)
{
    return trimmed(text);
}

} // namespace molvik
