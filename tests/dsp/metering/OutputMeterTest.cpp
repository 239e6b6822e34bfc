#include "dsp/metering/OutputMeter.h"

#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

TEST(OutputMeterTest, PublishesPeakAndApproximateRmsAfterThePeriod) {
    OutputMeter m;
    m.setPeriod(100);
    m.setWindowLength(20);
    int published = 0;
    // Counter starts at 11: 89 frames accumulate, the 90th publishes.
    for (int n = 0; n < 89; ++n)
        published += m.push(n % 2 ? 0.5 : -0.5, n == 40 ? 2.0 : 0.25);
    EXPECT_EQ(published, 0);
    EXPECT_TRUE(m.push(0.0, 0.0));
    EXPECT_FLOAT_EQ(m.peak(0), 0.05f);
    EXPECT_FLOAT_EQ(m.peak(1), 0.2f);
    // L: mean square 0.25 -> 0.5; R: the window holding the 2.0 peaks at (19 * 0.0625 + 4) / 20
    // = 0.259375, which the approximate root maps to 0.5 + (0.259375 - 0.25).
    EXPECT_FLOAT_EQ(m.rms(0), 0.05f);
    EXPECT_NEAR(m.rms(1), 0.1f * 0.509375f, 1e-6f);
    EXPECT_EQ(m.counter(), 0);
}

TEST(OutputMeterTest, ReadingsSaturateAndSilenceReadsZero) {
    OutputMeter m;
    m.setPeriod(50);
    m.setWindowLength(10);
    m.reset(); // counter 0
    for (int n = 0; n < 50; ++n)
        m.push(40.0, 0.001); // +32 dBFS; R far below the RMS floor
    ASSERT_TRUE(m.push(0.0, 0.0));
    EXPECT_FLOAT_EQ(m.peak(0), 1.0f);           // capped at 10 times full scale
    EXPECT_NEAR(m.rms(0), 0.1f * 3.25f, 1e-6f); // approxSqrt(10)
    EXPECT_EQ(m.rms(1), 0.0f);
    EXPECT_FLOAT_EQ(m.peak(1), 0.0001f);
}

TEST(OutputMeterTest, NonFiniteFramesLeaveFiniteReadings) {
    OutputMeter m;
    m.setPeriod(30);
    m.reset();
    const double inf = std::numeric_limits<double>::infinity();
    m.push(inf, -1e300);
    m.push(std::numeric_limits<double>::quiet_NaN(), 0.0);
    for (int n = 0; n < 40; ++n)
        m.push(0.5, 0.5);
    for (int c = 0; c < 2; ++c) {
        EXPECT_LE(m.peak(c), 1.0f);
        EXPECT_LE(m.rms(c), 1.0f);
    }
}

TEST(OutputMeterTest, ResetsClearWindowsAndRestartCounters) {
    OutputMeter m;
    for (int n = 0; n < 5000; ++n)
        m.push(0.9, 0.9);
    m.reset();
    EXPECT_EQ(m.peak(0), 0.0f);
    EXPECT_EQ(m.rms(1), 0.0f);
    EXPECT_EQ(m.counter(), 0);
    m.fullReset();
    EXPECT_EQ(m.counter(), OutputMeter::kStartCount);
    EXPECT_EQ(m.window(0).length(), 2205);
}

} // namespace
} // namespace qv
