#include "dsp/PeakHoldDetector.h"

#include "dsp/CoefficientMath.h"

#include <cmath>

namespace qv {

PeakHoldDetector::PeakHoldDetector(int ringLength, Attack attack)
    : hold_(ringLength), attack_(attack) {}

void PeakHoldDetector::setSampleRate(double fs) {
    if (!std::isfinite(fs) || !(fs > 0.0)) return;
    sampleRate_ = fs;
    if (attack_ == Attack::Smoothed) attackCoef_ = attackCoef40(attackTimeMs_, sampleRate_);
    releaseMul_ = halfLife(releaseSeconds_, sampleRate_);
}

void PeakHoldDetector::setAttackTime(double timeMs) {
    if (attack_ != Attack::Smoothed) return;
    attackTimeMs_ = timeMs;
    attackCoef_ = attackCoef40(attackTimeMs_, sampleRate_);
}

void PeakHoldDetector::setReleaseTime(double timeSeconds) {
    releaseSeconds_ = timeSeconds;
    releaseMul_ = halfLife(releaseSeconds_, sampleRate_);
}

void PeakHoldDetector::clear() {
    envelope_ = 0.0;
    hold_.clear();
}

} // namespace qv
