#pragma once

#include "dsp/dynamics/HeldEnvelope.h"

namespace qv {

// Follower whose rise is always smoothed by a one-pole coefficient (coef40 of a rise time made
// from a base time and the auto release shape q), with the same hold and floored release as
// PeakHoldDetector. Setters: UI/parameter thread; push: audio thread.
class RisingSmoothDetector : public HeldEnvelope {
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

    double riseTimeMs() const { return riseTimeMs_; }
    double riseCoef() const { return riseCoefficient(); }

private:
    void updateRise();

    RiseShape shape_;         // rise time formula
    float baseMs_ = 1.0f;     // attack time + 1 ms
    float shapeQ_ = 0.0f;     // auto release shape q
    double riseTimeMs_ = 0.0; // 0 until a setter computes it
};

} // namespace qv
