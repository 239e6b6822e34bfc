#include "dsp/math/ApproxSqrt.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ApproxSqrtTest, ExactAtPowersOfFourLinearBetween) {
    const struct {
        float x, expected;
    } cases[] = {
        {1.0f, 1.0f},     {4.0f, 2.0f},  {16.0f, 4.0f}, {0.25f, 0.5f},
        {0.0625f, 0.25f}, {0.5f, 0.75f}, {2.0f, 1.5f},  {8.0f, 3.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(approxSqrt(c.x), c.expected) << c.x;
}

TEST(ApproxSqrtTest, StaysWithinSixPercentOfTheSquareRoot) {
    for (float x = 1e-5f; x < 100.0f; x *= 1.013f) {
        const float y = approxSqrt(x);
        ASSERT_GE(y, std::sqrt(x) * 0.999f) << x;
        ASSERT_LE(y, std::sqrt(x) * 1.061f) << x;
    }
}

} // namespace
} // namespace qv
