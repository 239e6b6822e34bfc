#pragma once

#include "dsp/math/LargerOf.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#define QV_RUN_EXTREMES_SSE2 1
#endif
#if defined(__SSE__) && defined(__SSE_MATH__)
#include <xmmintrin.h>
#define QV_RUN_EXTREMES_SSE 1
#endif

namespace qv {

// Extremes over a run of samples, for the meters: where doubles live in SSE2 registers two
// samples are compared at a time (four floats where floats live in SSE registers), elsewhere
// one. A NaN sample never reaches the result (the
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

// The same as the next, without a comparison per sample for the bound (the x87 unit's form):
// the run's largest magnitude by largerOf, and a NaN found by the sum of the magnitudes (none is
// negative, so only a NaN makes the sum NaN; an overflow gives +Inf).
inline double largestMagnitudeSummed(const double* x, int frames, double start, double limit,
                                     bool& within) {
    double largestHere = 0.0, sum = 0.0;
    for (int i = 0; i < frames; ++i) {
        const double magnitude = std::fabs(x[i]);
        sum += magnitude;
        largestHere = largerOf(magnitude, largestHere);
    }
    within = largestHere <= limit && !std::isnan(sum);
    return largerOf(largestHere, start);
}

// The same, also telling in within whether every |x[i]| is at most limit (false if any x[i] is
// NaN): one pass where the meters need both.
inline double largestMagnitude(const double* x, int frames, double start, double limit,
                               bool& within) {
    int i = 0;
    int allWithin = 1;
#if defined(QV_RUN_EXTREMES_SSE2)
    __m128d pair = _mm_set1_pd(start);
    __m128d all = _mm_castsi128_pd(_mm_set1_epi64x(-1));
    const __m128d bound = _mm_set1_pd(limit);
    for (; i + 1 < frames; i += 2) {
        const __m128d magnitude = magnitudes(x + i);
        pair = _mm_max_pd(magnitude, pair);
        all = _mm_and_pd(all, _mm_cmple_pd(magnitude, bound));
    }
    start = higherOf(pair);
    allWithin = _mm_movemask_pd(all) == 3;
#else
    return largestMagnitudeSummed(x, frames, start, limit, within);
#endif
    for (; i < frames; ++i) {
        const double magnitude = std::fabs(x[i]);
        start = std::max(start, magnitude);
        allWithin &= static_cast<int>(magnitude <= limit);
    }
    within = allWithin != 0;
    return start;
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
    int i = 0;
#if defined(QV_RUN_EXTREMES_SSE)
    // Four at a time where floats live in SSE registers.
    __m128 quad = _mm_set1_ps(start);
    for (; i + 3 < frames; i += 4)
        quad = _mm_max_ps(_mm_loadu_ps(x + i), quad);
    quad = _mm_max_ps(quad, _mm_movehl_ps(quad, quad));
    quad = _mm_max_ss(quad, _mm_shuffle_ps(quad, quad, 1));
    start = _mm_cvtss_f32(quad);
#endif
    for (; i < frames; ++i)
        start = std::max(start, x[i]);
    return start;
}

} // namespace run_extremes
} // namespace qv
