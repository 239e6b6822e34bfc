#pragma once

namespace qv {

// 40-tap FIR smoother of the limiter's gain target with five kernel shapes chosen by "lt_clip".
// Falling gains (attack) use the kernel reversed, so the reduction reacts most in its first
// samples; rising gains (release) use it forward and start slowly. At each change of direction
// the history restarts from the last output, so the output continues without a jump. After
// more than 40 targets of 1.0 or more the output is exactly 1.0.
//
// Every kernel is linear in its tap index (kj = c0 + c1 j) and sums to 1, so the 40-tap sum is
// 1 + c0 T0 + c1 T1 forward and 1 + (c0 + 39 c1) T0 - c1 T1 reversed, with T0 and T1 the plain
// and the age-weighted sums of the deviations from 1.0 of the target and its history (so a run
// of unity targets gives exactly 1.0). The sums are kept running, O(1) per sample, and
// recomputed exactly from the history ring every few turns so rounding cannot drift.
class LimiterGainSmoother {
public:
    static constexpr int kTaps = 40;
    static constexpr int kHistory = kTaps - 1;
    static constexpr int kShapes = 5;

    // Kernels built, history 1.0, last output 1.0, direction rising, unity count 0.
    LimiterGainSmoother();

    // UI/parameter thread: "lt_clip"; shape 1 below 0.2, then steps of 0.2, shape 5 from 0.8.
    void setClipShape(float normalised);

    // Audio thread.
    double push(double target) {
        // The count saturates: it only needs to tell "more than 40", and must not overflow in
        // a long unity run.
        if (target < 1.0)
            unityCount_ = 0;
        else if (unityCount_ <= kTaps)
            ++unityCount_;
        if (unityCount_ > kTaps) return 1.0;

        const int shape = shape_;
        const double deviation = target - 1.0;
        double y;
        if (lastOutput_ < target) { // gain rising: release, forward kernel
            if (falling_) {
                fillHistory(lastOutput_);
                falling_ = false;
            }
            y = 1.0 + start_[shape] * (deviation + sum_) + slope_[shape] * weightedSum_;
        } else { // gain falling or equal: attack, reversed kernel
            if (!falling_) {
                fillHistory(lastOutput_);
                falling_ = true;
            }
            y = 1.0 + reversedStart_[shape] * (deviation + sum_) - slope_[shape] * weightedSum_;
        }

        // h0 = target; the oldest entry h38 leaves.
        const double leaving = history_[position_];
        history_[position_] = deviation;
        weightedSum_ += deviation + sum_ - kTaps * leaving;
        sum_ += deviation - leaving;
        if (++position_ == kHistory) {
            position_ = 0;
            if (++turns_ == kTurnsPerResum) resum();
        }
        lastOutput_ = y;
        return y;
    }

    // Engine reset: last output 1.0, history 1.0, direction rising (unity count kept).
    void reset();
    // Full reset: reset() and the unity count to 0.
    void fullReset();

    int shape() const { return shape_ + 1; }
    double lastOutput() const { return lastOutput_; }
    double kernel(int shape, int tap) const;

private:
    static constexpr int kTurnsPerResum = 4; // history turns between exact recomputations
    void fillHistory(double value);
    void resum(); // exact sums from the ring (at position 0)

    double kernels_[kShapes][kTaps]; // forward kernels, each summing to 1 (for inspection)
    double start_[kShapes];          // c0 = k0 of each shape
    double slope_[kShapes];          // c1 = k(j+1) - kj of each shape
    double reversedStart_[kShapes];  // c0 + 39 c1 = k39, the reversed kernel's first entry
    // History ring of the past 39 targets as deviations h_i - 1; the oldest (h38) at
    // position_, then h37 .. h0.
    double history_[kHistory];
    double sum_ = 0.0;         // sum of (h_i - 1)
    double weightedSum_ = 0.0; // sum of (i + 1) (h_i - 1)
    int position_ = 0;         // ring slot of h38, the next to be replaced
    int turns_ = 0;            // ring turns since the last exact recomputation
    int shape_ = 4;            // kernel index 0..4 (shape 1..5)
    double lastOutput_ = 1.0;  // previous output
    bool falling_ = false;     // direction of the last run: false rising, true falling
    int unityCount_ = 0;       // consecutive targets of 1.0 or more, saturating above 40
};

} // namespace qv
