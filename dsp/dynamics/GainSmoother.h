#pragma once

#include "dsp/dynamics/LinkedSmootherX87.h"

#include <cmath>
#include <type_traits>

namespace qv {

// 32-tap FIR smoother of a band's gain: y[n] = k0 g[n] + k1 g[n-1] + ... + k31 g[n-31] with
// kj = f((j + 1) / 32) - f(j / 32), f(u) = (0.4 u + 0.6) u, so a step reaches its full depth
// after 32 samples (the band's audio is delayed 31).
//
// The kernel is linear in j (kj = k0 + j d with d = 0.8 / 1024) and sums to 1, so the
// convolution is 1 + k0 S0 + d S1 with the running sums S0 = sum (g[n-j] - 1) and
// S1 = sum j (g[n-j] - 1) of the deviations from unity (a run of unity gains gives exactly 1.0),
// updated in O(1) per sample and recomputed exactly from the ring every 128 samples so that
// rounding cannot drift.
//
// After a reset the history counts as zero gains and the first 31 outputs carry an extra 1.0
// (the start state of the partial-sum form of this filter: output 1 + f(m / 32) after m unit
// gains).
class GainSmoother {
public:
    static constexpr int kTaps = 32;
    static constexpr int kTurnsPerResum = 4; // ring turns between exact recomputations

    // Kernel built, state reset.
    GainSmoother();

    // A finish that caps the outputs at limit (+inf: none).
    struct Ceiling {
        double limit; // the largest output
        double operator()(double y) const { return y > limit ? limit : y; }
    };

    // Audio thread: smooths a run of frames gains into out (which may be gains itself). The
    // state lives in locals for the loop, where the compiler keeps it in registers.
    void process(const double* gains, double* out, int frames) {
        process(gains, out, frames, [](double y) { return y; });
    }
    // The same, writing finish(output) to out (the smoother's own output stays unfinished).
    template <class Finish>
    void process(const double* gains, double* out, int frames, Finish finish) {
        processFrom([gains](int i) { return gains[i]; }, out, frames, finish);
    }
    // The same with gain i taken from gainAt(i), read once before out[i] is written (a stage
    // before the smoother can so feed it without an array in between).
    template <class Source, class Finish>
    void processFrom(Source gainAt, double* out, int frames, Finish finish) {
        int i = 0;
        // The outputs that still carry a reset's 1.0 (the first 31 after a reset).
        for (; i < frames && resetCarry_ > 0; ++i) {
            output_ = run(gainAt, i, i + 1, out, [](double x) { return x; }) + 1.0;
            out[i] = finish(output_);
            --resetCarry_;
        }
        if (i < frames) run(gainAt, i, frames, out, finish);
    }
    // One gain.
    double push(double gain) {
        double y;
        process(&gain, &y, 1);
        return y;
    }

    // Output 0.0, history zero, the next 31 outputs carry 1.0; the kernel is kept.
    void reset();

    // At rest: after 32 unity gains the output is exactly 1.0 for as long as unity gains follow,
    // and such gains change nothing in the smoother. A caller that finds them faster than
    // process does may write their 1.0 outputs itself and hand it only the gains after them.
    bool atRest() const { return unityRun_ >= kTaps; }

    double output() const { return output_; }
    double kernel(int tap) const { return tap >= 0 && tap < kTaps ? kernel_[tap] : 0.0; }

private:
    friend class GainSmootherPair; // runs two smoothers' loops side by side

    // Neither a reset's carry nor a band at rest pending: frames go through the plain loop.
    bool steady() const { return resetCarry_ == 0 && unityRun_ < kTaps; }
    // Frames before the ring's turn.
    int room() const { return kTaps - position_; }

    // process of frames i..end-1 without the reset's carry; returns the last (unfinished)
    // output. The frames go in runs that end at the ring's last slot, so that the ring position
    // is tested for its wrap once per run; a band at rest takes a loop of its own.
    template <class Source, class Finish>
    double run(Source gainAt, int i, int end, double* out, Finish finish) {
        double* const history = history_;
        const double start = kernelStart_, slope = kernelSlope_;
        double sum = sum_, weightedSum = weightedSum_, y = output_;
        int position = position_, turns = turns_, unityRun = unityRun_;
#if defined(QV_SMOOTHER_X87)
        // A linked gain capped by a Ceiling: the plain and resting loops in x87 assembly.
        constexpr bool x87Loops =
            LinkedSmootherX87<Source>::kRuns && std::is_same<Finish, Ceiling>::value;
        const LinkedSmootherX87<Source> x87(gainAt, start, slope, limitOf(finish));
#endif
        // After the ring's turns: every kTurnsPerResum of them the sums are recomputed exactly.
        const auto resumIfDue = [&] {
            if (turns != kTurnsPerResum) return;
            const Sums exact = resum(history);
            sum = exact.plain;
            weightedSum = exact.weighted;
            turns = 0;
        };
        while (i < end) {
            if (unityRun >= kTaps) {
                // A band at rest: after 32 unity gains the ring holds only zeros, so further
                // unity gains change nothing and the output is exactly 1.0. (Those 32 pushes
                // have also used up a reset's carry.)
#if defined(QV_SMOOTHER_X87)
                if constexpr (x87Loops) i += x87.resting(i, end - i, out + i);
#endif
                while (i < end && gainAt(i) == 1.0) {
                    y = 1.0;
                    out[i] = finish(y);
                    ++i;
                }
                if (i == end) break;
            }
            // Every frame of this run advances the ring by one slot: frame i + j writes slot
            // position + j (one index for the ring, the gains and the outputs).
            const int room = kTaps - position;
            const int count = end - i < room ? end - i : room;
            double* const slot = history + position;
            int j = 0;
            if (gainAt(i) != 1.0) {
                // No run of 32 unity gains can end in these 32 frames or fewer: the first one
                // breaks any run before them. So the loop needs no unity test, and the unity
                // run it leaves is the count of unity gains at its end, taken before out (which
                // may be the gains) is written.
#if defined(QV_SMOOTHER_X87)
                if constexpr (x87Loops) {
                    // The same holds turn after turn while each opens with a gain other than
                    // 1.0: the assembly runs on across turns, up to the end of the one due for
                    // its exact recomputation.
                    const int dueIn = room + (kTurnsPerResum - 1 - turns) * kTaps;
                    const int done = x87.plain(i, end - i < dueIn ? end - i : dueIn, count, history,
                                               position, out + i, sum, weightedSum, y);
                    // The unity gains at the end are the zero deviations at the end of the slots
                    // (a gain minus 1.0 is zero for 1.0 only), the first slot of the last turn
                    // ending the count: cheaper than forming the linked gains again.
                    const unsigned reached = static_cast<unsigned>(position + done); // >= 1
                    const int last = static_cast<int>((reached - 1) % kTaps);
                    unityRun = 0;
                    while (history[last - unityRun] == 0.0)
                        ++unityRun;
                    i += done;
                    turns += static_cast<int>(reached / kTaps);
                    position = static_cast<int>(reached % kTaps);
                    resumIfDue();
                    continue;
                }
#endif
                int trailing = 0;
                while (gainAt(i + count - 1 - trailing) == 1.0)
                    ++trailing;
                for (; j < count; ++j) {
                    const double deviation = gainAt(i + j) - 1.0;
                    const double leaving = slot[j]; // g[n - 32] - 1
                    slot[j] = deviation;
                    weightedSum += sum - kTaps * leaving;
                    sum += deviation - leaving;
                    y = 1.0 + start * sum + slope * weightedSum;
                    out[i + j] = finish(y);
                }
                unityRun = trailing;
            }
            for (; j < count; ++j) {
                const double gain = gainAt(i + j);
                const double deviation = gain - 1.0;
                const double leaving = slot[j]; // g[n - 32] - 1
                if (gain == 1.0 && ++unityRun == kTaps) {
                    // The ring holds only zeros after this step: no rounding residue.
                    slot[j] = 0.0;
                    sum = 0.0;
                    weightedSum = 0.0;
                    y = 1.0;
                    out[i + j] = finish(y);
                    ++j;
                    break;
                }
                if (gain != 1.0) unityRun = 0;
                slot[j] = deviation;
                weightedSum += sum - kTaps * leaving;
                sum += deviation - leaving;
                y = 1.0 + start * sum + slope * weightedSum;
                out[i + j] = finish(y);
            }
            i += j;
            position += j;
            if (position == kTaps) {
                position = 0;
                ++turns;
                resumIfDue();
            }
        }
        sum_ = sum;
        weightedSum_ = weightedSum;
        output_ = y;
        position_ = position;
        turns_ = turns;
        unityRun_ = unityRun;
        return y;
    }

    // The cap of a Ceiling; none for other finishes.
    static double limitOf(const Ceiling& ceiling) {
        return ceiling.limit;
    }
    template <class Finish> static double limitOf(const Finish&) {
        return HUGE_VAL;
    }

    // Exact sums of a ring at position 0 (returned by value: sums whose address escaped would
    // stay in memory throughout the loop).
    struct Sums {
        double plain;    // S0
        double weighted; // S1
    };
    static Sums resum(const double* history);

    double kernel_[kTaps];     // k0..k31, summing to 1 (for inspection)
    double kernelStart_;       // k0
    double kernelSlope_;       // k(j+1) - kj
    double history_[kTaps];    // the last 32 gains minus 1, the oldest at position_
    double sum_ = 0.0;         // S0: sum of the ring
    double weightedSum_ = 0.0; // S1: sum of age times deviation (newest age 0)
    int position_ = 0;         // ring slot of the oldest gain, the next to be replaced
    int turns_ = 0;            // ring turns since the last exact recomputation
    int resetCarry_ = 0;       // outputs still carrying the reset's 1.0
    int unityRun_ = 0;         // consecutive unity gains, up to kTaps
    double output_ = 0.0;      // last smoothed gain
};

} // namespace qv
