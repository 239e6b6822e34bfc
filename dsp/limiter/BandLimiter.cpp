#include "dsp/limiter/BandLimiter.h"

#include "dsp/delay/CopySamples.h"
#include "dsp/dynamics/FollowerPair.h"
#include "dsp/limiter/LimiterSmootherX87.h"
#include "dsp/math/CoefficientMath.h"
#include "dsp/math/FlushDenormal.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {
const double kAutoPeakReleaseSeconds = 0.0005;
const double kAutoRiseReleaseSeconds = 0.5;
const double kManualRiseReleaseSeconds = 0.05;
const float kBaseMs = 1.0f; // rise base time: 1 + 49 q (auto), 1 + 49 = 50 ms (manual)
} // namespace

using Attack = PeakHoldDetector::Attack;
using Shape = RisingSmoothDetector::RiseShape;

BandLimiter::BandLimiter()
    : autoPeak_(kLookahead, Attack::Instant), autoRise_(kLookahead, Shape::Auto),
      manualPeak_(kLookahead, Attack::Instant), manualRise_(kLookahead, Shape::Manual) {
    autoPeak_.setReleaseTime(kAutoPeakReleaseSeconds);
    autoRise_.setReleaseTime(kAutoRiseReleaseSeconds);
    manualRise_.setReleaseTime(kManualRiseReleaseSeconds);
    manualRise_.setBaseTime(kBaseMs);
    // autoRise_'s rise and manualPeak_'s release stay 0 until their parameters arrive.
}

void BandLimiter::setCeiling(float normalised) {
    ceiling_ = ceilingToLinear(normalised);
}

void BandLimiter::setClipShape(float normalised) {
    smoother_.setClipShape(normalised);
}

void BandLimiter::setAutoRelease(float normalised) {
    autoRise_.setShape(autoReleaseShape(normalised));
}

void BandLimiter::setManualRelease(float normalised) {
    manualPeak_.setReleaseTime(manualReleaseSeconds(normalised));
}

void BandLimiter::setSampleRate(double fs) {
    if (!std::isfinite(fs) || !(fs > 0.0)) return;
    autoPeak_.setSampleRate(fs);
    autoRise_.setSampleRate(fs);
    manualPeak_.setSampleRate(fs);
    manualRise_.setSampleRate(fs);
    manualRise_.setReleaseTime(kManualRiseReleaseSeconds);
    manualRise_.setBaseTime(kBaseMs);
}

namespace {
// The levels max(|L|, |R|) of a run through one follower pair side by side; their larger
// output gives the gain target kClipLevel / level (1.0 while the level is within the clip),
// which the smoother turns into the gain, capped at 1.0.
void runGains(LevelHistory& history, HeldEnvelope& peak, HeldEnvelope& rise,
              LimiterGainSmoother& smoother, const double* left, const double* right, double* gains,
              int frames) {
    LimiterGainSmoother::Run s = smoother.begin();
    const auto finish = [&s](double level) {
        const double target =
            level > BandLimiter::kClipLevel ? BandLimiter::kClipLevel / level : 1.0;
        const double gain = s.push(target);
        return gain >= 1.0 ? 1.0 : gain;
    };
#if defined(QV_LIMITER_SMOOTHER_X87)
    // On the x87 unit the levels go into gains first and are finished in a pass of their own:
    // the smoother's state then stays off the followers' register stack.
    runFollowerPair(history, peak, rise, StereoMagnitude{left, right}, gains, frames,
                    [](double level) { return level; });
    const LimiterSmootherX87 x87(BandLimiter::kClipLevel);
    for (int i = 0; i < frames; ++i) {
        i += x87.run(s, gains + i, frames - i);
        if (i < frames) gains[i] = finish(gains[i]);
    }
#else
    runFollowerPair(history, peak, rise, StereoMagnitude{left, right}, gains, frames, finish);
#endif
    smoother.end(s);
}

// True when v is a normal number whose magnitude has a smaller upper word than kClipLevel: one
// integer compare on the upper 32 bits, also on 32-bit x86, where the flush and the clip test
// cost several x87 instructions each. Neither the flush nor the clip changes such a value.
// False for everything else (zero, subnormal, at or near the clip level or above, infinite,
// NaN), which takes the exact path.
bool plainlyWithinClip(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const std::uint32_t top = static_cast<std::uint32_t>(bits >> 32) & 0x7FFFFFFFu;
    const std::uint32_t smallestNormalTop = 0x00100000u; // top word of 2^-1022
    // Top word of kClipLevel (in [0.5, 1): exponent 0x3FE and the upper 20 bits of the
    // fraction); magnitudes with a smaller top word are below it.
    static_assert(BandLimiter::kClipLevel >= 0.5 && BandLimiter::kClipLevel < 1.0,
                  "the clip level's top word is formed for the binade [0.5, 1)");
    const std::uint32_t clipTop =
        0x3FE00000u | static_cast<std::uint32_t>((2.0 * BandLimiter::kClipLevel - 1.0) * 1048576.0);
    return top - smallestNormalTop < clipTop - smallestNormalTop;
}

// The exact output of one delayed sample times its gain: clipped and scaled by the ceiling. The
// clip is what guarantees the bound: whatever the smoothed gain did, no sample leaves above
// kClipLevel * ceiling. A NaN product is treated as silence.
double limitedSample(double delayed, double gain, double ceiling) {
    const double clip = BandLimiter::kClipLevel;
    double v = delayed * gain;
    if (plainlyWithinClip(v)) return v * ceiling; // the usual case
    v = flushDenormal(v);
    if (!(std::fabs(v) <= clip)) { // the unusual case: something to clip
        if (v > clip)
            v = clip;
        else if (v < -clip)
            v = -clip;
        else // NaN
            v = 0.0;
    }
    return v * ceiling;
}

// Both channels of a run: outC[i] = limitedSample(delayedC[i], gains[i], ceiling). Where
// doubles live in SSE2 registers two frames go at a time while all four products are normal and
// within the clip (then flush and clip leave them as they are).
void applyGain(const double* delayedL, const double* delayedR, const double* gains, double ceiling,
               double* outL, double* outR, int frames) {
    int i = 0;
#if defined(__SSE2__) && defined(__SSE2_MATH__)
    const __m128d magnitudeMask = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
    const __m128d clip = _mm_set1_pd(BandLimiter::kClipLevel);
    const __m128d smallestNormal = _mm_set1_pd(std::numeric_limits<double>::min());
    const __m128d scale = _mm_set1_pd(ceiling);
    const auto plain = [&](__m128d v) {
        const __m128d magnitude = _mm_and_pd(v, magnitudeMask);
        return _mm_and_pd(_mm_cmple_pd(magnitude, clip), _mm_cmpge_pd(magnitude, smallestNormal));
    };
    for (; i + 1 < frames; i += 2) {
        const __m128d g = _mm_loadu_pd(gains + i);
        const __m128d l = _mm_mul_pd(_mm_loadu_pd(delayedL + i), g);
        const __m128d r = _mm_mul_pd(_mm_loadu_pd(delayedR + i), g);
        if (_mm_movemask_pd(_mm_and_pd(plain(l), plain(r))) == 3) {
            _mm_storeu_pd(outL + i, _mm_mul_pd(l, scale));
            _mm_storeu_pd(outR + i, _mm_mul_pd(r, scale));
        } else {
            for (int j = i; j < i + 2; ++j) {
                outL[j] = limitedSample(delayedL[j], gains[j], ceiling);
                outR[j] = limitedSample(delayedR[j], gains[j], ceiling);
            }
        }
    }
#endif
    for (; i < frames; ++i) {
        outL[i] = limitedSample(delayedL[i], gains[i], ceiling);
        outR[i] = limitedSample(delayedR[i], gains[i], ceiling);
    }
}
} // namespace

void BandLimiter::process(double* left, double* right, int frames) {
    for (int done = 0; done < frames; done += kMaxRun) {
        const int n = frames - done < kMaxRun ? frames - done : kMaxRun;
        copySamples(left + done, lookahead_.input(0), n);
        copySamples(right + done, lookahead_.input(1), n);
        processInput(n, left + done, right + done);
    }
}

void BandLimiter::processInput(int frames, double* outL, double* outR) {
    if (frames <= 0 || frames > kMaxRun) return;
    if (!(limiterSwitch_ < 0.5f)) {
        if (!bypassLatch_) {
            smoother_.fullReset();
            autoPeak_.clear();
            autoRise_.clear();
            autoHistory_.clear();
            bypassLatch_ = true;
        }
        copySamples(lookahead_.output(0), outL, frames);
        copySamples(lookahead_.output(1), outR, frames);
    } else {
        // The followers see the undelayed mix; the gains go onto the delayed one.
        const double* left = lookahead_.input(0);
        const double* right = lookahead_.input(1);
        double gains[kMaxRun];
        if (releaseSwitch_ > 0.5f)
            runGains(manualHistory_, manualPeak_, manualRise_, smoother_, left, right, gains,
                     frames);
        else
            runGains(autoHistory_, autoPeak_, autoRise_, smoother_, left, right, gains, frames);
        const double ceiling = ceiling_;
        applyGain(lookahead_.output(0), lookahead_.output(1), gains, ceiling, outL, outR, frames);
        bypassLatch_ = false;
    }
    lookahead_.advance(frames);
}

void BandLimiter::reset() {
    smoother_.reset();
    autoPeak_.clear();
    autoRise_.clear();
    manualPeak_.clear();
    manualRise_.clear();
    autoHistory_.clear();
    manualHistory_.clear();
}

void BandLimiter::fullReset() {
    reset();
    smoother_.fullReset();
    lookahead_.clear();
    bypassLatch_ = false;
}

} // namespace qv
