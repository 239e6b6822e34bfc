#pragma once

#include <cstring>

#if defined(__SSE__) && !defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace qv {

// count doubles from in to out (not overlapping). Where SSE has no double arithmetic (the SSE
// build's doubles live on the x87 unit) it still moves 16 bytes at a time, where the compiler
// would copy a few hundred bytes byte by byte. Any thread.
inline void copySamples(const double* in, double* out, int count) {
#if defined(__SSE__) && !defined(__SSE2__)
    int k = 0;
    for (; k + 1 < count; k += 2)
        _mm_storeu_ps(reinterpret_cast<float*>(out + k),
                      _mm_loadu_ps(reinterpret_cast<const float*>(in + k)));
    if (k < count) out[k] = in[k];
#else
    if (count > 0) std::memcpy(out, in, sizeof(double) * static_cast<unsigned>(count));
#endif
}

} // namespace qv
