#pragma once

#include <cstdint>
#include <cstring>

namespace qv {

// Returns 0.0 for a double whose exponent field is zero (zero or subnormal), the value itself
// otherwise. Subnormal arithmetic is very slow on x87 and SSE, so gains, thresholds and products
// that may underflow are passed through this. Any thread.
inline double flushDenormal(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint64_t exponentMask = 0x7FF0000000000000ULL;
    return (bits & exponentMask) == 0 ? 0.0 : value;
}

} // namespace qv
