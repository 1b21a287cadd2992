#pragma once

#include <QtGlobal>

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

} // namespace molvik::LineMasks
