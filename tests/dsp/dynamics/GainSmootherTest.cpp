#include "dsp/dynamics/GainSmoother.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

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

TEST(GainSmootherTest, LongRunsStayOnTheDirectConvolution) {
    // The running sums must not drift: after a long random run (with stretches of exact unity),
    // the output still equals the 32-tap convolution computed directly.
    GainSmoother s;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> gain(0.05, 2.0);
    std::vector<double> g;
    for (int n = 0; n < 300000; ++n) {
        g.push_back((n / 5000) % 3 == 2 ? 1.0 : gain(rng));
        const double y = s.push(g.back());
        if (n % 50021 == 50020 || n == 299999) {
            double direct = 0.0;
            for (int j = 0; j < GainSmoother::kTaps; ++j)
                direct += s.kernel(j) * g[n - j];
            ASSERT_NEAR(y, direct, 1e-13) << n;
        }
    }
    for (int n = 0; n < 32; ++n)
        s.push(1.0);
    EXPECT_EQ(s.output(), 1.0); // unity passes exactly
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
