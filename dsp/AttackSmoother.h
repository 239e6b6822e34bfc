#pragma once

namespace qv {

// One-pole smoother of rising levels; falling levels pass at once. Follows the "hard" attack
// curve's detector pair. Setters: UI/parameter thread; push: audio thread.
class AttackSmoother {
public:
    // Invalid rates are ignored.
    void setSampleRate(double fs);
    // coef40 of timeMs, 0 (instant) below 0.01 ms.
    void setAttackTime(double timeMs);

    // Audio thread: smooths levels in place, a run of frames samples.
    void process(double* levels, int frames) {
        double state = state_;
        const double coef = attackCoef_;
        for (int i = 0; i < frames; ++i) {
            double level = levels[i];
            if (state <= level) level += (state - level) * coef;
            state = level;
            levels[i] = level;
        }
        state_ = state;
    }
    double push(double level) {
        process(&level, 1);
        return level;
    }

    void clear() { state_ = 0.0; }

    double state() const { return state_; }
    double attackCoef() const { return attackCoef_; }

private:
    double sampleRate_ = 44100.0; // Hz
    double attackTimeMs_ = 0.0;   // attack time
    double attackCoef_ = 0.0;     // one-pole coefficient, 0 = instant
    double state_ = 0.0;          // current output
};

} // namespace qv
