#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace molvik {

// Text in the ANSI code page: Windows-1252 outside Windows, the system's code
// page on Windows. Characters the code page cannot hold become '?'.
class AnsiText
{
public:
    static QString decode(QByteArrayView bytes);
    static QByteArray encode(QStringView text);
    // Encodes onto the end of out.
    static void append(std::string &out, QStringView text);
};

} // namespace molvik
