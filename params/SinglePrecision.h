#pragma once

#include <limits>

// Rounding to single precision that holds in both builds.
//
// In the x87 build float arithmetic runs in the FPU's wider registers, so a float expression can
// keep more precision than a float has; the SSE build rounds every operation. Quantities that
// are compared or shown "in single precision" are therefore computed in double and rounded once
// through here, which gives the same float in both builds.
//
// Thread: any.

namespace qv {

// v rounded to the nearest float; beyond the float range +-infinity, NaN stays NaN.
inline float toSingle(double v) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    // The store through a volatile float forces the rounding an x87 register would skip.
    volatile float single = static_cast<float>(v);
    return single;
}

} // namespace qv
