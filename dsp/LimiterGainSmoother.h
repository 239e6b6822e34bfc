#pragma once

namespace qv {

// 40-tap FIR smoother of the limiter's gain target with five kernel shapes chosen by "lt_clip".
// Falling gains (attack) use the kernel reversed, so the reduction reacts most in its first
// samples; rising gains (release) use it forward and start slowly. At each change of direction
// the history restarts from the last output, so the output continues without a jump. After
// more than 40 targets of 1.0 or more the output is exactly 1.0.
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
    double push(double target);

    // Engine reset: last output 1.0, history 1.0, direction rising (unity count kept).
    void reset();
    // Full reset: reset() and the unity count to 0.
    void fullReset();

    int shape() const { return shape_ + 1; }
    double lastOutput() const { return lastOutput_; }
    double kernel(int shape, int tap) const;

private:
    void fillHistory(double value);

    double kernels_[kShapes][kTaps];  // forward kernels, each summing to 1
    double reversed_[kShapes][kTaps]; // the same kernels reversed
    // History of past targets, newest first, kept twice over so that the 39 entries after
    // position_ are always contiguous: h_i = history_[position_ + i].
    double history_[2 * kHistory];
    int position_ = 0;        // index of h0 in history_, 0..kHistory-1
    int shape_ = 4;           // kernel index 0..4 (shape 1..5)
    double lastOutput_ = 1.0; // previous output
    bool falling_ = false;    // direction of the last run: false rising, true falling
    int unityCount_ = 0;      // consecutive targets of 1.0 or more, saturating above 40
};

} // namespace qv
