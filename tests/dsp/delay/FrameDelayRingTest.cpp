#include "dsp/delay/FrameDelayRing.h"

#include <algorithm>

#include "dsp/delay/DelayRing.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

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

// Runs of frames read at two delays and then written, against a ring stepped frame by frame;
// run lengths up to the shorter delay, so the wrap falls inside runs at every offset. The
// shorter delay is read in place and checked after the run's write.
TEST(FrameDelayRingTest, RunsReadAndWriteLikeSingleSteps) {
    constexpr int kLength = 13, kShortDelay = 5;
    FrameDelayRing<kLength, 2, kShortDelay> runs, steps;
    DelayRing<kShortDelay + 1> shortLeft, shortRight; // the shorter delay, sample by sample
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
        const double* inPlaceL = runs.delayedRun(0, kShortDelay);
        const double* inPlaceR = runs.delayedRun(1, kShortDelay);
        runs.writeRun(inL, inR, n);
        std::copy(inPlaceL, inPlaceL + n, shortL);
        std::copy(inPlaceR, inPlaceR + n, shortR);
        for (int k = 0; k < n; ++k) {
            double l, r;
            steps.step(inL[k], inR[k], l, r);
            ASSERT_EQ(longL[k], l) << frame;
            ASSERT_EQ(longR[k], r) << frame;
            ASSERT_EQ(shortL[k], shortLeft.step(inL[k])) << frame;
            ASSERT_EQ(shortR[k], shortRight.step(inR[k])) << frame;
        }
        if (round % 7 == 6) {
            runs.stepSilence();
            steps.stepSilence();
            shortLeft.step(0.0);
            shortRight.step(0.0);
        }
    }
}

} // namespace
} // namespace qv
