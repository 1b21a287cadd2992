#pragma once

#include <QtGlobal>

#include <algorithm>
#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace molvik::LineMasks {

// Line ends ('\n') and cuts ('<', '>' and '|'), a bit for each byte, for the
// 64-byte blocks of the n bytes at p (n > 0). Whole blocks are read, so up to
// 63 bytes past p + n must be readable; their bits are cleared.
constexpr qsizetype kBlock = 64;
using Kernel = void (*)(const char *p, qsizetype n, quint64 *ends, quint64 *cuts);

// Sixteen bytes a step where SSE2 is, else byte by byte.
void plain(const char *p, qsizetype n, quint64 *ends, quint64 *cuts);
// Thirty-two bytes a step; null where the processor or the build lacks AVX2.
Kernel avx2();
// The fastest this processor runs, chosen once.
Kernel best();

// The first line end or cut in [p, end), or end. Reads in 16-byte steps, so
// up to 15 bytes past end must be readable. Inline: it runs once a line.
inline const char *firstStop(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i nl = _mm_set1_epi8('\n'), angle = _mm_set1_epi8('>'), bit = _mm_set1_epi8(0x02), bar = _mm_set1_epi8('|');
    for (; p < end; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(v, bit), angle), _mm_cmpeq_epi8(v, bar)),
                                          _mm_cmpeq_epi8(v, nl));
        if (const unsigned found = unsigned(_mm_movemask_epi8(hits)))
            return std::min(p + std::countr_zero(found), end);
    }
    return end;
#else
    for (; p < end; ++p) {
        if (*p == '\n' || *p == '<' || *p == '>' || *p == '|')
            return p;
    }
    return end;
#endif
}

} // namespace molvik::LineMasks
