#include "dsp/limiter/LimiterGainSmoother.h"
#include "tests/dsp/limiter/SameSample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace qv {
namespace {

TEST(LimiterGainSmootherTest, ShapeSelection) {
    const struct {
        float value;
        int shape;
    } cases[] = {{0.0f, 1},  {0.19f, 1}, {0.2f, 2}, {0.39f, 2}, {0.4f, 3}, {0.6f, 4},
                 {0.79f, 4}, {0.8f, 5},  {1.0f, 5}, {-1.0f, 1}, {7.0f, 5}};
    for (const auto& c : cases) {
        LimiterGainSmoother s;
        s.setClipShape(c.value);
        EXPECT_EQ(s.shape(), c.shape) << c.value;
    }
}

TEST(LimiterGainSmootherTest, KernelsSumToOneAndCurvedOnesRise) {
    LimiterGainSmoother s;
    for (int shape = 1; shape <= 5; ++shape) {
        double sum = 0.0;
        for (int j = 0; j < LimiterGainSmoother::kTaps; ++j)
            sum += s.kernel(shape, j);
        EXPECT_NEAR(sum, 1.0, 1e-14) << shape;
        if (shape < 5) {
            EXPECT_LT(s.kernel(shape, 0), s.kernel(shape, 39));
        }
    }
    for (int j = 0; j < 40; ++j)
        EXPECT_EQ(s.kernel(5, j), 0.025);
}

TEST(LimiterGainSmootherTest, FallingGainReactsMostInItsFirstSample) {
    for (float clip : {0.0f, 0.5f, 1.0f}) {
        LimiterGainSmoother s;
        s.setClipShape(clip);
        const int shape = s.shape();
        // From rest (history 1.0) a target of 0.5: the reversed kernel puts its largest entry
        // on the new target.
        EXPECT_NEAR(s.push(0.5), 1.0 - 0.5 * s.kernel(shape, 39), 1e-15);
        for (int n = 1; n < 39; ++n)
            s.push(0.5);
        EXPECT_NEAR(s.push(0.5), 0.5, 1e-14); // full depth on the 40th sample
    }
}

TEST(LimiterGainSmootherTest, DirectionChangeContinuesFromLastOutput) {
    LimiterGainSmoother s;
    s.setClipShape(0.0f);
    double last = 1.0;
    for (int n = 0; n < 10; ++n)
        last = s.push(0.3);
    // Rising again: the history restarts at the last output, the forward kernel's smallest
    // entry takes the new target.
    const double y = s.push(0.9);
    EXPECT_NEAR(y, last + s.kernel(1, 0) * (0.9 - last), 1e-14);
    // Falling again restarts from that output with the reversed kernel.
    const double z = s.push(0.2);
    EXPECT_NEAR(z, y + s.kernel(1, 39) * (0.2 - y), 1e-14);
}

TEST(LimiterGainSmootherTest, UnityRunReturnsExactlyOne) {
    LimiterGainSmoother s;
    s.setClipShape(0.0f);
    for (int n = 0; n < 20; ++n)
        s.push(0.5);
    double y = 0.0;
    for (int n = 1; n <= 41; ++n) {
        y = s.push(1.0);
        if (n <= 40) {
            EXPECT_LT(y, 1.0 + 1e-15) << n;
        }
    }
    EXPECT_EQ(y, 1.0);
    // A very long unity run does not disturb the count; the next reduction starts at once.
    for (int n = 0; n < 3000000; ++n)
        s.push(1.0);
    EXPECT_LT(s.push(0.5), 1.0);
}

TEST(LimiterGainSmootherTest, LongRunsStayOnTheDirectKernelSum) {
    // The running sums must not drift. Within one direction the output is the kernel (forward
    // or reversed) over the target and the history since the last change of direction, whose
    // older entries hold the output at that change.
    for (float clip : {0.0f, 0.5f, 0.9f}) {
        LimiterGainSmoother s;
        s.setClipShape(clip);
        const int shape = s.shape();
        std::mt19937 rng(9);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::vector<double> history(LimiterGainSmoother::kHistory, 1.0); // h0 first
        double last = 1.0;
        bool falling = false;
        double target = 0.5;
        for (int n = 0; n < 200000; ++n) {
            // Long falling and rising runs, below unity so every target is smoothed.
            target = (n / 3000) % 2 ? std::min(0.99, target + 0.01 * unit(rng))
                                    : std::max(0.05, target - 0.01 * unit(rng));
            const bool nowFalling = !(last < target);
            if (nowFalling != falling) {
                history.assign(history.size(), last);
                falling = nowFalling;
            }
            double direct = 0.0;
            for (int j = 0; j < LimiterGainSmoother::kTaps; ++j) {
                const double v = j == 0 ? target : history[j - 1];
                direct += s.kernel(shape, falling ? LimiterGainSmoother::kTaps - 1 - j : j) * v;
            }
            history.insert(history.begin(), target);
            history.pop_back();
            last = s.push(target);
            ASSERT_NEAR(last, direct, 1e-13) << n;
        }
    }
}

TEST(LimiterGainSmootherTest, ResetsRestoreRestState) {
    LimiterGainSmoother s;
    for (int n = 0; n < 20; ++n)
        s.push(0.5);
    s.reset();
    EXPECT_EQ(s.lastOutput(), 1.0);
    EXPECT_NEAR(s.push(1.0), 1.0, 1e-15);
    s.fullReset();
    EXPECT_NEAR(s.push(0.5), 1.0 - 0.5 * s.kernel(s.shape(), 39), 1e-15);
}

// The block form over runs of assorted lengths equals push target by target, bit for bit,
// through direction changes, long unity runs (the saturated count) and the exact
// recomputations of the sums.
TEST(LimiterGainSmootherTest, BlockFormMatchesPush) {
    for (float clip : {0.0f, 0.3f, 0.9f}) {
        LimiterGainSmoother pushed, block;
        pushed.setClipShape(clip);
        block.setClipShape(clip);
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::vector<double> targets(20000);
        for (size_t n = 0; n < targets.size(); ++n) {
            const int phase = static_cast<int>(n / 700) % 4;
            targets[n] = phase == 0   ? 1.0                      // unity, then above 40
                         : phase == 1 ? 0.2 + 0.8 * unit(rng)    // jumping both ways
                         : phase == 2 ? 1.0 - 0.001 * (n % 700)  // falling
                                      : 0.3 + 0.001 * (n % 700); // rising
        }
        const int runs[] = {1, 3, 64, 39, 40, 41, 7, 200};
        size_t n = 0;
        for (int r = 0; n < targets.size(); ++r) {
            const size_t frames = std::min<size_t>(runs[r % 8], targets.size() - n);
            std::vector<double> expected(frames), gains(frames);
            for (size_t i = 0; i < frames; ++i)
                expected[i] = pushed.push(targets[n + i]);
            block.process(&targets[n], gains.data(), static_cast<int>(frames));
            for (size_t i = 0; i < frames; ++i)
                ASSERT_TRUE(sameSample(gains[i], expected[i]))
                    << "clip " << clip << ", frame " << n + i << ": " << gains[i] << " vs "
                    << expected[i];
            ASSERT_TRUE(sameSample(block.lastOutput(), pushed.lastOutput()));
            n += frames;
        }
    }
}

} // namespace
} // namespace qv
