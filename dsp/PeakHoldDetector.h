#pragma once

#include "dsp/HoldReleaseRing.h"

namespace qv {

// Peak follower: rises to a new peak at once (instant kind) or through a one-pole attack
// (smoothed kind), holds for the ring length, then releases geometrically but not below the
// level seen ring length - 1 samples before. Setters: UI/parameter thread; push: audio thread.
class PeakHoldDetector {
public:
    enum class Attack { Instant, Smoothed };

    PeakHoldDetector(int ringLength, Attack attack);

    // Recomputes the coefficients from the stored times. Rates that are not finite and
    // positive are ignored.
    void setSampleRate(double fs);
    // Smoothed kind only (ignored for the instant kind): coef40 of timeMs, 0 below 0.01 ms.
    void setAttackTime(double timeMs);
    // releaseMul = halfLife(timeSeconds).
    void setReleaseTime(double timeSeconds);

    // Audio thread: takes the new level (not negative) and returns the envelope.
    double push(double level) {
        if (envelope_ <= level) {
            envelope_ = (envelope_ - level) * attackCoef_ + level;
            ring_.restartHold();
            return envelope_;
        }
        envelope_ = ring_.fall(envelope_, level, releaseMul_);
        return envelope_;
    }

    // Envelope, hold and ring to zero; coefficients kept.
    void clear();

    double envelope() const { return envelope_; }
    double attackCoef() const { return attackCoef_; }
    double releaseMul() const { return releaseMul_; }

private:
    HoldReleaseRing ring_;        // hold count and the levels that floor the release
    Attack attack_;               // instant or smoothed rise
    double sampleRate_ = 44100.0; // Hz
    double attackTimeMs_ = 0.0;   // smoothed kind's attack time
    double releaseSeconds_ = 0.0; // release half-life
    double attackCoef_ = 0.0;     // one-pole rise coefficient, 0 = instant
    double releaseMul_ = 0.0;     // per-sample release multiplier
    double envelope_ = 0.0;       // current output
};

} // namespace qv
