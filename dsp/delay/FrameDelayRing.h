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
        writeSignal(0, left, frames);
        writeSignal(1, right, frames);
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
    // Signal w's run at the write position (up to the wrap, then from slot 0); the slots a
    // delayed run can reach across the wrap, 0..MaxRun - 2, also in their copy after the ring.
    void writeSignal(int w, const double* in, int frames) {
        double* const ring = values_[w];
        const int beforeWrap = kCapacity - position_ < frames ? kCapacity - position_ : frames;
        copySamples(in, ring + position_, beforeWrap);
        copySamples(in + beforeWrap, ring, frames - beforeWrap);
        const int first = beforeWrap < frames ? 0 : position_;
        const int end = beforeWrap < frames ? frames - beforeWrap : position_ + frames;
        if constexpr (MaxRun > 1) {
            for (int slot = first; slot < end && slot < MaxRun - 1; ++slot)
                ring[kCapacity + slot] = ring[slot];
        }
    }

    double values_[Width]
                  [kCapacity + MaxRun - 1]; // per signal the ring, then its first slots again
    int position_ = 0;                      // where the next frame is written
};

} // namespace qv
