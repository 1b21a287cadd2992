#pragma once

#include <QByteArray>
#include <QString>

namespace molvik {

// Text in the ANSI code page: Windows-1252 outside Windows, the system's code
// page on Windows. Characters the code page cannot hold become '?'.
class AnsiText
{
public:
    static QString decode(QByteArrayView bytes);
    // Decodes over out, reusing its storage when out owns enough of it.
    static void decodeInto(QString &out, QByteArrayView bytes);
    static QByteArray encode(QStringView text);
    // Encodes onto the end of out, without a temporary.
    static void append(QByteArray &out, QStringView text);
    // The most bytes a text of so many characters encodes to.
    static qsizetype maxBytes(qsizetype characters);
    // Encodes into dst, which has room for maxBytes(text.size()); gives the
    // bytes written.
    static qsizetype encodeTo(char *dst, QStringView text);
    // Encodes and appends CR LF, the line end every file of ours uses.
    static void appendLine(QByteArray &out, QStringView line);
};

} // namespace molvik
