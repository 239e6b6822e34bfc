#pragma once

#include <cstdint>
#include <cstring>

namespace qv {

// Exponent-halving square root of a positive float: halves the distance of the bit pattern from
// that of 1.0 (arithmetic shift), so it is exact at powers of four and piecewise linear between
// them (0.5 gives 0.75). Used for the RMS readout, where a cheap monotonic estimate is enough.
// Any thread.
inline float approxSqrt(float value) {
    const std::int32_t kOneBits = 0x3F800000; // bit pattern of 1.0f
    std::int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::int32_t offset = bits - kOneBits;
    // Halving with the sign kept; division rounds towards zero, so fix up odd negative offsets
    // to get the arithmetic shift's floor.
    std::int32_t half = offset / 2;
    if (offset < 0 && (offset & 1)) --half;
    bits = half + kOneBits;
    float result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

} // namespace qv
