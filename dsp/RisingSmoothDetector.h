#pragma once

#include "dsp/HoldRelease.h"

namespace qv {

// Follower whose rise is always smoothed by a one-pole coefficient (coef40 of a rise time made
// from a base time and the auto release shape q), with the same hold and floored release as
// PeakHoldDetector. Setters: UI/parameter thread; push: audio thread.
class RisingSmoothDetector {
public:
    // How the rise time (ms) follows from the base time b (attack + 1 ms) and the shape q.
    enum class RiseShape {
        Manual,     // b + 49
        ManualSoft, // 2 b + 49
        Auto,       // b + 49 q
        AutoSoft,   // b + (b + 49) q
    };

    // Starts with base time 1 ms, q = 0, and rise coefficient and release multiplier 0 until
    // a setter gives them a value.
    RisingSmoothDetector(int ringLength, RiseShape shape);

    // Recomputes the coefficients from the stored times; invalid rates are ignored.
    void setSampleRate(double fs);
    // Base time in ms (attack time + 1, single precision); recomputes the rise.
    void setBaseTime(float baseMs);
    // Auto release shape q = (1 - Rel_a)^2; recomputes the rise.
    void setShape(float q);
    // releaseMul = halfLife(timeSeconds).
    void setReleaseTime(double timeSeconds);

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

    // Envelope and hold to zero; coefficients kept (the owner clears the level history).
    void clear();

    double envelope() const { return envelope_; }
    double riseTimeMs() const { return riseTimeMs_; }
    double riseCoef() const { return riseCoef_; }
    double releaseMul() const { return releaseMul_; }

private:
    void updateRise();

    HoldRelease hold_;            // hold count and floored release
    RiseShape shape_;             // rise time formula
    double sampleRate_ = 44100.0; // Hz
    float baseMs_ = 1.0f;         // attack time + 1 ms
    float shapeQ_ = 0.0f;         // auto release shape q
    double riseTimeMs_ = 0.0;     // 0 until a setter computes it
    double releaseSeconds_ = 0.0; // release half-life
    double riseCoef_ = 0.0;       // one-pole rise coefficient
    double releaseMul_ = 0.0;     // per-sample release multiplier
    double envelope_ = 0.0;       // current output
};

} // namespace qv
