#include "dsp/math/CoefficientMath.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

struct ConversionCase {
    double (*convert)(double);
    float normalised;
    double expected;
};

TEST(CoefficientMathTest, LevelThresholdAndCeilingConversions) {
    const ConversionCase cases[] = {
        // Level: the 0.1 dB unity zone is open at both ends.
        {levelToGain, 0.5f, 1.0},
        {levelToGain, 0.498f, 1.0}, // -0.096 dB
        {levelToGain, 0.502f, 1.0}, // +0.096 dB
        {levelToGain, 0.497f, std::pow(10.0, (48.0 * 0.497f - 24.0) / 20.0)},
        {levelToGain, 0.503f, std::pow(10.0, (48.0 * 0.503f - 24.0) / 20.0)},
        {levelToGain, 1.0f, std::pow(10.0, 24.0 / 20.0)},
        {levelToGain, 0.0f, std::pow(10.0, -24.0 / 20.0)},
        // Threshold: pinned to 0.999 near 0 dB so that 1 - T never vanishes.
        {thresholdToLinear, 1.0f, 0.999},
        {thresholdToLinear, 0.75f, std::pow(10.0, -10.0 / 20.0)},
        {thresholdToLinear, 0.0f, 0.01},
        // Ceiling: exactly 1.0 above -0.01 dB.
        {ceilingToLinear, 0.999f, 1.0},
        {ceilingToLinear, 0.998f, std::pow(10.0, (6.0 * 0.998f - 6.0) / 20.0)},
        {ceilingToLinear, 0.0f, std::pow(10.0, -6.0 / 20.0)},
    };
    for (const ConversionCase& c : cases)
        EXPECT_NEAR(c.convert(c.normalised), c.expected, 1e-12 * c.expected) << c.normalised;
    EXPECT_NEAR(levelToGain(0.497f), 0.98356, 1e-5);
    EXPECT_NEAR(ceilingToLinear(0.0f), 0.501187, 1e-6);
}

TEST(CoefficientMathTest, ConversionsFlushUnderflowToZero) {
    // Absurd normalised values (the parameter layer does not clamp) must not yield subnormals.
    // Each value maps to about -6300 dB, i.e. 10^-315, which is subnormal.
    EXPECT_EQ(levelToGain(-130.75), 0.0);
    EXPECT_EQ(thresholdToLinear(-156.5), 0.0);
    EXPECT_EQ(ceilingToLinear(-1049.0), 0.0);
}

TEST(CoefficientMathTest, TimeConstantsMatchWorkedValues) {
    EXPECT_NEAR(coef40(10.0, 44100.0), std::exp(std::log(0.01) / 441.0), 1e-15);
    EXPECT_NEAR(coef40(10.0, 44100.0), 0.98961, 1e-5);
    EXPECT_NEAR(halfLife(0.05, 44100.0), 0.9996857, 1e-7);
}

TEST(CoefficientMathTest, TimeConstantsMeanWhatTheirNamesSay) {
    for (double fs : {8000.0, 44100.0, 96000.0}) {
        for (double ms : {0.5, 10.0, 300.0}) {
            const double samples = ms * 0.001 * fs;
            EXPECT_NEAR(std::pow(coef40(ms, fs), samples), 0.01, 1e-9);
            EXPECT_NEAR(std::pow(halfLife(ms * 0.001, fs), samples), 0.5, 1e-9);
        }
    }
}

TEST(CoefficientMathTest, DegenerateTimesGiveInstantCoefficients) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double t : {0.0, -1.0, nan}) {
        EXPECT_EQ(coef40(t, 44100.0), 0.0);
        EXPECT_EQ(halfLife(t, 44100.0), 0.0);
        EXPECT_EQ(attackCoef40(t, 44100.0), 0.0);
    }
    EXPECT_EQ(attackCoef40(0.0099, 44100.0), 0.0);
    EXPECT_GT(attackCoef40(0.01, 44100.0), 0.0);
    // A huge rate cannot produce a coefficient above 1 (which would make a follower diverge).
    EXPECT_LE(coef40(1000.0, 1e300), 1.0);
    EXPECT_LE(halfLife(1.0, 1e300), 1.0);
}

TEST(CoefficientMathTest, ControlTimeMappings) {
    EXPECT_DOUBLE_EQ(attackTimeMs(0.0), 0.0);
    EXPECT_NEAR(attackTimeMs(0.099941f), 1.0, 2e-3);
    EXPECT_DOUBLE_EQ(attackTimeMs(1.0), 1000.0);
    EXPECT_DOUBLE_EQ(manualReleaseSeconds(0.0), 0.00001);
    EXPECT_NEAR(manualReleaseSeconds(1.0), 1.0, 1e-15);
    EXPECT_NEAR(manualReleaseSeconds(0.500189f), 0.125, 2e-4);
    EXPECT_EQ(autoReleaseShape(0.0f), 1.0f);
    EXPECT_EQ(autoReleaseShape(1.0f), 0.0f);
    EXPECT_EQ(autoReleaseShape(0.75f), 0.0625f);
    EXPECT_EQ(autoReleaseSeconds(0.4999), 0.1);
    EXPECT_EQ(autoReleaseSeconds(0.5), 0.5);
}

TEST(CoefficientMathTest, RatioSlopeNeutralZone) {
    const struct {
        float ratio;
        double slope;
    } cases[] = {
        {0.0f, -1.0}, {0.25f, -0.5}, {0.494f, 2.0 * 0.494f - 1.0}, {0.495f, 0.0}, {0.5f, 0.0},
        {0.53f, 0.0}, {0.545f, 0.0}, {0.55f, 2.0 * 0.55f - 1.0},   {1.0f, 1.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ratioSlope(c.ratio), c.slope) << c.ratio;
}

} // namespace
} // namespace qv
