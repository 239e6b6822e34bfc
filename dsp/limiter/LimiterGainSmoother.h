#pragma once

#include "dsp/Relaxed.h"

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

    // A copy of the smoother's state for a loop over a run of targets: held in locals, the
    // compiler keeps it in registers, where members would be reloaded at every sample. Take it
    // with begin(), push through it, hand it back with end() before anything else touches the
    // smoother. Audio thread.
    struct Run {
        double* history;      // the smoother's history ring
        double start;         // c0 of the current shape
        double slope;         // c1 of the current shape
        double reversedStart; // c0 + 39 c1 of the current shape
        double sum;           // sum of (h_i - 1)
        double weightedSum;   // sum of (i + 1) (h_i - 1)
        double last;          // previous output
        int position;         // ring slot of h38
        int turns;            // ring turns since the last exact recomputation
        int unityCount;       // consecutive targets of 1.0 or more, saturating above 40
        bool falling;         // direction of the last run

        double push(double target) {
            // The count saturates: it only needs to tell "more than 40", and must not overflow
            // in a long unity run. The last output stays that of the last smoothed target.
            if (target < 1.0)
                unityCount = 0;
            else if (unityCount <= kTaps)
                ++unityCount;
            if (unityCount > kTaps) return 1.0;

            const double deviation = target - 1.0;
            double y;
            if (last < target) { // gain rising: release, forward kernel
                if (falling) {
                    restartHistory();
                    falling = false;
                }
                y = 1.0 + start * (deviation + sum) + slope * weightedSum;
            } else { // gain falling or equal: attack, reversed kernel
                if (!falling) {
                    restartHistory();
                    falling = true;
                }
                y = 1.0 + reversedStart * (deviation + sum) - slope * weightedSum;
            }

            // h0 = target; the oldest entry h38 leaves.
            const double leaving = history[position];
            history[position] = deviation;
            weightedSum += deviation + sum - kTaps * leaving;
            sum += deviation - leaving;
            if (++position == kHistory) turn();
            last = y;
            return y;
        }

        // The ring's turn after its last slot is written: back to position 0, and every few
        // turns the sums recomputed exactly.
        void turn() {
            position = 0;
            if (++turns == kTurnsPerResum) {
                const Sums exact = exactSums(history);
                sum = exact.plain;
                weightedSum = exact.weighted;
                turns = 0;
            }
        }

        // At a change of direction the whole history restarts from the last output.
        void restartHistory() {
            const Sums filled = fillHistory(history, last);
            sum = filled.plain;
            weightedSum = filled.weighted;
        }
    };
    Run begin() {
        return Run{history_, start_[shape_], slope_[shape_], reversedStart_[shape_],
                   sum_,     weightedSum_,   lastOutput_,    position_,
                   turns_,   unityCount_,    falling_};
    }
    void end(const Run& run) {
        sum_ = run.sum;
        weightedSum_ = run.weightedSum;
        lastOutput_ = run.last;
        position_ = run.position;
        turns_ = run.turns;
        unityCount_ = run.unityCount;
        falling_ = run.falling;
    }

    // Audio thread: smooths a run of frames targets into gains (which may be targets itself).
    void process(const double* targets, double* gains, int frames) {
        Run run = begin();
        for (int i = 0; i < frames; ++i)
            gains[i] = run.push(targets[i]);
        end(run);
    }
    // One target.
    double push(double target) {
        Run run = begin();
        const double y = run.push(target);
        end(run);
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
    struct Sums {
        double plain;    // sum of (h_i - 1)
        double weighted; // sum of (i + 1) (h_i - 1)
    };
    // The whole history set to value; returns its sums. (Returned, not written through
    // references: a Run's sums whose address left the loop could not stay in registers.)
    static Sums fillHistory(double* history, double value);
    // Exact sums of a ring at position 0.
    static Sums exactSums(const double* history);

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
    Relaxed<int> shape_ = 4;   // kernel index 0..4 (shape 1..5)
    double lastOutput_ = 1.0;  // previous output
    bool falling_ = false;     // direction of the last run: false rising, true falling
    int unityCount_ = 0;       // consecutive targets of 1.0 or more, saturating above 40
};

} // namespace qv
