#include "dsp/BandLimiter.h"

#include "dsp/CoefficientMath.h"
#include "dsp/FlushDenormal.h"

#include <cmath>

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

void BandLimiter::limit(double inL, double inR, double& outL, double& outR) {
    if (!(limiterSwitch_ < 0.5f)) {
        if (!bypassLatch_) {
            smoother_.fullReset();
            autoPeak_.clear();
            autoRise_.clear();
            autoHistory_.clear();
            bypassLatch_ = true;
        }
        outL = ringL_.step(inL);
        outR = ringR_.step(inR);
        return;
    }

    const double magnitudeL = std::fabs(inL), magnitudeR = std::fabs(inR);
    const double x = magnitudeL > magnitudeR ? magnitudeL : magnitudeR;
    double level;
    if (releaseSwitch_ > 0.5f) {
        const double floor = manualHistory_.step(x);
        const double peak = manualPeak_.push(x, floor), rise = manualRise_.push(x, floor);
        level = peak > rise ? peak : rise;
    } else {
        const double floor = autoHistory_.step(x);
        const double peak = autoPeak_.push(x, floor), rise = autoRise_.push(x, floor);
        level = peak > rise ? peak : rise;
    }
    const double delayedL = ringL_.step(inL);
    const double delayedR = ringR_.step(inR);

    const double target = level > kClipLevel ? kClipLevel / level : 1.0;
    double gain = smoother_.push(target);
    if (gain >= 1.0) gain = 1.0;
    bypassLatch_ = false;

    // The clip is what guarantees the bound: whatever the smoothed gain did, no sample leaves
    // above kClipLevel * ceiling. A NaN product is treated as silence.
    double v[2] = {flushDenormal(delayedL * gain), flushDenormal(delayedR * gain)};
    for (double& s : v) {
        if (std::fabs(s) <= kClipLevel) continue; // the usual case: nothing to clip
        if (s > kClipLevel)
            s = kClipLevel;
        else if (s < -kClipLevel)
            s = -kClipLevel;
        else // NaN
            s = 0.0;
    }
    outL = v[0] * ceiling_;
    outR = v[1] * ceiling_;
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
    ringL_.clear();
    ringR_.clear();
    bypassLatch_ = false;
}

} // namespace qv
