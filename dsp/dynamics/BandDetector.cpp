#include "dsp/dynamics/BandDetector.h"

#include "dsp/math/CoefficientMath.h"

namespace qv {

namespace {
const double kPeakReleaseSeconds = 0.0005;     // auto peaks: fast release, floored by the ring
const double kManualRiseReleaseSeconds = 0.05; // manual rise followers
const double kBaseOffsetMs = 1.0;              // base time = attack + 1 ms
} // namespace

using Attack = PeakHoldDetector::Attack;
using Shape = RisingSmoothDetector::RiseShape;

BandDetector::BandDetector()
    : hardManualPeak_(kRingLength, Attack::Instant), hardManualRise_(kRingLength, Shape::Manual),
      hardAutoRise_(kRingLength, Shape::Auto), hardAutoPeak_(kRingLength, Attack::Smoothed),
      softManualPeak_(kRingLength, Attack::Smoothed),
      softManualRise_(kRingLength, Shape::ManualSoft), softAutoRise_(kRingLength, Shape::AutoSoft),
      softAutoPeak_(kRingLength, Attack::Smoothed) {
    hardAutoPeak_.setReleaseTime(kPeakReleaseSeconds);
    softAutoPeak_.setReleaseTime(kPeakReleaseSeconds);
    hardManualRise_.setReleaseTime(kManualRiseReleaseSeconds);
    softManualRise_.setReleaseTime(kManualRiseReleaseSeconds);
}

// All three attack-smoothed peaks follow the attack time, as they do on a rate change.
void BandDetector::setAttack(float normalised) {
    attackMs_ = qv::attackTimeMs(normalised);
    attackSmoother_.setAttackTime(attackMs_);
    hardAutoPeak_.setAttackTime(attackMs_);
    softManualPeak_.setAttackTime(attackMs_);
    softAutoPeak_.setAttackTime(attackMs_);
    const float base = static_cast<float>(attackMs_ + kBaseOffsetMs);
    hardManualRise_.setBaseTime(base);
    hardAutoRise_.setBaseTime(base);
    softManualRise_.setBaseTime(base);
    softAutoRise_.setBaseTime(base);
}

void BandDetector::setManualRelease(float normalised) {
    const double seconds = manualReleaseSeconds(normalised);
    hardManualPeak_.setReleaseTime(seconds);
    softManualPeak_.setReleaseTime(seconds);
}

void BandDetector::setAutoRelease(float normalised) {
    const float q = autoReleaseShape(normalised);
    hardAutoRise_.setShape(q);
    softAutoRise_.setShape(q);
}

void BandDetector::setAutoReleaseType(float normalised) {
    const double seconds = autoReleaseSeconds(normalised);
    hardAutoRise_.setReleaseTime(seconds);
    softAutoRise_.setReleaseTime(seconds);
}

void BandDetector::setSampleRate(double fs) {
    attackSmoother_.setSampleRate(fs);
    hardManualPeak_.setSampleRate(fs);
    hardManualRise_.setSampleRate(fs);
    hardAutoRise_.setSampleRate(fs);
    hardAutoPeak_.setSampleRate(fs);
    softManualPeak_.setSampleRate(fs);
    softManualRise_.setSampleRate(fs);
    softAutoRise_.setSampleRate(fs);
    softAutoPeak_.setSampleRate(fs);
}

void BandDetector::clearHard() {
    attackSmoother_.clear();
    hardManualPeak_.clear();
    hardManualRise_.clear();
    hardAutoRise_.clear();
    hardAutoPeak_.clear();
    hardManualHistory_.clear();
    hardAutoHistory_.clear();
}

void BandDetector::clearSoft() {
    softManualPeak_.clear();
    softManualRise_.clear();
    softAutoRise_.clear();
    softAutoPeak_.clear();
    softManualHistory_.clear();
    softAutoHistory_.clear();
}

void BandDetector::clear() {
    clearHard();
    clearSoft();
}

} // namespace qv
