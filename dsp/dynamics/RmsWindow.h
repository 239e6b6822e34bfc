#pragma once

#include "dsp/metering/RunExtremes.h"

#include <memory>

namespace qv {

// Mean square of the last N samples (N = 50 ms of audio) by a running single-precision sum over
// a ring of squares. Once per turn of the ring the sum is formed afresh from the ring, so the
// rounding residue that a loud passage leaves in a running float sum cannot linger. The ring is the
// only engine state on the heap: its length follows the sample rate, so it is replaced by setLength
// (construction and rate changes, never on the audio thread). push and clear: audio thread.
class RmsWindow {
public:
    static constexpr int kMaxLength = 1 << 20; // 4 MB of squares, 50 ms up to 21 MHz
    // Amplitudes beyond this are counted at this size: the readout saturates long before, and a
    // single-precision square of any larger sample could overflow and turn the sum into NaN.
    static constexpr float kMaxAmplitude = 1.0e4f;
    static constexpr float kSilence = 1e-5f; // mean squares at or below read as 0

    // Length 1 until setLength.
    RmsWindow();

    // length is bounded to 1..kMaxLength; ring, sum and positions start from zero. Returns false
    // (and keeps the previous length and contents) if the new ring cannot be allocated.
    bool setLength(int length);

    // Audio thread: adds x to the window and returns the mean square before the oldest sample
    // leaves (0 at or below kSilence).
    float push(float x) {
        if (x > kMaxAmplitude)
            x = kMaxAmplitude;
        else if (x < -kMaxAmplitude)
            x = -kMaxAmplitude;
        else if (x != x)
            x = 0.0f;
        return pushBounded(x);
    }

    // The same for a sample the caller has already bounded to +-kMaxAmplitude (and that is not
    // NaN).
    float pushBounded(float x) {
        float mean;
        process(&x, &mean, 1);
        return mean;
    }
    // pushBounded for a run of frames samples: meanSquares[i] is what it would return for
    // x[i].
    void process(const float* x, float* meanSquares, int frames) {
        run(
            x, frames, [](float v) { return v; },
            [meanSquares](int i, float mean) { meanSquares[i] = silenced(mean); });
    }
    // push for a run of frames double samples (bounded as push does, then narrowed).
    void process(const double* x, float* meanSquares, int frames) {
        run(x, frames, boundDouble,
            [meanSquares](int i, float mean) { meanSquares[i] = silenced(mean); });
    }
    // The same returning only the largest of the mean squares (0 for frames <= 0): the meters
    // need no more, and the largest before the silence rule gives the same value (the rule
    // never lowers a larger mean square below a smaller one).
    float processLargest(const double* x, int frames) {
        return processLargest(x, frames, allWithinBounds(x, frames));
    }
    // The same where the caller knows whether every |x[i]| is at most kMaxAmplitude (and none
    // is NaN).
    float processLargest(const double* x, int frames, bool withinBounds) {
        // The largest mean square is the largest running sum times the scale (the rounded
        // product never decreases as the sum grows), so the loop keeps only the largest sum.
        // Runs that need no bounds (all samples finite and within kMaxAmplitude, the usual
        // case) skip them.
        float largest = 0.0f;
        const auto keepLargest = [&largest](int, float sum) {
            largest = sum > largest ? sum : largest;
        };
        if (withinBounds)
            run(
                x, frames, [](double v) { return static_cast<float>(v); }, keepLargest, 1.0f);
        else
            run(x, frames, boundDouble, keepLargest, 1.0f);
        return silenced(largest * scale_);
    }
    // processLargest(x, frames, true) of two windows of the same length and write position (a
    // stereo meter's L and R) in one loop: the same results and state as two calls. Windows
    // that differ in length or position, or samples that need bounds, take the two calls.
    static void processLargestPair(RmsWindow& a, RmsWindow& b, const double* xa, const double* xb,
                                   int frames, bool withinBounds, float& largestA, float& largestB);

    // Ring and sum zeroed, positions 0.
    void clear();

    int length() const { return length_; }
    float scale() const { return scale_; }

private:
    // The loop of process, bound(x[i]) giving each bounded single-precision sample. Sum and
    // positions live in locals; the ring is walked in runs up to its last slot, so only the
    // turn's end needs a test.
    static float silenced(float mean) { return mean <= kSilence ? 0.0f : mean; }
    static float boundDouble(double v) {
        const double limit = kMaxAmplitude;
        v = limit < v ? limit : v;   // NaN passes
        v = v < -limit ? -limit : v; // NaN passes
        return static_cast<float>(v != v ? 0.0 : v);
    }

    // True when every |x[i]| is at most kMaxAmplitude (false for a NaN).
    static bool allWithinBounds(const double* x, int frames) {
        bool within;
        run_extremes::largestMagnitude(x, frames, 0.0, kMaxAmplitude, within);
        return within;
    }

    // out(i, mean) takes the mean square of frame i (the running sum itself with scale 1).
    template <class Sample, class Bound, class Out>
    void run(const Sample* x, int frames, Bound bound, Out out) {
        run(x, frames, bound, out, scale_);
    }
    template <class Sample, class Bound, class Out>
    void run(const Sample* x, int frames, Bound bound, Out out, const float scale) {
        float* const ring = ring_.get();
        const int last = length_ - 1;
        float sum = sum_;
        int w = writePosition_;
        int i = 0;
        while (i < frames) {
            // Slots before the last: the oldest square is the next slot.
            const int runEnd = last - w < frames - i ? last : w + (frames - i);
            for (; w < runEnd; ++w, ++i) {
                const float v = bound(x[i]);
                const float square = v * v;
                ring[w] = square;
                sum += square;
                out(i, sum * scale);
                sum -= ring[w + 1];
            }
            if (i == frames) break;
            // The last slot: the turn ends and the sum is formed afresh (slot 0, the oldest
            // square, is left out of it).
            const float v = bound(x[i]);
            const float square = v * v;
            ring[w] = square;
            sum += square;
            out(i, sum * scale);
            ++i;
            sum = resummed();
            w = 0;
        }
        sum_ = sum;
        writePosition_ = w;
    }
    float resummed() const; // at the end of a turn: the sum of every square but the oldest

    std::unique_ptr<float[]> ring_; // the last length_ squares
    int length_ = 0;                // N, 1..kMaxLength
    float scale_ = 1.0f;            // 1 / N
    float sum_ = 0.0f;              // running sum of the squares in the ring
    int writePosition_ = 0;         // next slot to write, 0..length_ - 1
};

} // namespace qv
