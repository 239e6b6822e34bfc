#include "dsp/limiter/LimiterSmootherX87.h"
#include "dsp/limiter/BandLimiter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace qv {
namespace {

#if defined(QV_LIMITER_SMOOTHER_X87)
// The limiter's finishing step as the compiled code forms it.
double finish(LimiterGainSmoother::Run& s, double level) {
    const double clip = BandLimiter::kClipLevel;
    const double gain = s.push(level > clip ? clip / level : 1.0);
    return gain >= 1.0 ? 1.0 : gain;
}

// The assembly pass with the compiled step for the frames it leaves, over runs of `block`
// frames, against the compiled step alone: the same gains and the same state after each run,
// but for rounding (the compiled code may keep the sums wider than double a while longer).
TEST(LimiterSmootherX87Test, MatchesTheCompiledStep) {
    const double kRounding = 1e-14;
    const double clip = BandLimiter::kClipLevel;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> over(1.0, 4.0), any(0.0, 3.0);
    const struct {
        const char* name;
        int shape; // 1..5
        int block;
        std::function<double(int)> level;
    } cases[] = {
        {"held above the clip", 5, 512, [](int) { return 2.0; }},
        {"falling level: rising gain", 3, 512, [](int i) { return 4.0 * std::pow(0.999, i); }},
        {"random above the clip", 1, 100, [&](int) { return over(rng); }},
        {"random around the clip", 2, 37, [&](int) { return any(rng); }},
        {"bursts and unity runs", 4, 64,
         [](int i) { return (i / 90) % 2 ? 0.5 : 1.5 + 0.001 * (i % 7); }},
        {"single frames", 5, 1, [&](int) { return over(rng); }},
        {"non-finite levels", 1, 50,
         [=](int i) { return i % 41 == 0   ? nan
                             : i % 53 == 0 ? inf
                                           : 1.0 + (i % 13) * 0.1; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LimiterGainSmoother tested, reference;
        tested.setClipShape((c.shape - 1) * 0.2f + 0.1f);
        reference.setClipShape((c.shape - 1) * 0.2f + 0.1f);
        const LimiterSmootherX87 x87(clip);
        int assembled = 0;  // frames the assembly took: the comparison must exercise it
        double worst = 0.0; // largest difference of a gain or the last output
        for (int start = 0; start < 2000; start += c.block) {
            std::vector<double> gains(c.block), expected(c.block);
            for (int j = 0; j < c.block; ++j)
                gains[j] = expected[j] = c.level(start + j);
            LimiterGainSmoother::Run s = tested.begin();
            for (int i = 0; i < c.block; ++i) {
                const int done = x87.run(s, gains.data() + i, c.block - i);
                assembled += done;
                i += done;
                if (i < c.block) gains[i] = finish(s, gains[i]);
            }
            tested.end(s);
            LimiterGainSmoother::Run r = reference.begin();
            for (double& g : expected)
                g = finish(r, g);
            reference.end(r);
            for (int j = 0; j < c.block; ++j)
                worst = std::max(worst, std::fabs(gains[j] - expected[j]));
            worst = std::max(worst, std::fabs(tested.lastOutput() - reference.lastOutput()));
        }
        EXPECT_LE(worst, kRounding);
        EXPECT_GT(assembled, 0);
    }
}
#else
TEST(LimiterSmootherX87Test, MatchesTheCompiledStep) {
    GTEST_SKIP() << "this build has no x87 form of the limiter's smoothing";
}
#endif

} // namespace
} // namespace qv
