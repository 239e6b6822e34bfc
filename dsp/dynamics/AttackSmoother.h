#pragma once

#include "dsp/Relaxed.h"

namespace qv {

// One-pole smoother of rising levels; falling levels pass at once. Follows the "hard" attack
// curve's detector pair. Setters: UI/parameter thread; push: audio thread.
class AttackSmoother {
public:
    // Invalid rates are ignored.
    void setSampleRate(double fs);
    // coef40 of timeMs, 0 (instant) below 0.01 ms.
    void setAttackTime(double timeMs);

    // The state in locals for a loop over a run of samples (see HeldEnvelope::Run); end()
    // hands it back. Audio thread.
    struct Run {
        double state; // current output
        double coef;  // one-pole coefficient, 0 = instant

        double push(double level) {
            if (state <= level) level += (state - level) * coef;
            state = level;
            return level;
        }
    };
    Run begin() const { return Run{state_, attackCoef_}; }
    void end(const Run& run) { state_ = run.state; }

    // Audio thread: smooths levels in place, a run of frames samples.
    void process(double* levels, int frames) {
        Run run = begin();
        for (int i = 0; i < frames; ++i)
            levels[i] = run.push(levels[i]);
        end(run);
    }
    double push(double level) {
        process(&level, 1);
        return level;
    }

    void clear() { state_ = 0.0; }

    double state() const { return state_; }
    double attackCoef() const { return attackCoef_; }

private:
    double sampleRate_ = 44100.0;      // Hz
    double attackTimeMs_ = 0.0;        // attack time
    Relaxed<double> attackCoef_ = 0.0; // one-pole coefficient, 0 = instant
    double state_ = 0.0;               // current output
};

} // namespace qv
