#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace molvik {

// The conversions the forms use, with the platform's behaviour: a numeric test
// on text, whole-number conversions that round half to even and fail outside
// their range, and the decimal text of a number.
class Numeric
{
public:
    // Blanks around, an optional sign, digits with an optional fraction and an
    // optional exponent. The empty text is not numeric.
    static bool isNumeric(const QString &text);
    // The value of a numeric text; nothing when the text is not numeric.
    static std::optional<double> value(const QString &text);
    static std::optional<qint16> toInt16(const QString &text);
    static std::optional<qint32> toInt32(const QString &text);
    static QString decimal(qint64 value) { return QString::number(value); }

    // The stricter rule of the routes-file reader, on bytes of the ANSI code
    // page: plain decimal digits with an optional sign and surrounding
    // blanks, no fraction, no exponent.
    static std::optional<qint64> plainDecimal(QByteArrayView text, qint64 min, qint64 max);
    // Without the blanks (spaces and tabs) around it.
    static QByteArrayView trimBlanks(QByteArrayView text);
};

} // namespace molvik
