#include "dsp/metering/RunExtremes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace qv {
namespace {

using namespace run_extremes;

// Every run length from 0 to 9 (odd lengths leave one sample to the scalar tail) and every
// position of the extreme, against plain loops.
TEST(RunExtremesTest, AgreeWithPlainLoopsForEveryLengthAndPosition) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    for (int frames = 0; frames <= 9; ++frames) {
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<double> a(frames + 1), b(frames + 1);
            std::vector<float> f(frames + 1);
            for (int i = 0; i < frames; ++i) {
                a[i] = value(rng);
                b[i] = value(rng);
                f[i] = static_cast<float>(value(rng));
            }
            const double start = trial % 2 ? 0.0 : 1.0;
            double both = start, one = start, high = start, low = start;
            float highF = static_cast<float>(start);
            for (int i = 0; i < frames; ++i) {
                both = std::max(both, std::max(std::fabs(a[i]), std::fabs(b[i])));
                one = std::max(one, std::fabs(a[i]));
                high = std::max(high, a[i]);
                low = std::min(low, a[i]);
                highF = std::max(highF, f[i]);
            }
            SCOPED_TRACE(frames);
            EXPECT_EQ(largestMagnitude(a.data(), b.data(), frames, start), both);
            EXPECT_EQ(largestMagnitude(a.data(), frames, start), one);
            bool within = false, expectedWithin = true;
            for (int i = 0; i < frames; ++i)
                expectedWithin = expectedWithin && std::fabs(a[i]) <= 1.5;
            EXPECT_EQ(largestMagnitude(a.data(), frames, start, 1.5, within), one);
            EXPECT_EQ(within, expectedWithin);
            within = !expectedWithin;
            EXPECT_EQ(largestMagnitudeSummed(a.data(), frames, start, 1.5, within), one);
            EXPECT_EQ(within, expectedWithin);
            EXPECT_EQ(largest(a.data(), frames, start), high);
            EXPECT_EQ(smallest(a.data(), frames, start), low);
            EXPECT_EQ(largest(f.data(), frames, static_cast<float>(start)), highF);
        }
    }
}

TEST(RunExtremesTest, NaNSamplesNeverReachTheResult) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double x[5] = {0.25, nan, 0.5, nan, 0.125};
    const double y[5] = {nan, 0.75, 0.0, nan, 0.0};
    EXPECT_FALSE(std::isnan(largestMagnitude(x, y, 5, 0.0)));
    EXPECT_EQ(largestMagnitude(x, 5, 0.0), 0.5);
    const double inf = std::numeric_limits<double>::infinity();
    const double z[3] = {0.5, inf, 0.25};
    for (int frames = 2; frames <= 5; ++frames) { // the NaN in the vector part and in the tail
        bool within = true, withinSummed = true;
        const double largestX = largestMagnitude(x, frames, 0.0, 1.0, within);
        EXPECT_FALSE(within) << frames;
        EXPECT_EQ(largestMagnitudeSummed(x, frames, 0.0, 1.0, withinSummed), largestX) << frames;
        EXPECT_FALSE(withinSummed) << frames;
        EXPECT_EQ(largestMagnitudeSummed(z, frames < 3 ? frames : 3, 0.0, 1.0, withinSummed), inf);
        EXPECT_FALSE(withinSummed) << frames;
    }
    EXPECT_EQ(largest(x, 5, 0.0), 0.5);
    EXPECT_EQ(smallest(x, 5, 1.0), 0.125);
}

} // namespace
} // namespace qv
