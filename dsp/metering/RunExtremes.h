#pragma once

#include <algorithm>
#include <cmath>

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#define QV_RUN_EXTREMES_SSE2 1
#endif

namespace qv {

// Extremes over a run of samples, for the meters: where doubles live in SSE2 registers two
// samples are compared at a time, elsewhere one. A NaN sample never reaches the result (the
// SSE2 comparisons keep their second operand, the running extreme, when the first is NaN).
// Audio thread.
namespace run_extremes {

#if defined(QV_RUN_EXTREMES_SSE2)
inline __m128d magnitudes(const double* x) {
    return _mm_andnot_pd(_mm_set1_pd(-0.0), _mm_loadu_pd(x)); // the sign bit cleared
}
inline double higherOf(__m128d pair) {
    return std::max(_mm_cvtsd_f64(pair), _mm_cvtsd_f64(_mm_unpackhi_pd(pair, pair)));
}
inline double lowerOf(__m128d pair) {
    return std::min(_mm_cvtsd_f64(pair), _mm_cvtsd_f64(_mm_unpackhi_pd(pair, pair)));
}
#endif

// The largest of start and every max(|a[i]|, |b[i]|), i < frames.
inline double largestMagnitude(const double* a, const double* b, int frames, double start) {
    int i = 0;
#if defined(QV_RUN_EXTREMES_SSE2)
    __m128d pair = _mm_set1_pd(start);
    for (; i + 1 < frames; i += 2)
        pair = _mm_max_pd(_mm_max_pd(magnitudes(a + i), magnitudes(b + i)), pair);
    start = higherOf(pair);
#endif
    for (; i < frames; ++i)
        start = std::max(start, std::max(std::fabs(a[i]), std::fabs(b[i])));
    return start;
}

// The largest of start and every |x[i]|, i < frames.
inline double largestMagnitude(const double* x, int frames, double start) {
    return largestMagnitude(x, x, frames, start);
}

// The largest (Largest) or the smallest of start and every x[i], i < frames.
template <bool Largest> inline double extreme(const double* x, int frames, double start) {
    int i = 0;
#if defined(QV_RUN_EXTREMES_SSE2)
    __m128d pair = _mm_set1_pd(start);
    for (; i + 1 < frames; i += 2) {
        const __m128d v = _mm_loadu_pd(x + i);
        pair = Largest ? _mm_max_pd(v, pair) : _mm_min_pd(v, pair);
    }
    start = Largest ? higherOf(pair) : lowerOf(pair);
#endif
    for (; i < frames; ++i)
        start = Largest ? std::max(start, x[i]) : std::min(start, x[i]);
    return start;
}
inline double largest(const double* x, int frames, double start) {
    return extreme<true>(x, frames, start);
}
inline double smallest(const double* x, int frames, double start) {
    return extreme<false>(x, frames, start);
}

// The largest of start and every x[i] (floats), i < frames.
inline float largest(const float* x, int frames, float start) {
    for (int i = 0; i < frames; ++i)
        start = std::max(start, x[i]);
    return start;
}

} // namespace run_extremes
} // namespace qv
