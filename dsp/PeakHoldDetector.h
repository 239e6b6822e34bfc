#pragma once

#include "dsp/HoldRelease.h"

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

    // Audio thread: takes the new level (not negative) and the release floor, the level of
    // ringLength - 1 samples before (LevelHistory::step of this level), and returns the
    // envelope.
    double push(double level, double floor) {
        if (envelope_ <= level) {
            envelope_ = (envelope_ - level) * attackCoef_ + level;
            hold_.restartHold();
            return envelope_;
        }
        envelope_ = hold_.fall(envelope_, floor, releaseMul_);
        return envelope_;
    }

    // Envelope and hold to zero; coefficients kept (the owner clears the level history).
    void clear();

    double envelope() const { return envelope_; }
    double attackCoef() const { return attackCoef_; }
    double releaseMul() const { return releaseMul_; }

private:
    HoldRelease hold_;            // hold count and floored release
    Attack attack_;               // instant or smoothed rise
    double sampleRate_ = 44100.0; // Hz
    double attackTimeMs_ = 0.0;   // smoothed kind's attack time
    double releaseSeconds_ = 0.0; // release half-life
    double attackCoef_ = 0.0;     // one-pole rise coefficient, 0 = instant
    double releaseMul_ = 0.0;     // per-sample release multiplier
    double envelope_ = 0.0;       // current output
};

} // namespace qv
