#include "dsp/dynamics/PeakHoldDetector.h"

#include "dsp/math/CoefficientMath.h"

namespace qv {

PeakHoldDetector::PeakHoldDetector(int ringLength, Attack attack)
    : HeldEnvelope(ringLength), attack_(attack) {}

void PeakHoldDetector::setSampleRate(double fs) {
    if (!acceptSampleRate(fs)) return;
    if (attack_ == Attack::Smoothed) setRiseCoefficient(attackCoef40(attackTimeMs_, sampleRate()));
}

void PeakHoldDetector::setAttackTime(double timeMs) {
    if (attack_ != Attack::Smoothed) return;
    attackTimeMs_ = timeMs;
    setRiseCoefficient(attackCoef40(attackTimeMs_, sampleRate()));
}

} // namespace qv
