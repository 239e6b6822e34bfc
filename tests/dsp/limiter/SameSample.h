#pragma once

#include <cmath>
#include <cstring>

namespace qv {

// The limiter's block and per-frame forms are bit-identical where doubles live in SSE2
// registers. On the x87 unit the compiled code keeps some sums wider than double for as long as
// they stay in registers, which depends on the loop around them, so there they agree to rounding
// only.
#if defined(__i386__) && !defined(__SSE2_MATH__)
constexpr double kFormTolerance = 1e-12;
#else
constexpr double kFormTolerance = 0.0;
#endif
inline bool sameSample(double a, double b) {
    if (kFormTolerance == 0.0) return std::memcmp(&a, &b, sizeof a) == 0;
    return std::fabs(a - b) <= kFormTolerance;
}

} // namespace qv
