#pragma once

#include "dsp/HoldRelease.h"

namespace qv {

// The envelope PeakHoldDetector and RisingSmoothDetector both follow: it rises towards a new
// level through a one-pole coefficient (0 = at once), then holds and releases with HoldRelease.
// Keeps the sample rate and the release multiplier in step with it; the derived follower sets
// the rise coefficient from its own times. Not polymorphic: used only through the derived
// classes. Setters: UI/parameter thread; push: audio thread.
class HeldEnvelope {
public:
    // Audio thread: takes the new level (not negative) and the release floor, the level of
    // ringLength - 1 samples before (LevelHistory::step of this level), and returns the
    // envelope.
    double push(double level, double floor) {
        if (envelope_ <= level) {
            envelope_ = (envelope_ - level) * riseCoef_ + level;
            hold_.restartHold();
            return envelope_;
        }
        envelope_ = hold_.fall(envelope_, floor, releaseMul_);
        return envelope_;
    }

    // releaseMul = halfLife(timeSeconds).
    void setReleaseTime(double timeSeconds);

    // Envelope and hold to zero; coefficients kept (the owner clears the level history).
    void clear();

    double envelope() const { return envelope_; }
    double releaseMul() const { return releaseMul_; }

protected:
    explicit HeldEnvelope(int ringLength) : hold_(ringLength) {}
    ~HeldEnvelope() = default;

    // Stores a finite, positive rate and recomputes the release; false (nothing changed) for
    // any other rate.
    bool acceptSampleRate(double fs);
    double sampleRate() const { return sampleRate_; }
    double riseCoefficient() const { return riseCoef_; }
    void setRiseCoefficient(double coef) { riseCoef_ = coef; }

private:
    HoldRelease hold_;            // hold count and floored release
    double sampleRate_ = 44100.0; // Hz
    double releaseSeconds_ = 0.0; // release half-life
    double riseCoef_ = 0.0;       // one-pole rise coefficient, 0 = instant
    double releaseMul_ = 0.0;     // per-sample release multiplier
    double envelope_ = 0.0;       // current output
};

} // namespace qv
