#include "dsp/dynamics/RmsWindow.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace qv {
namespace {

TEST(RmsWindowTest, MeanSquareOfTheLastNSamples) {
    RmsWindow w;
    ASSERT_TRUE(w.setLength(100));
    EXPECT_FLOAT_EQ(w.scale(), 0.01f);
    // Ramp-up: the mean grows by x^2 / N per sample until the window is full.
    for (int n = 1; n <= 100; ++n)
        ASSERT_NEAR(w.push(0.5f), 0.25f * n / 100.0f, 1e-6f) << n;
    for (int n = 0; n < 50; ++n)
        ASSERT_NEAR(w.push(0.5f), 0.25f, 1e-6f);
    // After a change the old samples leave one by one: 30 samples of 1.0 replace 30 of 0.25.
    float mean = 0.0f;
    for (int n = 0; n < 30; ++n)
        mean = w.push(1.0f);
    EXPECT_NEAR(mean, (70 * 0.25f + 30 * 1.0f) / 100.0f, 1e-6f);
}

TEST(RmsWindowTest, QuietMeansReadZeroAndSilenceEmptiesTheWindow) {
    RmsWindow w;
    w.setLength(10);
    EXPECT_EQ(w.push(0.003f), 0.0f); // 9e-6 / 10 is below 1e-5
    for (int n = 0; n < 10; ++n)
        w.push(1.0f);
    float mean = 1.0f;
    for (int n = 0; n < 10; ++n)
        mean = w.push(0.0f);
    EXPECT_EQ(mean, 0.0f);
}

TEST(RmsWindowTest, LengthIsBoundedAndOneWorks) {
    RmsWindow w;
    w.setLength(0);
    EXPECT_EQ(w.length(), 1);
    EXPECT_FLOAT_EQ(w.push(0.5f), 0.25f);
    EXPECT_FLOAT_EQ(w.push(0.1f), 0.01f); // only the newest sample counts
    w.setLength(-7);
    EXPECT_EQ(w.length(), 1);
    w.setLength(RmsWindow::kMaxLength + 1000);
    EXPECT_EQ(w.length(), RmsWindow::kMaxLength);
}

TEST(RmsWindowTest, HugeOrInvalidSamplesCannotPoisonTheSum) {
    RmsWindow w;
    w.setLength(50);
    const float bad[] = {3.0e38f, -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), 1.0e30f};
    for (float x : bad)
        EXPECT_TRUE(std::isfinite(w.push(x))) << x;
    float mean = 0.0f;
    for (int n = 0; n < 200; ++n)
        mean = w.push(0.5f);
    EXPECT_NEAR(mean, 0.25f, 0.25f * 1e-3f) << "no residue once they have left";
}

TEST(RmsWindowTest, LoudPassageLeavesNoResidue) {
    // A running float sum keeps the rounding error of its largest terms; the window re-sums
    // itself every turn, so after a loud passage it reads true quiet values again.
    RmsWindow w;
    w.setLength(2205);
    for (int n = 0; n < 5000; ++n)
        w.push(n % 3 ? 900.0f : -700.0f);
    float mean = 0.0f;
    for (int n = 0; n < 5000; ++n)
        mean = w.push(n % 2 ? 0.01f : -0.01f);
    EXPECT_NEAR(mean, 1e-4f, 1e-9f);
}

TEST(RmsWindowTest, ClearEmptiesRingAndSum) {
    RmsWindow w;
    w.setLength(20);
    for (int n = 0; n < 15; ++n)
        w.push(0.9f);
    w.clear();
    EXPECT_NEAR(w.push(0.5f), 0.25f / 20.0f, 1e-7f);
}

// Two windows through the pair loop give the largest mean squares, and leave the state, of two
// windows run one by one: runs of every length up to past a turn, with bounded and unbounded
// samples (the latter take the one-by-one path).
TEST(RmsWindowTest, PairLoopMatchesTwoWindows) {
    RmsWindow pairL, pairR, oneL, oneR;
    for (RmsWindow* w : {&pairL, &pairR, &oneL, &oneR})
        ASSERT_TRUE(w->setLength(7));
    std::vector<double> left(20), right(20);
    for (int round = 0; round < 30; ++round) {
        const int frames = round % 20;
        for (int i = 0; i < frames; ++i) {
            left[i] = std::sin(0.7 * (round * 20 + i));
            right[i] = round == 11 && i == 3 ? 1e9 : 0.5 * std::cos(0.3 * (round + i));
        }
        const bool within = round != 11;
        float pairedL, pairedR;
        RmsWindow::processLargestPair(pairL, pairR, left.data(), right.data(), frames, within,
                                      pairedL, pairedR);
        ASSERT_EQ(pairedL, oneL.processLargest(left.data(), frames, within)) << round;
        ASSERT_EQ(pairedR, oneR.processLargest(right.data(), frames, within)) << round;
    }
    for (int n = 0; n < 9; ++n) { // the same rings and sums: the same means from here on
        ASSERT_EQ(pairL.push(0.25f), oneL.push(0.25f)) << n;
        ASSERT_EQ(pairR.push(-0.5f), oneR.push(-0.5f)) << n;
    }
}

} // namespace
} // namespace qv
