#include "dsp/dynamics/PeakHoldDetector.h"

#include "dsp/dynamics/FollowerPair.h"
#include "dsp/dynamics/LevelHistory.h"
#include "dsp/math/CoefficientMath.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace qv {
namespace {

// Feeds the detector as its owner does: the release floor comes from a level history of the
// detector's ring length.
template <class Detector> double feed(Detector& d, LevelHistory& h, double level) {
    return d.push(level, h.step(level));
}

using Attack = PeakHoldDetector::Attack;

TEST(PeakHoldDetectorTest, SpikeHoldsForRingLengthThenReleases) {
    for (int length : {32, 39}) {
        PeakHoldDetector d(length, Attack::Instant);
        LevelHistory h(length);
        d.setReleaseTime(0.05);
        const double rel = halfLife(0.05, 44100.0);
        ASSERT_EQ(d.releaseMul(), rel);
        EXPECT_EQ(feed(d, h, 1.0), 1.0);
        for (int n = 1; n <= length; ++n)
            ASSERT_EQ(feed(d, h, 0.0), 1.0) << "hold sample " << n;
        double expected = 1.0;
        for (int n = 0; n < 100; ++n) {
            expected *= rel;
            ASSERT_NEAR(feed(d, h, 0.0), expected, 1e-15) << "release sample " << n;
        }
    }
}

TEST(PeakHoldDetectorTest, ReleaseIsFlooredByTheLevelRingLengthMinusOneSamplesBack) {
    // With an immediate release (multiplier 0) the envelope after the hold is exactly the
    // level that entered L - 1 samples before the current one.
    const int length = 32;
    PeakHoldDetector d(length, Attack::Instant);
    LevelHistory h(length);
    d.setReleaseTime(0.0);
    auto level = [](int n) { return 1.0 - 0.001 * n; };
    feed(d, h, level(0) + 0.5); // peak above the ramp
    for (int n = 1; n < 300; ++n) {
        const double e = feed(d, h, level(n));
        if (n > length) {
            ASSERT_EQ(e, level(n - (length - 1))) << n;
        }
    }
}

TEST(PeakHoldDetectorTest, SettlesAtAConstantInput) {
    for (Attack kind : {Attack::Instant, Attack::Smoothed}) {
        PeakHoldDetector d(32, kind);
        LevelHistory h(32);
        d.setAttackTime(5.0);
        d.setReleaseTime(0.01);
        for (int n = 0; n < 2000; ++n)
            feed(d, h, n < 100 ? 0.9 : 0.3); // rise, then fall to a lower constant
        EXPECT_EQ(d.envelope(), 0.3);
    }
}

TEST(PeakHoldDetectorTest, SmoothedAttackClosesNinetyNinePercentInItsTime) {
    PeakHoldDetector d(32, Attack::Smoothed);
    LevelHistory h(32);
    d.setAttackTime(10.0); // 441 samples at 44.1 kHz
    double e = 0.0;
    for (int n = 0; n < 441; ++n)
        e = feed(d, h, 1.0);
    EXPECT_NEAR(e, 0.99, 1e-9);
    // Attack times below 0.01 ms are instant.
    d.setAttackTime(0.005);
    d.clear();
    EXPECT_EQ(feed(d, h, 0.7), 0.7);
}

TEST(PeakHoldDetectorTest, InstantKindIgnoresAttackTime) {
    PeakHoldDetector d(32, Attack::Instant);
    LevelHistory h(32);
    d.setAttackTime(100.0);
    EXPECT_EQ(d.attackCoef(), 0.0);
    EXPECT_EQ(feed(d, h, 0.4), 0.4);
}

TEST(PeakHoldDetectorTest, SampleRateRecomputesFromStoredTimesWithoutClearing) {
    PeakHoldDetector d(32, Attack::Smoothed);
    LevelHistory h(32);
    d.setAttackTime(3.0);
    d.setReleaseTime(0.2);
    feed(d, h, 0.5);
    const double envelope = d.envelope();
    d.setSampleRate(96000.0);
    EXPECT_EQ(d.attackCoef(), coef40(3.0, 96000.0));
    EXPECT_EQ(d.releaseMul(), halfLife(0.2, 96000.0));
    EXPECT_EQ(d.envelope(), envelope);
    d.setSampleRate(-1.0);
    d.setSampleRate(NAN);
    EXPECT_EQ(d.releaseMul(), halfLife(0.2, 96000.0));
}

TEST(PeakHoldDetectorTest, ClearKeepsCoefficients) {
    PeakHoldDetector d(32, Attack::Instant);
    LevelHistory h(32);
    d.setReleaseTime(0.1);
    feed(d, h, 0.8);
    feed(d, h, 0.1);
    d.clear();
    EXPECT_EQ(d.envelope(), 0.0);
    EXPECT_EQ(d.releaseMul(), halfLife(0.1, 44100.0));
    // After a clear the hold starts afresh: a spike holds for the full ring length again.
    feed(d, h, 1.0);
    for (int n = 0; n < 32; ++n)
        ASSERT_EQ(feed(d, h, 0.0), 1.0);
    EXPECT_LT(feed(d, h, 0.0), 1.0);
}

TEST(PeakHoldDetectorTest, LongReleaseNeverGoesSubnormal) {
    PeakHoldDetector d(32, Attack::Instant);
    LevelHistory h(32);
    d.setReleaseTime(0.00001); // multiplier about 0.2 per sample
    feed(d, h, 1.0);
    for (int n = 0; n < 2000; ++n) {
        const double e = feed(d, h, 0.0);
        ASSERT_TRUE(e == 0.0 || std::fpclassify(e) == FP_NORMAL) << n;
    }
    EXPECT_EQ(d.envelope(), 0.0);
    // The same release in one run of frames (where the x87 build flushes once, at its end)
    // leaves the stored envelope at 0 too.
    PeakHoldDetector run(32, Attack::Instant), unused(32, Attack::Instant);
    run.setReleaseTime(0.00001);
    LevelHistory history(32);
    std::vector<double> levels(2000, 0.0);
    levels[0] = 1.0;
    runFollowerPair(history, run, unused, GivenLevels{levels.data()}, levels.data(), 2000,
                    [](double level) { return level; });
    EXPECT_EQ(run.envelope(), 0.0);
}

} // namespace
} // namespace qv
