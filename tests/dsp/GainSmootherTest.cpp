#include "dsp/GainSmoother.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

double f(double u) {
    return (0.4 * u + 0.6) * u;
}

TEST(GainSmootherTest, StepResponseFollowsTheKernelCurve) {
    GainSmoother s;
    for (int n = 0; n < 40; ++n)
        s.push(1.0);
    EXPECT_NEAR(s.output(), 1.0, 1e-15);
    for (int m = 1; m <= 40; ++m) {
        const double y = s.push(0.5);
        const double u = m >= 32 ? 1.0 : m / 32.0;
        ASSERT_NEAR(y, 1.0 - 0.5 * f(u), 1e-14) << m;
    }
}

TEST(GainSmootherTest, ConstantGainPassesUnchanged) {
    GainSmoother s;
    for (double g : {0.25, 1.0, 1.7}) {
        for (int n = 0; n < 32; ++n)
            s.push(g);
        EXPECT_NEAR(s.output(), g, 1e-14);
    }
}

TEST(GainSmootherTest, ResetLeavesUnitPartialSums) {
    GainSmoother s;
    for (int n = 0; n < 50; ++n)
        s.push(0.3);
    s.reset();
    EXPECT_EQ(s.output(), 0.0);
    // After a reset, m steps of a unit gain give 1 + f(m / 32) until the 1.0 sums are used up.
    for (int m = 1; m <= 31; ++m)
        ASSERT_NEAR(s.push(1.0), 1.0 + f(m / 32.0), 1e-14) << m;
    EXPECT_NEAR(s.push(1.0), 1.0, 1e-14);
}

TEST(GainSmootherTest, KernelIsNonNegativeAndRising) {
    GainSmoother s;
    double sum = 0.0;
    for (int j = 0; j < GainSmoother::kTaps; ++j) {
        sum += s.kernel(j);
        if (j > 0) { // newest samples weigh least
            EXPECT_LT(s.kernel(j - 1), s.kernel(j));
        }
    }
    EXPECT_NEAR(sum, 1.0, 1e-15);
}

} // namespace
} // namespace qv
