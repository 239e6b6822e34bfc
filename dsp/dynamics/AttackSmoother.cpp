#include "dsp/dynamics/AttackSmoother.h"

#include "dsp/math/CoefficientMath.h"

#include <cmath>

namespace qv {

void AttackSmoother::setSampleRate(double fs) {
    if (!std::isfinite(fs) || !(fs > 0.0)) return;
    sampleRate_ = fs;
    attackCoef_ = attackCoef40(attackTimeMs_, sampleRate_);
}

void AttackSmoother::setAttackTime(double timeMs) {
    attackTimeMs_ = timeMs;
    attackCoef_ = attackCoef40(attackTimeMs_, sampleRate_);
}

} // namespace qv
