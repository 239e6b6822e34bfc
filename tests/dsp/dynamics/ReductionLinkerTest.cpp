#include "dsp/dynamics/ReductionLinker.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace qv {
namespace {

// Where doubles live on the x87 unit (the 32-bit builds), the linker's assembly loops and the
// compiled reference keep intermediates wider at different points: they agree to rounding.
#if defined(__i386__) && !defined(__SSE2_MATH__)
const double kRounding = 1e-14;
#else
const double kRounding = 0.0;
#endif

const bool kAllLinked[5] = {true, true, true, true, true};
const bool kNoCap[5] = {false, false, false, false, false};

TEST(ReductionLinkerTest, LinkAmountsAndWeights) {
    const struct {
        float value;
        int amount;
        double neighbour, self;
    } cases[] = {
        {0.0f, 0, 0.0, 1.0},       {0.005f, 0, 0.0, 1.0},     {0.009f, 0, 0.0, 1.0},
        {0.0105f, 1, 0.005, 0.99}, {0.257f, 25, 0.125, 0.75}, {0.5f, 50, 0.25, 0.5},
        {1.0f, 100, 0.5, 0.0},     {3.0f, 100, 0.5, 0.0},     {-1.0f, 0, 0.0, 1.0},
        {NAN, 0, 0.0, 1.0},
    };
    for (const auto& c : cases) {
        ReductionLinker linker;
        linker.setLink(2, c.value);
        EXPECT_EQ(linker.linkAmount(2), c.amount) << c.value;
        EXPECT_DOUBLE_EQ(linker.neighbourWeight(2), c.neighbour) << c.value;
        EXPECT_DOUBLE_EQ(linker.selfWeight(2), c.self) << c.value;
    }
    ReductionLinker linker;
    linker.setLink(0, 1.0f); // ignored
    linker.setLink(5, 1.0f);
    EXPECT_EQ(linker.linkAmount(0), 0);
}

TEST(ReductionLinkerTest, LinkedGains) {
    const double g[5] = {0.2, 0.6, 1.0, 0.5, 0.8};
    const struct {
        float links[4];
        double expected[5];
    } cases[] = {
        // No links: every band keeps its own gain.
        {{0.0f, 0.0f, 0.0f, 0.0f}, {0.2, 0.6, 1.0, 0.5, 0.8}},
        // "RedLink 1-2" at 100: bands 1 and 2 both get the mean.
        {{1.0f, 0.0f, 0.0f, 0.0f}, {0.4, 0.4, 1.0, 0.5, 0.8}},
        // "RedLink 4-5" at 50: g * 0.75 + neighbour * 0.25 for bands 4 and 5.
        {{0.0f, 0.0f, 0.0f, 0.5f},
         {0.2, 0.6, 1.0, 0.5 * 0.75 + 0.8 * 0.25, 0.8 * 0.75 + 0.5 * 0.25}},
        // Band 3 linked on both sides: the mean of its two one-sided results.
        {{0.0f, 0.5f, 1.0f, 0.0f},
         {0.2, 0.6 * 0.75 + 1.0 * 0.25, ((1.0 * 0.75 + 0.6 * 0.25) + (1.0 + 0.5) / 2.0) / 2.0,
          (0.5 + 1.0) / 2.0, 0.8}},
    };
    for (const auto& c : cases) {
        ReductionLinker linker;
        for (int j = 0; j < 4; ++j)
            linker.setLink(j + 1, c.links[j]);
        for (int b = 0; b < 5; ++b)
            EXPECT_NEAR(linker.linkedGain(b, g), c.expected[b], 1e-12) << b;
    }
}

TEST(ReductionLinkerTest, SmoothedLinkedGainsSettleAndCap) {
    ReductionLinker linker;
    linker.setLink(1, 1.0f);
    const double g[5] = {0.4, 1.6, 1.0, 1.0, 1.0};
    const bool cap[5] = {true, false, true, true, true};
    double out[5];
    for (int n = 0; n < 40; ++n)
        linker.process(g, kAllLinked, cap, out);
    EXPECT_NEAR(out[0], 1.0, 1e-12); // the mean (1.0) of 0.4 and 1.6
    EXPECT_NEAR(out[1], 1.0, 1e-12);
    const double expand[5] = {1.0, 1.6, 1.0, 1.0, 1.0};
    for (int n = 0; n < 40; ++n)
        linker.process(expand, kAllLinked, cap, out);
    EXPECT_EQ(out[0], 1.0);          // "Ratio" 0.5 or more: capped at unity
    EXPECT_NEAR(out[1], 1.3, 1e-12); // expanding band may exceed unity
}

TEST(ReductionLinkerTest, StandingBandsGetUnityAndKeepTheirSmoother) {
    ReductionLinker linker;
    linker.setLink(2, 1.0f);
    const double g[5] = {1.0, 0.5, 1.0, 1.0, 1.0}; // band 3 off: its raw gain is 1.0
    const bool linked[5] = {true, true, false, true, true};
    double out[5];
    for (int n = 0; n < 40; ++n)
        linker.process(g, linked, kNoCap, out);
    EXPECT_EQ(out[2], 1.0);
    EXPECT_EQ(linker.smoother(2).output(), 0.0); // never advanced since construction
    EXPECT_NEAR(out[1], 0.75, 1e-12);            // the standing band still counts as 1.0
}

TEST(ReductionLinkerTest, ResetRestoresSmootherStartState) {
    ReductionLinker linker;
    const double g[5] = {0.5, 0.5, 0.5, 0.5, 0.5};
    double out[5];
    for (int n = 0; n < 40; ++n)
        linker.process(g, kAllLinked, kNoCap, out);
    linker.reset();
    for (int b = 0; b < 5; ++b)
        EXPECT_EQ(linker.smoother(b).output(), 0.0);
    linker.process(g, kAllLinked, kNoCap, out);
    EXPECT_GT(out[0], 1.0); // the unit partial sums after a reset
}

// Runs of many frames, with bands linked at 50 % (weights 0.25 beside, 0.125 / 0.75 / 0.125 in
// the middle, all exact), give bit for bit what one GainSmoother per band gives on the linked
// gains frame by frame: through phases where bands rest at unity, stand, are capped or not, and
// a reset, in runs of varied length.
TEST(ReductionLinkerTest, RunsEqualOneSmootherPerBand) {
    ReductionLinker linker;
    for (int k = 1; k <= 4; ++k)
        linker.setLink(k, 0.5f);
    const double upper[5] = {0.0, 0.125, 0.125, 0.125, 0.25};
    const double centre[5] = {0.75, 0.75, 0.75, 0.75, 0.75};
    const double lower[5] = {0.25, 0.125, 0.125, 0.125, 0.0};
    GainSmoother reference[5];
    const bool cap[5] = {true, false, true, true, false};
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> gain(0.2, 1.0);
    std::uniform_int_distribution<int> runLength(1, 130);
    std::vector<double> raw[5], out[5];
    for (int n = 0, phase = 0; n < 40000; ++phase) {
        const int frames = runLength(rng);
        // Phases: every band compressing; all at unity (the bands come to rest); band 3 off;
        // only bands 1 and 4 compressing (the others' linked gains leave and reach unity).
        const int kind = phase / 20 % 4;
        bool linked[5] = {true, true, kind != 2, true, true};
        for (int b = 0; b < 5; ++b) {
            raw[b].resize(frames);
            out[b].resize(frames);
            for (double& g : raw[b])
                g = kind == 1 || (kind == 3 && b != 0 && b != 3) || !linked[b] ? 1.0 : gain(rng);
        }
        const double* in[5];
        double* smoothed[5];
        for (int b = 0; b < 5; ++b) {
            in[b] = raw[b].data();
            smoothed[b] = out[b].data();
        }
        linker.process(in, linked, cap, smoothed, frames);
        for (int i = 0; i < frames; ++i, ++n) {
            for (int b = 0; b < 5; ++b) {
                if (!linked[b]) {
                    ASSERT_EQ(out[b][i], 1.0);
                    continue;
                }
                double g = centre[b] * raw[b][i];
                if (b > 0) g = upper[b] * raw[b - 1][i] + g;
                if (b < 4) g = g + lower[b] * raw[b + 1][i];
                const double y = reference[b].push(g);
                ASSERT_NEAR(out[b][i], cap[b] && y > 1.0 ? 1.0 : y, kRounding)
                    << "band " << b << " frame " << n;
            }
        }
        for (int b = 0; b < 5; ++b) // the smoothers' own (uncapped) last outputs too
            ASSERT_NEAR(linker.smoother(b).output(), reference[b].output(), kRounding)
                << "band " << b;
        if (phase == 150) {
            linker.reset();
            for (GainSmoother& s : reference)
                s.reset();
        }
    }
}

} // namespace
} // namespace qv
