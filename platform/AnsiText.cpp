#include "platform/AnsiText.h"

#include <array>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace molvik {

namespace {

// 0x80-0x9F of Windows-1252. The five holes keep their C1 code points, as the
// system's own conversion does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

[[maybe_unused]] char16_t toChar(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b);
}

[[maybe_unused]] char toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QString AnsiText::decode(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    const int n = bytes.isEmpty() ? 0 : MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    QString out(n, Qt::Uninitialized);
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t *>(out.data()), n);
    return out;
#else
    // Only 0x80 to 0x9F differ from Latin-1, and most values hold none of them.
    bool high = false;
    for (const char b : bytes)
        high |= static_cast<unsigned char>(b) - 0x80u < 0x20u;
    QString out = QString::fromLatin1(bytes);
    if (high) {
        for (QChar &c : out)
            c = QChar(toChar(static_cast<unsigned char>(c.unicode())));
    }
    return out;
#endif
}

QByteArray AnsiText::encode(QStringView text)
{
    std::string out;
    append(out, text);
    return QByteArray(out.data(), qsizetype(out.size()));
}

void AnsiText::append(std::string &out, QStringView text)
{
#ifdef Q_OS_WIN
    const auto *from = reinterpret_cast<const wchar_t *>(text.utf16());
    const int n = text.isEmpty() ? 0 : WideCharToMultiByte(CP_ACP, 0, from, int(text.size()), nullptr, 0, nullptr, nullptr);
    const std::size_t at = out.size();
    out.resize(at + std::size_t(n));
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, from, int(text.size()), out.data() + at, n, nullptr, nullptr);
#else
    const std::size_t at = out.size();
    out.resize(at + std::size_t(text.size()));
    char *to = out.data() + at;
    for (const QChar c : text)
        *to++ = toByte(c.unicode());
#endif
}

} // namespace molvik
