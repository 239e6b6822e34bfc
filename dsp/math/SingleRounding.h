#pragma once

#include <limits>

namespace qv {

// v rounded once to the nearest float, the same in the SSE and the x87 build: x87 keeps float
// expressions in wider registers, so quantities defined "in single precision" are formed in
// double (exact for a product of two floats) and rounded here. Beyond the float range the result
// is +-infinity; NaN stays NaN. Any thread.
inline float roundToSingle(double v) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    volatile float single = static_cast<float>(v); // the store forces the rounding
    return single;
}

} // namespace qv
