#include "params/ParameterMapping.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

float below(float x) {
    return std::nextafter(x, -kInf);
}
float above(float x) {
    return std::nextafter(x, kInf);
}

TEST(ParameterMappingTest, CrossoverDefaultsAndLimits) {
    // The default crossover positions and their frequencies (rounded to whole Hz).
    const struct {
        float x;
        int hz;
    } defaults[] = {{0.893301f, 8760}, {0.756096f, 3802}, {0.430282f, 524}, {0.112988f, 76}};
    for (const auto& d : defaults) {
        EXPECT_EQ(std::lround(crossoverHz(d.x)), d.hz) << d.x;
        EXPECT_NEAR(crossoverHundredsHz(d.x), d.hz / 100.0, 0.01) << d.x;
    }
    // Unlimited: x = 0 lies below 40 Hz and x = 1 above 16 kHz.
    EXPECT_LT(crossoverHzUnlimited(0.0f), 40.0);
    EXPECT_GT(crossoverHzUnlimited(1.0f), 16000.0);
    EXPECT_EQ(crossoverHz(0.0f), 40.0);
    EXPECT_EQ(crossoverHz(1.0f), 16000.0);
    EXPECT_EQ(crossoverHundredsHz(0.0f), 0.4f);
    EXPECT_EQ(crossoverHundredsHz(1.0f), 160.0f);
    for (float bad : {kNaN, -kInf, -5.0f, -1e30f}) {
        EXPECT_EQ(crossoverHz(bad), 40.0) << bad;
        EXPECT_EQ(crossoverHundredsHz(bad), 0.4f) << bad;
    }
    for (float big : {kInf, 7.0f, 1e30f}) {
        EXPECT_EQ(crossoverHz(big), 16000.0) << big;
        EXPECT_EQ(crossoverHundredsHz(big), 160.0f) << big;
    }
}

TEST(ParameterMappingTest, CrossoverUsesSinglePrecisionBase) {
    // 2.1 as a float is 2.0999999..., which lowers every frequency above 1 kHz slightly.
    const double exact = 1000.0 * std::pow(2.1, 8.2 * 1.0 - 4.4);
    const double single = crossoverHzUnlimited(1.0f);
    EXPECT_LT(single, exact);
    EXPECT_NEAR(single, exact, exact * 1e-6);
}

TEST(ParameterMappingTest, CrossoverIsMonotonic) {
    double previous = 0.0;
    for (int i = 0; i <= 1000; ++i) {
        const double hz = crossoverHz(i / 1000.0f);
        EXPECT_GE(hz, previous) << i;
        previous = hz;
    }
}

TEST(ParameterMappingTest, LinkAmounts) {
    const struct {
        float x;
        int amount;
        double neighbour;
        double self;
    } cases[] = {
        {0.0f, 0, 0.0, 1.0},
        {0.005f, 0, 0.0, 1.0},
        {0.009f, 0, 0.0, 1.0},
        {0.0105f, 1, 0.005, 0.99},
        // 0.01f lies just below 0.01, but its single-precision product with 100 is 1.0.
        {0.01f, 1, 0.005, 0.99},
        {0.257f, 25, 0.125, 0.75},
        {0.5f, 50, 0.25, 0.5},
        {1.0f, 100, 0.5, 0.0},
        {1.5f, 100, 0.5, 0.0},
        {-5.0f, 0, 0.0, 1.0},
        {kNaN, 0, 0.0, 1.0},
        {kInf, 100, 0.5, 0.0},
        {-kInf, 0, 0.0, 1.0},
        {1e30f, 100, 0.5, 0.0},
    };
    for (const auto& c : cases) {
        const LinkAmount link = linkAmountOf(c.x);
        EXPECT_EQ(link.amount, c.amount) << c.x;
        EXPECT_NEAR(link.neighbourWeight, c.neighbour, 1e-12) << c.x;
        EXPECT_NEAR(link.selfWeight, c.self, 1e-12) << c.x;
    }
}

TEST(ParameterMappingTest, PanelPageBoundsFromBothSides) {
    const float bounds[] = {0.142857f, 0.285714f, 0.428571f, 0.571428f, 0.714285f, 0.857142f};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(panelPageOf(below(bounds[k])), k) << k;
        EXPECT_EQ(panelPageOf(bounds[k]), k + 1) << k;
    }
    EXPECT_EQ(panelPageOf(0.0f), 0);
    EXPECT_EQ(panelPageOf(0.2f), 1); // the default, page B
    EXPECT_EQ(panelPageOf(1.0f), 6);
    EXPECT_EQ(panelPageOf(-5.0f), 0);
    EXPECT_EQ(panelPageOf(7.0f), 6);
    EXPECT_EQ(panelPageOf(kNaN), 6);

    EXPECT_FALSE(isAnalyserPageStrict(0.571428f));
    EXPECT_TRUE(isAnalyserPageStrict(above(0.571428f)));
    EXPECT_TRUE(isAnalyserPageStrict(below(0.714285f)));
    EXPECT_FALSE(isAnalyserPageStrict(0.714285f));
    EXPECT_FALSE(isAnalyserPageStrict(kNaN));
}

TEST(ParameterMappingTest, RatioNeutralZone) {
    EXPECT_TRUE(isRatioNeutral(0.5f));
    EXPECT_TRUE(isRatioNeutral(0.53f));
    EXPECT_FALSE(isRatioNeutral(0.55f));
    // Open interval with single-precision bounds.
    EXPECT_FALSE(isRatioNeutral(0.494949f));
    EXPECT_TRUE(isRatioNeutral(above(0.494949f)));
    EXPECT_TRUE(isRatioNeutral(below(0.545454f)));
    EXPECT_FALSE(isRatioNeutral(0.545454f));
    EXPECT_FALSE(isRatioNeutral(kNaN));
}

TEST(ParameterMappingTest, SwitchesAndSteps) {
    EXPECT_FALSE(switchFlag(0.5f));
    EXPECT_TRUE(switchFlag(above(0.5f)));
    EXPECT_FALSE(switchFlag(kNaN));
    EXPECT_TRUE(switchIsOn(below(0.5f)));
    EXPECT_FALSE(switchIsOn(0.5f));
    EXPECT_FALSE(switchIsOn(kNaN));

    EXPECT_EQ(qcurveDbPerOctave(0.0f), 24);
    EXPECT_EQ(qcurveDbPerOctave(0.333333f), 24);
    EXPECT_EQ(qcurveDbPerOctave(above(0.333333f)), 48);
    EXPECT_EQ(qcurveDbPerOctave(0.5f), 48);
    EXPECT_EQ(qcurveDbPerOctave(0.666666f), 48);
    EXPECT_EQ(qcurveDbPerOctave(above(0.666666f)), 96);
    EXPECT_EQ(qcurveDbPerOctave(kNaN), 24);

    const float steps[] = {0.2f, 0.4f, 0.6f, 0.8f};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(clipShapeOf(below(steps[s])), s) << s;
        EXPECT_EQ(clipShapeOf(steps[s]), s + 1) << s;
    }
    EXPECT_EQ(clipShapeOf(-1.0f), kClipShapeSoft);
    EXPECT_EQ(clipShapeOf(1.0f), kClipShapeHard);
    EXPECT_EQ(clipShapeOf(kNaN), kClipShapeHard);
}

} // namespace
} // namespace qv
