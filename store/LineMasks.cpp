#include "store/LineMasks.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define MOLVIK_HAVE_AVX2_KERNEL
#endif

namespace molvik::LineMasks {

namespace {

quint64 inside(qsizetype n)
{
    return n >= kBlock ? ~quint64(0) : (quint64(1) << n) - 1;
}

#ifdef MOLVIK_HAVE_AVX2_KERNEL
// The one function built for AVX2, called only where the processor has it.
__attribute__((target("avx2"))) void masksAvx2(const char *p, qsizetype n, quint64 *ends, quint64 *cuts)
{
    // '<' (0x3C) and '>' (0x3E) differ in one bit: setting it finds both.
    const __m256i nl = _mm256_set1_epi8('\n'), angle = _mm256_set1_epi8('>'), bit = _mm256_set1_epi8(0x02),
                  bar = _mm256_set1_epi8('|');
    const auto bits = [](__m256i hits) __attribute__((target("avx2"))) {
        return quint64(quint32(_mm256_movemask_epi8(hits)));
    };
    const auto cut = [&](__m256i v) __attribute__((target("avx2"))) {
        return _mm256_or_si256(_mm256_cmpeq_epi8(_mm256_or_si256(v, bit), angle), _mm256_cmpeq_epi8(v, bar));
    };
    for (qsizetype b = 0; b * kBlock < n; ++b, p += kBlock) {
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p) + 1);
        const quint64 keep = inside(n - b * kBlock);
        ends[b] = (bits(_mm256_cmpeq_epi8(lo, nl)) | bits(_mm256_cmpeq_epi8(hi, nl)) << 32) & keep;
        cuts[b] = (bits(cut(lo)) | bits(cut(hi)) << 32) & keep;
    }
}
#endif

} // namespace

void plain(const char *p, qsizetype n, quint64 *ends, quint64 *cuts)
{
    for (qsizetype b = 0; b * kBlock < n; ++b, p += kBlock) {
        quint64 e = 0, c = 0;
#if defined(__SSE2__)
        const __m128i nl = _mm_set1_epi8('\n'), angle = _mm_set1_epi8('>'), bit = _mm_set1_epi8(0x02), bar = _mm_set1_epi8('|');
        const auto bits = [](__m128i hits) { return quint64(unsigned(_mm_movemask_epi8(hits))); };
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p) + i);
            e |= bits(_mm_cmpeq_epi8(v, nl)) << (16 * i);
            c |= bits(_mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(v, bit), angle), _mm_cmpeq_epi8(v, bar))) << (16 * i);
        }
#else
        for (int i = 0; i < kBlock; ++i) {
            e |= quint64(p[i] == '\n') << i;
            c |= quint64(p[i] == '<' || p[i] == '>' || p[i] == '|') << i;
        }
#endif
        const quint64 keep = inside(n - b * kBlock);
        ends[b] = e & keep;
        cuts[b] = c & keep;
    }
}

Kernel avx2()
{
#ifdef MOLVIK_HAVE_AVX2_KERNEL
    static const Kernel kernel = __builtin_cpu_supports("avx2") ? masksAvx2 : nullptr;
    return kernel;
#else
    return nullptr;
#endif
}

Kernel best()
{
    static const Kernel kernel = avx2() ? avx2() : plain;
    return kernel;
}

} // namespace molvik::LineMasks
