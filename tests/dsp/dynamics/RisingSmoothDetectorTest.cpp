#include "dsp/dynamics/RisingSmoothDetector.h"

#include "dsp/math/CoefficientMath.h"
#include "dsp/dynamics/LevelHistory.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Feeds the detector as its owner does: the release floor comes from a level history of the
// detector's ring length.
template <class Detector> double feed(Detector& d, LevelHistory& h, double level) {
    return d.push(level, h.step(level));
}

using Shape = RisingSmoothDetector::RiseShape;

TEST(RisingSmoothDetectorTest, RiseTimeFormulas) {
    const struct {
        Shape shape;
        float base, q;
        double riseMs;
    } cases[] = {
        {Shape::Manual, 2.0f, 0.5f, 2.0 + 49.0},
        {Shape::ManualSoft, 2.0f, 0.5f, 2.0 * 2.0 + 49.0},
        {Shape::Auto, 2.0f, 0.5f, 2.0 + 49.0 * 0.5},
        {Shape::AutoSoft, 2.0f, 0.5f, 2.0 + (2.0 + 49.0) * 0.5},
        {Shape::Auto, 11.0f, 0.0f, 11.0}, // "Rel_a" 1.0: just the base time
        {Shape::AutoSoft, 11.0f, 0.0f, 11.0},
        {Shape::Auto, 1.0f, 1.0f, 50.0},
    };
    for (const auto& c : cases) {
        RisingSmoothDetector d(32, c.shape);
        LevelHistory h(32);
        d.setShape(c.q);
        d.setBaseTime(c.base);
        EXPECT_DOUBLE_EQ(d.riseTimeMs(), c.riseMs);
        EXPECT_DOUBLE_EQ(d.riseCoef(), coef40(c.riseMs, 44100.0));
    }
}

TEST(RisingSmoothDetectorTest, StartsInstantUntilSetAndRateChangeKeepsItSo) {
    RisingSmoothDetector d(39, Shape::Auto);
    LevelHistory h(39);
    EXPECT_EQ(d.riseCoef(), 0.0);
    EXPECT_EQ(d.releaseMul(), 0.0);
    d.setSampleRate(48000.0);
    EXPECT_EQ(d.riseCoef(), 0.0);
    EXPECT_EQ(feed(d, h, 0.6), 0.6);
}

TEST(RisingSmoothDetectorTest, RiseIsAlwaysSmoothed) {
    RisingSmoothDetector d(32, Shape::Manual);
    LevelHistory h(32);
    d.setBaseTime(1.0f); // 50 ms = 2205 samples
    const double c = d.riseCoef();
    double e = 0.0;
    for (int n = 1; n <= 2205; ++n) {
        e = feed(d, h, 1.0);
        if (n == 1) {
            EXPECT_NEAR(e, 1.0 - c, 1e-15);
        }
    }
    EXPECT_NEAR(e, 0.99, 1e-9);
}

TEST(RisingSmoothDetectorTest, HoldsThenReleasesToTheFloor) {
    RisingSmoothDetector d(32, Shape::Manual);
    LevelHistory h(32);
    d.setReleaseTime(0.05);
    for (int n = 0; n < 20000; ++n)
        feed(d, h, 0.8);
    EXPECT_NEAR(d.envelope(), 0.8, 1e-12);
    const double held = d.envelope();
    for (int n = 0; n < 32; ++n)
        ASSERT_EQ(feed(d, h, 0.2), held);
    EXPECT_NEAR(feed(d, h, 0.2), held * halfLife(0.05, 44100.0), 1e-15);
    for (int n = 0; n < 20000; ++n)
        feed(d, h, 0.2);
    EXPECT_EQ(d.envelope(), 0.2);
}

TEST(RisingSmoothDetectorTest, SampleRateRecomputesStoredTimes) {
    RisingSmoothDetector d(32, Shape::AutoSoft);
    LevelHistory h(32);
    d.setBaseTime(3.0f);
    d.setShape(0.25f);
    d.setReleaseTime(0.1);
    d.setSampleRate(22050.0);
    EXPECT_DOUBLE_EQ(d.riseCoef(), coef40(3.0 + 52.0 * 0.25, 22050.0));
    EXPECT_DOUBLE_EQ(d.releaseMul(), halfLife(0.1, 22050.0));
}

} // namespace
} // namespace qv
