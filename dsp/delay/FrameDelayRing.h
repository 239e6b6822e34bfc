#pragma once

#include "dsp/delay/CopySamples.h"

namespace qv {

// Fixed-length circular delay line of frames of Width doubles sharing one write position (the
// stereo input and reference rings of the loop). Each step writes the new frame and returns the
// one written Length - 1 steps earlier, so a ring of length n delays by n - 1 frames, exactly
// like DelayRing; runs of frames read any delay from frames..Length - 1, so one ring can serve
// several delays of the same signal.
//
// Runs of delayed samples are read in place, with no copy: delayedRun hands out one plain array
// for any run of up to MaxRun frames, because the first MaxRun - 1 slots of each signal's ring
// are kept again after its end. The ring has room for MaxRun - 1 frames beyond Length, so a run
// read before a writeRun of up to MaxRun frames stays intact after it.
template <int Length, int Width, int MaxRun = 1> class FrameDelayRing {
    static_assert(MaxRun <= Length, "a run's wrap reaches only the slots kept again");
    static_assert(Length >= 1 && Width >= 1 && MaxRun >= 1,
                  "a frame ring holds at least one value");

public:
    static constexpr int kLength = Length;
    static constexpr int kDelay = Length - 1;
    static constexpr int kWidth = Width;
    static constexpr int kCapacity = Length + MaxRun - 1; // slots per copy

    FrameDelayRing() { clear(); }

    // Two-value frames (stereo rings).
    void step(double left, double right, double& outLeft, double& outRight) {
        static_assert(Width == 2, "stereo step on a stereo ring only");
        put(0, position_, left);
        put(1, position_, right);
        outLeft = delayedRun(0, kDelay)[0]; // written Length - 1 steps before this one
        outRight = delayedRun(1, kDelay)[0];
        if (++position_ == kCapacity) position_ = 0;
    }

    // Signal w's samples for the next frames to be written (up to MaxRun), delayed by delay
    // (frames..Length - 1 for a run of frames): element k is the sample written delay steps
    // before frame k of the run. The array stays valid through one writeRun of up to MaxRun
    // frames.
    const double* delayedRun(int w, int delay) const {
        int p = position_ - delay;
        if (p < 0) p += kCapacity;
        return values_[w] + p;
    }

    // Stereo rings, a run of frames at once (the loop's chunks): readRun copies, for each of the
    // next frames frames to be written, the frame written delay steps before it (delay
    // frames..Length - 1, so that every frame read lies before the run); writeRun then writes
    // the run and advances past it (frames up to MaxRun).
    void readRun(int delay, double* left, double* right, int frames) const {
        static_assert(Width == 2, "stereo runs on a stereo ring only");
        const double* l = delayedRun(0, delay);
        const double* r = delayedRun(1, delay);
        for (int k = 0; k < frames; ++k) {
            left[k] = l[k];
            right[k] = r[k];
        }
    }
    void writeRun(const double* left, const double* right, int frames) {
        static_assert(Width == 2, "stereo runs on a stereo ring only");
        copySamples(left, runArea(0), frames);
        copySamples(right, runArea(1), frames);
        commitRun(frames);
    }
    // The same without the copy: the run's frames of signal w are written straight to
    // runArea(w) (room for MaxRun frames, none of them read by a delayedRun of this run), then
    // commitRun takes them in and advances.
    double* runArea(int w) { return values_[w] + position_; }
    void commitRun(int frames) {
        for (int w = 0; w < Width; ++w)
            keepCopies(values_[w], frames);
        const int p = position_ + frames;
        position_ = p < kCapacity ? p : p - kCapacity;
    }

    // Writes a frame of zeros and advances (the gated loop).
    void stepSilence() {
        for (int w = 0; w < Width; ++w)
            put(w, position_, 0.0);
        if (++position_ == kCapacity) position_ = 0;
    }

    // Zeroes every frame and rewinds the write position.
    void clear() {
        for (auto& copies : values_)
            for (double& value : copies)
                value = 0.0;
        position_ = 0;
    }

private:
    void put(int w, int slot, double value) {
        values_[w][slot] = value;
        if constexpr (MaxRun > 1) {
            if (slot < MaxRun - 1) values_[w][slot + kCapacity] = value;
        }
    }
    // After a run of frames was written at the write position of a signal's ring: the slots
    // written past the ring's end are the first slots wrapped around (copied to their place),
    // and the first MaxRun - 1 slots are kept again after the end.
    void keepCopies(double* ring, int frames) {
        if constexpr (MaxRun > 1) {
            const int end = position_ + frames;
            if (end > kCapacity) copySamples(ring + kCapacity, ring, end - kCapacity);
            const int keptEnd = end < MaxRun - 1 ? end : MaxRun - 1;
            if (keptEnd > position_)
                copySamples(ring + position_, ring + position_ + kCapacity, keptEnd - position_);
        }
    }

    double values_[Width]
                  [kCapacity + MaxRun - 1]; // per signal the ring, then its first slots again
    int position_ = 0;                      // where the next frame is written
};

} // namespace qv
