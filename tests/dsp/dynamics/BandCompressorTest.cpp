#include "dsp/dynamics/BandCompressor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace qv {
namespace {

// "Thresh" value for a threshold in dB (-40..0).
float thresholdValue(double db) {
    return static_cast<float>((db + 40.0) / 40.0);
}

std::unique_ptr<BandCompressor> compressor(double thresholdDb, float ratio) {
    auto c = std::make_unique<BandCompressor>();
    c->setThreshold(thresholdValue(thresholdDb));
    c->setRatio(ratio);
    return c;
}

TEST(BandCompressorTest, GainComputerWorkedExamples) {
    const struct {
        double thresholdDb;
        float ratio;
        double level, gain;
    } cases[] = {
        {-20.0, 1.0f, 0.5, 0.1 / 0.5}, // ceiling at T: any level above is brought to T
        {-20.0, 1.0f, 0.2, 0.1 / 0.2},
        {-20.0, 1.0f, 3.0, 0.1 / 3.0},
        {-20.0, 0.0f, 0.5, 2.0 - 0.1 / 0.5}, // full expansion
        {-20.0, 0.5f, 0.5, 1.0},             // neutral zone
        {-20.0, 0.495f, 0.5, 1.0},
        {-20.0, 0.545f, 0.5, 1.0},
        {-20.0, 0.75f, 0.05, 1.0}, // below threshold
    };
    for (const auto& c : cases) {
        auto comp = compressor(c.thresholdDb, c.ratio);
        EXPECT_NEAR(comp->computeGain(c.level), c.gain, 1e-6) << c.ratio << " " << c.level;
    }
    // A level exactly at T is not above it.
    auto comp = compressor(-20.0, 1.0f);
    EXPECT_EQ(comp->computeGain(comp->thresholdLinear()), 1.0);
}

TEST(BandCompressorTest, NeutralZoneIsUnityForEveryLevel) {
    for (float ratio : {0.495f, 0.5f, 0.53f, 0.545f}) {
        auto comp = compressor(-30.0, ratio);
        EXPECT_EQ(comp->slope(), 0.0);
        for (double level : {0.04, 0.1, 0.5, 1.0, 4.0})
            EXPECT_NEAR(comp->computeGain(level), 1.0, 1e-12) << ratio << " " << level;
    }
}

TEST(BandCompressorTest, ExpansionSlopeAboveThreshold) {
    for (float ratio : {0.0f, 0.2f, 0.45f}) {
        auto comp = compressor(-20.0, ratio);
        const double k = 2.0 * ratio - 1.0;
        auto out = [&](double level) { return comp->computeGain(level) * level; };
        // Output amplitude is a line of slope 1 - k = 1 + |k| through (T, T).
        EXPECT_NEAR((out(0.8) - out(0.3)) / 0.5, 1.0 - k, 1e-9) << ratio;
        EXPECT_NEAR(out(0.1000001), 0.1, 1e-6);
        EXPECT_GT(comp->computeGain(0.5), 1.0);
    }
}

TEST(BandCompressorTest, CompressionLineEndsAtThresholdToTheK) {
    for (float ratio : {0.6f, 0.75f, 0.9f, 1.0f}) {
        for (double thresholdDb : {-40.0, -20.0, -6.0}) {
            auto comp = compressor(thresholdDb, ratio);
            const double t = comp->thresholdLinear();
            const double k = 2.0 * ratio - 1.0;
            auto out = [&](double level) { return comp->computeGain(level) * level; };
            EXPECT_NEAR(out(1.0), std::pow(t, k), 1e-9); // full scale -> T^k
            EXPECT_NEAR(out(t * 1.0000001), t, 1e-7);    // continuous at T
            const double mid = (t + 1.0) / 2.0;          // straight line
            EXPECT_NEAR(out(mid), (t + std::pow(t, k)) / 2.0, 1e-9);
            EXPECT_NEAR(comp->ceilingDb(), 20.0 * std::log10(t) * k, 1e-9);
            EXPECT_LE(comp->computeGain(0.9), 1.0);
        }
    }
}

TEST(BandCompressorTest, ThresholdAtTopStaysBelowOne) {
    auto comp = compressor(0.0, 1.0f);
    EXPECT_EQ(comp->thresholdLinear(), 0.999);
    EXPECT_NEAR(comp->computeGain(1.0), 0.999, 1e-12);
    EXPECT_TRUE(std::isfinite(comp->computeGain(100.0)));
}

TEST(BandCompressorTest, ThresholdFlushedToZeroGivesFiniteGains) {
    // A normalised threshold far below 0 underflows to T = 0; the gain computer must not turn
    // log10(0) into NaN gains.
    auto comp = std::make_unique<BandCompressor>();
    comp->setThreshold(-160.0f);
    EXPECT_EQ(comp->thresholdLinear(), 0.0);
    const struct {
        float ratio;
        double gain;
    } cases[] = {{1.0f, 0.0}, {0.75f, 0.0}, {0.5f, 1.0}, {0.25f, 1.5}, {0.0f, 2.0}};
    for (const auto& c : cases) {
        comp->setRatio(c.ratio);
        EXPECT_EQ(comp->computeGain(0.3), c.gain) << c.ratio;
    }
}

TEST(BandCompressorTest, LevelGains) {
    auto comp = std::make_unique<BandCompressor>();
    const struct {
        float value;
        double gain;
    } cases[] = {{0.5f, 1.0},
                 {0.502f, 1.0},
                 {1.0f, std::pow(10.0, 24.0 / 20.0)},
                 {0.25f, std::pow(10.0, (48.0 * 0.25 - 24.0) / 20.0)}};
    for (const auto& c : cases) {
        comp->setInputLevel(c.value);
        comp->setOutputLevel(c.value);
        EXPECT_NEAR(comp->inputGain(), c.gain, 1e-12 * c.gain);
        EXPECT_NEAR(comp->outputGain(), c.gain, 1e-12 * c.gain);
    }
}

TEST(BandCompressorTest, PushDetectsTheLouderChannel) {
    auto comp = compressor(-20.0, 1.0f);
    comp->setAttack(0.0f);
    comp->setAutoRelease(0.5f);
    EXPECT_NEAR(comp->push(0.05, -0.4), 0.1 / 0.4, 1e-12);
    EXPECT_EQ(compressor(-20.0, 1.0f)->push(0.05, 0.02), 1.0);
}

TEST(BandCompressorTest, SwitchesClearDetectorsAndPassUnity) {
    for (int which = 0; which < 2; ++which) {
        auto comp = compressor(-20.0, 1.0f);
        comp->setAttack(0.0f);
        for (int n = 0; n < 10; ++n)
            comp->push(0.5, 0.5);
        EXPECT_GT(comp->detector().attackSmoother().state(), 0.0);
        if (which == 0)
            comp->setBandSwitch(1.0f);
        else
            comp->setCompSwitch(1.0f);
        EXPECT_EQ(comp->push(0.9, 0.9), 1.0);
        EXPECT_EQ(comp->detector().attackSmoother().state(), 0.0);
        EXPECT_EQ(comp->detector().hardAutoPeak().envelope(), 0.0);
        EXPECT_FALSE(comp->linked());
        // Switched back on, detection starts from the cleared state.
        comp->setBandSwitch(0.0f);
        comp->setCompSwitch(0.0f);
        EXPECT_TRUE(comp->linked());
        EXPECT_NEAR(comp->push(0.2, 0.0), 0.5, 1e-12);
    }
}

TEST(BandCompressorTest, SwitchFlagsAndLinkingUseDifferentComparisons) {
    auto comp = std::make_unique<BandCompressor>();
    comp->setBandSwitch(0.5f); // not above 0.5: the compressor runs ...
    EXPECT_FALSE(comp->bandOff());
    EXPECT_FALSE(comp->linked()); // ... but not below 0.5: its gain is not linked
    comp->setRatio(0.5f);
    EXPECT_TRUE(comp->capsAtUnity());
    comp->setRatio(0.49f);
    EXPECT_FALSE(comp->capsAtUnity());
}

} // namespace
} // namespace qv
