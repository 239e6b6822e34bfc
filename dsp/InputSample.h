#pragma once

#include <cmath>

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

} // namespace qv
