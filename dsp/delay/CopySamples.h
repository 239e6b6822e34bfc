#pragma once

#include <cstring>

#if defined(__SSE__) && !defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace qv {

// count doubles from in to out (not overlapping). Where SSE has no double arithmetic (the SSE
// build's doubles live on the x87 unit) it still moves 16 bytes at a time, where the compiler
// would copy a few hundred bytes byte by byte. That build's Pentium III tuning splits every
// unaligned 16-byte move in two halves; this function is tuned for later processors, which
// move them whole (any processor runs it). Any thread.
#if defined(__SSE__) && !defined(__SSE2__) && defined(__GNUC__)
__attribute__((target("tune=generic")))
#endif
inline void
copySamples(const double* in, double* out, int count) {
#if defined(__SSE__) && !defined(__SSE2__)
    int k = 0;
    for (; k + 3 < count; k += 4) {
        const __m128 low = _mm_loadu_ps(reinterpret_cast<const float*>(in + k));
        const __m128 high = _mm_loadu_ps(reinterpret_cast<const float*>(in + k + 2));
        _mm_storeu_ps(reinterpret_cast<float*>(out + k), low);
        _mm_storeu_ps(reinterpret_cast<float*>(out + k + 2), high);
    }
    for (; k < count; ++k)
        out[k] = in[k];
#else
    if (count > 0) std::memcpy(out, in, sizeof(double) * static_cast<unsigned>(count));
#endif
}

} // namespace qv
