#include "dsp/limiter/BandLimiter.h"

#include "dsp/math/CoefficientMath.h"
#include "tests/dsp/limiter/SameSample.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

std::unique_ptr<BandLimiter> limiter(float ceiling, float clip, float releaseSwitch) {
    auto l = std::make_unique<BandLimiter>();
    l->setCeiling(ceiling);
    l->setClipShape(clip);
    l->setReleaseSwitch(releaseSwitch);
    l->setAutoRelease(0.40625f);
    l->setManualRelease(0.1f);
    l->setLimiterSwitch(0.0f);
    return l;
}

// Random test signals of several kinds, as stereo pairs.
std::vector<double> makeSignal(int kind, std::mt19937& rng, int length) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> amp(0.1, 10.0); // up to +20 dBFS
    std::vector<double> s(2 * length, 0.0);
    const double a = amp(rng);
    const int period = 2 + static_cast<int>(rng() % 200);
    for (int n = 0; n < length; ++n) {
        double l = 0.0, r = 0.0;
        switch (kind) {
        case 0: // noise with random gain changes
            l = a * unit(rng) * (n % 500 < 250 ? 1.0 : 0.2);
            r = a * unit(rng);
            break;
        case 1: // single-sample spikes on silence or a low bed
            l = (rng() % 97 == 0) ? a * 2.0 * unit(rng) : 0.01 * unit(rng);
            r = (rng() % 89 == 0) ? -a : 0.0;
            break;
        case 2: // square wave with bursts
            l = ((n / period) % 2 ? a : -a) * (n % 3000 < 1500 ? 1.0 : 0.05);
            r = -l;
            break;
        default: // sine sweeping in amplitude
            l = a * std::sin(0.05 * n) * (n / static_cast<double>(length));
            r = l * 0.5;
            break;
        }
        s[2 * n] = l;
        s[2 * n + 1] = r;
    }
    return s;
}

TEST(BandLimiterTest, OutputNeverExceedsTheCeilingBound) {
    std::mt19937 rng(2024);
    const float ceilings[] = {0.0f, 0.5f, 0.998f, 1.0f};
    const float clips[] = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f};
    int signals = 0;
    for (float ceiling : ceilings) {
        for (float clip : clips) {
            for (float releaseSwitch : {0.0f, 1.0f}) {
                auto l = limiter(ceiling, clip, releaseSwitch);
                const double bound = BandLimiter::kClipLevel * l->ceiling();
                for (int trial = 0; trial < 60; ++trial, ++signals) {
                    const std::vector<double> s = makeSignal(trial % 4, rng, 2000);
                    for (size_t n = 0; n < s.size() / 2; ++n) {
                        double outL, outR;
                        l->limit(s[2 * n], s[2 * n + 1], outL, outR);
                        ASSERT_LE(std::fabs(outL), bound);
                        ASSERT_LE(std::fabs(outR), bound);
                    }
                }
            }
        }
    }
    EXPECT_GE(signals, 2000);
}

TEST(BandLimiterTest, ReductionIsInPlaceBeforeThePeakIsOutput) {
    // A 2.0 spike inside a burst of 1.0 after silence: the samples just before the spike are
    // already turned down (look-ahead), not merely clipped at 0.999999.
    for (float clip : {0.0f, 0.4f, 1.0f}) {
        auto l = limiter(1.0f, clip, 0.0f);
        std::vector<double> out;
        for (int n = 0; n < 300; ++n) {
            const double x = n < 100 ? 0.0 : (n == 200 ? 2.0 : 1.0);
            double outL, outR;
            l->limit(x, 0.0, outL, outR);
            out.push_back(outL);
        }
        const int spikeOut = 200 + BandLimiter::kLookahead;
        EXPECT_NEAR(out[spikeOut], BandLimiter::kClipLevel, 1e-9) << clip;
        EXPECT_LT(out[spikeOut - 1], 0.6) << clip;
        EXPECT_GT(out[spikeOut - 1], 0.45) << clip;
    }
}

TEST(BandLimiterTest, LatencyIs39OnAndOff) {
    for (float limiterSwitch : {0.0f, 1.0f}) {
        auto l = limiter(1.0f, 1.0f, 0.0f);
        l->setLimiterSwitch(limiterSwitch);
        for (int n = 0; n < 100; ++n) {
            double outL, outR;
            l->limit(n == 10 ? 0.5 : 0.0, n == 10 ? -0.25 : 0.0, outL, outR);
            ASSERT_EQ(outL, n == 49 ? 0.5 : 0.0) << n;
            ASSERT_EQ(outR, n == 49 ? -0.25 : 0.0) << n;
        }
    }
}

TEST(BandLimiterTest, QuietSignalIsOnlyDelayedAndScaledByTheCeiling) {
    for (float ceiling : {0.0f, 0.999f}) {
        auto l = limiter(ceiling, 0.0f, 0.0f);
        const double c = ceiling == 0.0f ? std::pow(10.0, -6.0 / 20.0) : 1.0;
        for (int n = 0; n < 200; ++n) {
            double outL, outR;
            l->limit(0.5, -0.5, outL, outR);
            if (n >= 39) {
                ASSERT_EQ(outL, 0.5 * c);
                ASSERT_EQ(outR, -0.5 * c);
            }
        }
    }
}

TEST(BandLimiterTest, SwitchedOffPassesValuesAboveFullScale) {
    auto l = limiter(0.0f, 1.0f, 0.0f);
    l->setLimiterSwitch(0.5f); // 0.5 or more is off
    EXPECT_FALSE(l->running());
    double outL = 0.0, outR = 0.0;
    for (int n = 0; n < 40; ++n)
        l->limit(3.0, -4.0, outL, outR);
    EXPECT_EQ(outL, 3.0);
    EXPECT_EQ(outR, -4.0);
}

TEST(BandLimiterTest, SwitchingOffResetsOnce) {
    auto l = limiter(1.0f, 1.0f, 1.0f); // manual release, slow
    l->setManualRelease(1.0f);
    double outL, outR;
    for (int n = 0; n < 200; ++n)
        l->limit(4.0, 4.0, outL, outR);
    EXPECT_LT(l->smoother().lastOutput(), 0.5);
    l->setLimiterSwitch(1.0f);
    l->limit(0.0, 0.0, outL, outR);
    EXPECT_EQ(l->smoother().lastOutput(), 1.0);
}

TEST(BandLimiterTest, ReleaseSwitchSelectsTheFollowerPair) {
    // 100 samples at +12 dBFS, then 0.5. The auto pair's rise follower climbed during the loud
    // passage and releases over 0.5 s, so 0.1 s later the gain is still down; the manual pair
    // with the shortest release (its rise follower releases over 0.05 s) has recovered.
    double recovered[2];
    for (int mode = 0; mode < 2; ++mode) {
        auto l = limiter(1.0f, 1.0f, mode == 0 ? 0.0f : 1.0f);
        l->setManualRelease(0.0f);
        double outL = 0.0, outR = 0.0;
        for (int n = 0; n < 4410; ++n)
            l->limit(n < 100 ? 4.0 : 0.5, 0.0, outL, outR);
        recovered[mode] = outL;
    }
    EXPECT_LT(recovered[0], 0.4);
    EXPECT_NEAR(recovered[1], 0.5, 1e-6);
}

TEST(BandLimiterTest, NanSampleLeavesNoLastingDamage) {
    auto l = limiter(1.0f, 0.0f, 0.0f);
    double outL, outR;
    for (int n = 0; n < 200; ++n) {
        l->limit(n == 5 ? NAN : 0.5, 0.5, outL, outR);
        ASSERT_TRUE(std::isfinite(outL) && std::isfinite(outR)) << n;
    }
    EXPECT_NEAR(outL, 0.5, 1e-12);
}

TEST(BandLimiterTest, SampleRateChangeRescalesReleaseTimes) {
    // The same one-second manual release spans twice as many samples at twice the rate, so
    // the gain is further from recovery after a fixed number of samples.
    double recovered[2];
    const double rates[2] = {44100.0, 88200.0};
    for (int i = 0; i < 2; ++i) {
        auto l = limiter(1.0f, 1.0f, 1.0f);
        l->setManualRelease(1.0f);
        l->setSampleRate(rates[i]);
        l->setSampleRate(-5.0); // ignored
        double outL = 0.0, outR = 0.0;
        for (int n = 0; n < 20000; ++n)
            l->limit(n < 100 ? 4.0 : 0.5, 0.0, outL, outR);
        recovered[i] = outL;
    }
    // The held peak (4.0) has decayed by 0.5 per second since the hold ended (the look-ahead
    // and the hold are 39 samples each); the output is 0.5 times the gain 0.999999 / peak.
    for (int i = 0; i < 2; ++i) {
        const double released = (20000 - 100 - 39 - 39) / rates[i];
        const double gain = 0.999999 / (4.0 * std::pow(0.5, released));
        EXPECT_NEAR(recovered[i], 0.5 * gain, 0.005) << rates[i];
    }
}

// Non-finite mixes leave the limiter as bounded output: a NaN sample comes out as silence and
// an infinite one at most at the clip level, on both channels.
TEST(BandLimiterTest, NonFiniteMixesComeOutBounded) {
    auto l = limiter(0.9f, 1.0f, 0.0f);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double bound = BandLimiter::kClipLevel * l->ceiling();
    double outL = 0.0, outR = 0.0;
    for (int n = 0; n < 200; ++n) {
        const double inL = n == 10 ? nan : (n == 20 ? inf : 0.25);
        const double inR = n == 10 ? -inf : (n == 20 ? nan : -0.25);
        l->limit(inL, inR, outL, outR);
        ASSERT_TRUE(std::isfinite(outL) && std::isfinite(outR)) << n;
        ASSERT_LE(std::fabs(outL), bound) << n;
        ASSERT_LE(std::fabs(outR), bound) << n;
        if (n == 10 + BandLimiter::kLookahead) {
            EXPECT_EQ(outL, 0.0);
        }
        if (n == 20 + BandLimiter::kLookahead) {
            EXPECT_EQ(outR, 0.0);
        }
    }
}

// The reset on switching off is re-armed by every run of the limiter, however the frames come.
TEST(BandLimiterTest, SwitchingOffAgainResetsAgain) {
    auto l = limiter(1.0f, 1.0f, 0.0f);
    std::vector<double> left(200), right(200);
    for (int round = 0; round < 2; ++round) {
        l->setLimiterSwitch(0.0f);
        left.assign(200, 4.0);
        right.assign(200, -4.0);
        l->process(left.data(), right.data(), round == 0 ? 200 : 1);
        EXPECT_LT(l->smoother().lastOutput(), 1.0) << round;
        l->setLimiterSwitch(1.0f);
        l->process(left.data(), right.data(), 3);
        EXPECT_EQ(l->smoother().lastOutput(), 1.0) << round;
    }
}

// Products in the subnormal range leave as exact zeros (the flush); the smallest normal numbers
// pass. Switched off the limiter only delays, so there nothing is flushed.
TEST(BandLimiterTest, SubnormalProductsLeaveAsZero) {
    const double subnormal = 1e-310, normal = 1e-300;
    const struct {
        float limiterSwitch;
        double in, out;
    } cases[] = {
        {0.0f, subnormal, 0.0},   {0.0f, -subnormal, 0.0},      {0.0f, normal, normal},
        {0.0f, -normal, -normal}, {1.0f, subnormal, subnormal},
    };
    for (const auto& c : cases) {
        auto l = limiter(1.0f, 0.0f, 0.0f);
        l->setLimiterSwitch(c.limiterSwitch);
        std::vector<double> left(100, c.in), right(100, 0.0);
        l->process(left.data(), right.data(), 100);
        for (int n = BandLimiter::kLookahead; n < 100; ++n) {
            ASSERT_EQ(left[n], c.out) << c.in << " " << c.limiterSwitch;
            ASSERT_EQ(std::signbit(left[n]), std::signbit(c.out)) << c.in;
        }
    }
}

// The block form against frame-by-frame limit, bit for bit, over loud random input cut into
// runs of varied length, for the settings that change its path and with changes between runs.
struct Change {
    enum What { LimiterSwitch, ReleaseSwitch, ClipShape, Silence, Reset, FullReset };
    int frame; // applied before this frame
    What what;
    float value;
};

void apply(const Change& c, BandLimiter& l) {
    switch (c.what) {
    case Change::LimiterSwitch:
        l.setLimiterSwitch(c.value);
        break;
    case Change::ReleaseSwitch:
        l.setReleaseSwitch(c.value);
        break;
    case Change::ClipShape:
        l.setClipShape(c.value);
        break;
    case Change::Silence:
        l.pushSilence();
        break;
    case Change::Reset:
        l.reset();
        break;
    case Change::FullReset:
        l.fullReset();
        break;
    }
}

// Noise in bursts from -26 dB to +18 dB, with stretches just below the clip level, of products
// that fall into the subnormal range, and (withNonFinite) NaN and infinite samples.
std::vector<double> loudNoise(std::mt19937& rng, int frames, bool withNonFinite) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> s(2 * frames);
    double amplitude = 1.0;
    for (int n = 0; n < frames; ++n) {
        if (n % 150 == 0) amplitude = std::pow(10.0, (44.0 * (unit(rng) + 1.0) / 2.0 - 26.0) / 20);
        for (int ch = 0; ch < 2; ++ch) {
            double x = amplitude * unit(rng);
            if (n % 1000 >= 900) // within 2e-6 below the clip level, either sign
                x = (unit(rng) < 0.0 ? -1.0 : 1.0) *
                    (BandLimiter::kClipLevel - 1e-6 * (unit(rng) + 1.0));
            if (n % 1000 >= 960) x = 1e-300 * unit(rng) * std::pow(1e-8, n % 3); // tiny
            if (withNonFinite && rng() % 400 == 0)
                x = rng() % 2 ? std::numeric_limits<double>::quiet_NaN()
                              : -std::numeric_limits<double>::infinity();
            s[2 * n + ch] = x;
        }
    }
    return s;
}

TEST(BandLimiterTest, BlockFormMatchesFrameByFrame) {
    using C = Change;
    const struct {
        const char* name;
        float limiterSwitch, releaseSwitch, clip, ceiling;
        bool nonFinite;
        std::vector<Change> changes;
    } cases[] = {
        {"auto release", 0.0f, 0.0f, 0.0f, 0.998f, false, {}},
        {"manual release", 0.0f, 1.0f, 0.5f, 1.0f, false, {}},
        {"flat kernel, low ceiling", 0.0f, 0.0f, 1.0f, 0.3f, false, {}},
        {"switched off", 1.0f, 0.0f, 0.0f, 1.0f, false, {}},
        {"switched off and on",
         0.0f,
         0.0f,
         0.3f,
         1.0f,
         false,
         {{1500, C::LimiterSwitch, 1.0f},
          {2600, C::LimiterSwitch, 0.0f},
          {3300, C::LimiterSwitch, 0.7f},
          {3301, C::LimiterSwitch, 0.2f}}},
        {"release and clip switched",
         0.0f,
         0.0f,
         0.0f,
         0.998f,
         false,
         {{1200, C::ReleaseSwitch, 1.0f},
          {2100, C::ClipShape, 0.9f},
          {3000, C::ReleaseSwitch, 0.0f},
          {3001, C::ClipShape, 0.45f}}},
        {"gated frames and resets",
         0.0f,
         1.0f,
         0.7f,
         1.0f,
         false,
         {{700, C::Silence, 0.0f},
          {701, C::Silence, 0.0f},
          {1700, C::Reset, 0.0f},
          {2500, C::LimiterSwitch, 1.0f},
          {2501, C::Silence, 0.0f},
          {2900, C::FullReset, 0.0f},
          {2950, C::LimiterSwitch, 0.0f}}},
        {"non-finite input", 0.0f, 0.0f, 0.2f, 0.9f, true, {}},
    };
    const int runLengths[] = {1, 3, 64, 65, 17, 200, 2, 128, 39, 40};
    const int frames = 4000;
    std::mt19937 rng(77);
    for (const auto& c : cases) {
        auto block = limiter(c.ceiling, c.clip, c.releaseSwitch);
        auto framed = limiter(c.ceiling, c.clip, c.releaseSwitch);
        block->setLimiterSwitch(c.limiterSwitch);
        framed->setLimiterSwitch(c.limiterSwitch);
        const std::vector<double> in = loudNoise(rng, frames, c.nonFinite);
        std::vector<double> left(frames), right(frames);
        for (int n = 0; n < frames; ++n) {
            left[n] = in[2 * n];
            right[n] = in[2 * n + 1];
        }
        size_t nextChange = 0;
        int runs = 0;
        for (int n = 0; n < frames; ++runs) {
            while (nextChange < c.changes.size() && c.changes[nextChange].frame == n) {
                apply(c.changes[nextChange], *block);
                apply(c.changes[nextChange], *framed);
                ++nextChange;
            }
            // A run ends at the next change.
            int length = runLengths[runs % 10];
            if (nextChange < c.changes.size() && c.changes[nextChange].frame - n < length)
                length = c.changes[nextChange].frame - n;
            if (length > frames - n) length = frames - n;
            block->process(&left[n], &right[n], length);
            for (int k = n; k < n + length; ++k) {
                double outL, outR;
                framed->limit(in[2 * k], in[2 * k + 1], outL, outR);
                ASSERT_TRUE(sameSample(outL, left[k]))
                    << c.name << ", frame " << k << ": " << outL << " vs " << left[k];
                ASSERT_TRUE(sameSample(outR, right[k]))
                    << c.name << ", frame " << k << ": " << outR << " vs " << right[k];
            }
            n += length;
        }
        EXPECT_EQ(nextChange, c.changes.size()) << c.name;
        EXPECT_TRUE(sameSample(block->smoother().lastOutput(), framed->smoother().lastOutput()))
            << c.name;
    }
}

} // namespace
} // namespace qv
