#pragma once

#include <cmath>

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#elif defined(__SSE__) && defined(__SSE_MATH__)
#include <xmmintrin.h>
#endif

namespace qv {

// Largest input magnitude the engine takes in: 1000, +60 dBFS, far above any real signal. A
// corrupt sample beyond it would drive the band detectors and the limiter's followers so high
// that their 0.5 s half-life release ducks the output for up to a minute; bounded here, one bad
// sample costs no more than a +60 dBFS peak.
constexpr double kInputSampleLimit = 1000.0;

// A host sample widened for the pipeline: non-finite samples (NaN, infinity) enter as silence,
// finite ones beyond kInputSampleLimit as the limit with their sign, every other sample
// unchanged. Audio thread.
inline double enteredSample(float sample) {
    const double x = sample;
    if (!(std::fabs(x) <= kInputSampleLimit)) {
        if (!std::isfinite(x)) return 0.0;
        return x > 0.0 ? kInputSampleLimit : -kInputSampleLimit;
    }
    return x;
}

// enteredSample of a run of frames samples: out[k] = enteredSample(in[k]). Where doubles live in
// SSE2 registers two samples go at a time without branches (a non-finite x gives NaN for
// x - x, which the mask turns into 0). Audio thread.
inline void enterSamples(const float* in, double* out, int frames) {
    int k = 0;
#if defined(__SSE2__) && defined(__SSE2_MATH__)
    const __m128d limit = _mm_set1_pd(kInputSampleLimit),
                  negativeLimit = _mm_set1_pd(-kInputSampleLimit);
    for (; k + 1 < frames; k += 2) {
        const __m128d x = _mm_cvtps_pd(
            _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + k))));
        const __m128d bounded = _mm_max_pd(_mm_min_pd(x, limit), negativeLimit);
        const __m128d finite = _mm_cmpeq_pd(_mm_sub_pd(x, x), _mm_setzero_pd());
        _mm_storeu_pd(out + k, _mm_and_pd(bounded, finite));
    }
#elif defined(__SSE__) && defined(__SSE_MATH__)
    // Floats in SSE registers, doubles on the x87 unit: four samples are checked at a time as
    // floats (the limit is exact in single precision; NaN fails), and samples within it only
    // widen.
    const __m128 limit = _mm_set1_ps(static_cast<float>(kInputSampleLimit));
    for (; k + 3 < frames; k += 4) {
        const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm_loadu_ps(in + k));
        if (_mm_movemask_ps(_mm_cmple_ps(magnitude, limit)) == 15) {
            for (int j = k; j < k + 4; ++j)
                out[j] = in[j];
        } else {
            for (int j = k; j < k + 4; ++j)
                out[j] = enteredSample(in[j]);
        }
    }
#endif
    for (; k < frames; ++k)
        out[k] = enteredSample(in[k]);
}

} // namespace qv
