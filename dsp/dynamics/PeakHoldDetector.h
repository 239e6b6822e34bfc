#pragma once

#include "dsp/dynamics/HeldEnvelope.h"

namespace qv {

// Peak follower: rises to a new peak at once (instant kind) or through a one-pole attack
// (smoothed kind), holds for the ring length, then releases geometrically but not below the
// level seen ring length - 1 samples before. Setters: UI/parameter thread; push: audio thread.
class PeakHoldDetector : public HeldEnvelope {
public:
    enum class Attack { Instant, Smoothed };

    PeakHoldDetector(int ringLength, Attack attack);

    // Recomputes the coefficients from the stored times. Rates that are not finite and
    // positive are ignored.
    void setSampleRate(double fs);
    // Smoothed kind only (ignored for the instant kind): coef40 of timeMs, 0 below 0.01 ms.
    void setAttackTime(double timeMs);

    double attackCoef() const { return riseCoefficient(); }

private:
    Attack attack_;             // instant or smoothed rise
    double attackTimeMs_ = 0.0; // smoothed kind's attack time
};

} // namespace qv
