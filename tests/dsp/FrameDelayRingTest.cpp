#include "dsp/FrameDelayRing.h"

#include "dsp/DelayRing.h"

#include <gtest/gtest.h>
#include <memory>

namespace qv {
namespace {

TEST(FrameDelayRingTest, EveryValueOfAFrameIsDelayedLikeADelayRing) {
    auto ring = std::make_unique<FrameDelayRing<32, 10>>();
    auto reference = std::make_unique<DelayRing<32>[]>(10);
    for (int n = 0; n < 200; ++n) {
        double in[10], out[10];
        for (int i = 0; i < 10; ++i)
            in[i] = n * 10 + i + 1;
        if (n % 17 == 5) {
            ring->stepSilence();
            for (int i = 0; i < 10; ++i)
                reference[i].step(0.0);
            continue;
        }
        ring->step(in, out);
        for (int i = 0; i < 10; ++i)
            ASSERT_EQ(out[i], reference[i].step(in[i])) << n << " " << i;
    }
}

TEST(FrameDelayRingTest, StereoStepDelaysByLengthMinusOne) {
    FrameDelayRing<5, 2> ring;
    double l = -1, r = -1;
    for (int n = 1; n <= 12; ++n) {
        ring.step(n, -n, l, r);
        EXPECT_EQ(l, n > 4 ? n - 4 : 0.0);
        EXPECT_EQ(r, n > 4 ? -(n - 4) : 0.0);
    }
    ring.clear();
    ring.step(1.0, 1.0, l, r);
    EXPECT_EQ(l, 0.0);
}

// One ring serves several delays: frameBefore(d) after a step is the frame of d steps before,
// the same as a ring of length d + 1 would return, silent steps included.
TEST(FrameDelayRingTest, FrameBeforeReadsEveryShorterDelay) {
    FrameDelayRing<7, 2> ring;
    FrameDelayRing<4, 2> shorter; // delay 3
    for (int n = 1; n <= 30; ++n) {
        double l, r, sl, sr;
        if (n % 5 == 0) {
            ring.stepSilence();
            shorter.stepSilence();
            continue;
        }
        ring.step(n, -n, l, r);
        shorter.step(n, -n, sl, sr);
        EXPECT_EQ(ring.frameBefore(3)[0], sl) << n;
        EXPECT_EQ(ring.frameBefore(3)[1], sr) << n;
        EXPECT_EQ(ring.frameBefore(6)[0], l) << n;
        EXPECT_EQ(ring.frameBefore(0)[0], n) << n;
        // Delays outside 0..6 are limited.
        EXPECT_EQ(ring.frameBefore(-2)[0], n) << n;
        EXPECT_EQ(ring.frameBefore(99)[0], l) << n;
    }
}

// Runs of frames read at two delays and then written, against a ring stepped frame by frame;
// run lengths up to the shorter delay, so the wrap falls inside runs at every offset.
TEST(FrameDelayRingTest, RunsReadAndWriteLikeSingleSteps) {
    constexpr int kLength = 13, kShortDelay = 5;
    FrameDelayRing<kLength, 2> runs, steps;
    int frame = 0;
    for (int round = 0; round < 40; ++round) {
        const int n = round % kShortDelay + 1;
        double inL[kShortDelay], inR[kShortDelay], longL[kShortDelay], longR[kShortDelay],
            shortL[kShortDelay], shortR[kShortDelay];
        for (int k = 0; k < n; ++k) {
            inL[k] = ++frame;
            inR[k] = -frame;
        }
        runs.readRun(kLength - 1, longL, longR, n);
        runs.readRun(kShortDelay, shortL, shortR, n);
        runs.writeRun(inL, inR, n);
        for (int k = 0; k < n; ++k) {
            double l, r;
            steps.step(inL[k], inR[k], l, r);
            ASSERT_EQ(longL[k], l) << frame;
            ASSERT_EQ(longR[k], r) << frame;
            ASSERT_EQ(shortL[k], steps.frameBefore(kShortDelay)[0]) << frame;
            ASSERT_EQ(shortR[k], steps.frameBefore(kShortDelay)[1]) << frame;
        }
        if (round % 7 == 6) {
            runs.stepSilence();
            steps.stepSilence();
        }
    }
}

} // namespace
} // namespace qv
