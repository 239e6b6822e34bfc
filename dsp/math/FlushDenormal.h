#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace qv {

// Returns 0.0 for a double whose exponent field is zero (zero or subnormal), the value itself
// otherwise. Subnormal arithmetic is very slow on x87 and SSE, so gains, thresholds and products
// that may underflow are passed through this. Any thread.
//
// Where doubles live in SSE2 registers the exponent field is tested directly. On x87 that test
// costs a trip through memory, so there the magnitude is compared with the smallest normal
// double instead: below it is exactly an exponent field of zero (NaN compares false and passes).
inline double flushDenormal(double value) {
#if defined(__SSE2_MATH__)
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint64_t exponentMask = 0x7FF0000000000000ULL;
    return (bits & exponentMask) == 0 ? 0.0 : value;
#else
    return std::fabs(value) < std::numeric_limits<double>::min() ? 0.0 : value;
#endif
}

// flushDenormal for a value known to be 0 or more (or NaN), such as a follower's release or a
// band gain: the same result, and on the x87 unit one comparison with the smallest normal
// double without the absolute value first.
inline double flushNonNegative(double value) {
#if defined(__SSE2_MATH__)
    return flushDenormal(value);
#else
    return value < std::numeric_limits<double>::min() ? 0.0 : value;
#endif
}

} // namespace qv
