#include "dsp/dynamics/HeldEnvelope.h"

#include "dsp/math/CoefficientMath.h"

#include <cmath>

namespace qv {

bool HeldEnvelope::acceptSampleRate(double fs) {
    if (!std::isfinite(fs) || !(fs > 0.0)) return false;
    sampleRate_ = fs;
    releaseMul_ = halfLife(releaseSeconds_, sampleRate_);
    return true;
}

void HeldEnvelope::setReleaseTime(double timeSeconds) {
    releaseSeconds_ = timeSeconds;
    releaseMul_ = halfLife(releaseSeconds_, sampleRate_);
}

void HeldEnvelope::clear() {
    envelope_ = 0.0;
    hold_.clear();
}

} // namespace qv
