#include "platform/AnsiText.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Every byte's character: one look-up a byte, no branches.
constexpr std::array<char16_t, 256> kDecode = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b);
    return table;
}();

char toByte(char16_t c)
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
    QString out;
    decodeInto(out, bytes);
    return out;
}

void AnsiText::decodeInto(QString &out, QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    const int n = bytes.isEmpty() ? 0 : MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    out.resize(n);
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t *>(out.data()), n);
#else
    const qsizetype n = bytes.size();
    // Read again into the same string, a value mostly keeps its length.
    if (out.size() != n || !out.isDetached())
        out.resize(n);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const char *src = bytes.data();
#if defined(__SSE2__)
    // Mostly ASCII: widened sixteen or eight bytes a step, the last step
    // overlapping the one before; the table only when a byte needs it.
    const __m128i zero = _mm_setzero_si128();
    const auto widen16 = [&](qsizetype at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + at));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + at), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + at + 8), _mm_unpackhi_epi8(v, zero));
        return _mm_movemask_epi8(v);
    };
    const auto widen8 = [&](qsizetype at) {
        const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(src + at));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + at), _mm_unpacklo_epi8(v, zero));
        return _mm_movemask_epi8(v);
    };
    int high = 0;
    if (n >= 16) {
        for (qsizetype at = 0; at + 16 < n; at += 16)
            high |= widen16(at);
        high |= widen16(n - 16);
    } else if (n >= 8) {
        high = widen8(0) | widen8(n - 8);
    } else {
        for (qsizetype i = 0; i < n; ++i) {
            dst[i] = char16_t(static_cast<unsigned char>(src[i]));
            high |= static_cast<unsigned char>(src[i]) & 0x80;
        }
    }
    if (high == 0)
        return;
#endif
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = kDecode[static_cast<unsigned char>(src[i])];
#endif
}

QByteArray AnsiText::encode(QStringView text)
{
    QByteArray out;
    append(out, text);
    return out;
}

qsizetype AnsiText::maxBytes(qsizetype characters)
{
#ifdef Q_OS_WIN
    return characters * 2; // a double-byte code page
#else
    return characters;
#endif
}

qsizetype AnsiText::encodeTo(char *dst, QStringView text)
{
#ifdef Q_OS_WIN
    if (text.isEmpty())
        return 0;
    const auto *src = reinterpret_cast<const wchar_t *>(text.utf16());
    return WideCharToMultiByte(CP_ACP, 0, src, int(text.size()), dst, int(maxBytes(text.size())), nullptr, nullptr);
#else
    const char16_t *src = text.utf16();
    const qsizetype n = text.size();
    // Mostly ASCII: a check and a narrowing copy the compiler vectorises.
    char16_t any = 0;
    for (qsizetype i = 0; i < n; ++i)
        any |= src[i];
    if (any < 0x80) {
        for (qsizetype i = 0; i < n; ++i)
            dst[i] = static_cast<char>(src[i]);
        return n;
    }
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = toByte(src[i]);
    return n;
#endif
}

void AnsiText::append(QByteArray &out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + maxBytes(text.size()));
    out.resize(at + encodeTo(out.data() + at, text));
}

void AnsiText::appendLine(QByteArray &out, QStringView line)
{
    append(out, line);
    out.append("\r\n", 2);
}

} // namespace molvik
