#pragma once

namespace qv {

// Fixed-length circular delay line of doubles. Each step writes the new sample and returns the
// one written Length - 1 steps earlier, so a ring of length n delays by n - 1 samples.
template <int Length> class DelayRing {
    static_assert(Length >= 1, "a delay ring holds at least one sample");

public:
    static constexpr int kLength = Length;
    static constexpr int kDelay = Length - 1;

    DelayRing() { clear(); }

    // Audio thread.
    double step(double sample) {
        buffer[position] = sample;
        if (++position == Length) position = 0;
        return buffer[position];
    }
    // Audio thread: a run of frames samples in place, each replaced by its delayed sample.
    void process(double* samples, int frames) {
        process(samples, frames, [](int, double delayed) { return delayed; });
    }
    // The same, each delayed sample passed through shape(i, delayed) on its way out (i is its
    // index in the run). The loop runs in stretches that need no wrap-around test per sample.
    template <class Shape> void process(double* samples, int frames, Shape&& shape) {
        int p = position;
        int i = 0;
        while (i < frames) {
            // Up to Length - 1 - p steps read the slot after the one they write.
            const int left = frames - i, toEnd = Length - 1 - p;
            const int stretch = left < toEnd ? left : toEnd;
            double* const slot = buffer + p;
            double* const run = samples + i;
            for (int k = 0; k < stretch; ++k) {
                slot[k] = run[k];
                run[k] = shape(i + k, slot[k + 1]);
            }
            i += stretch;
            p += stretch;
            if (i < frames) { // p is Length - 1: this step writes the last slot, reads the first
                buffer[Length - 1] = samples[i];
                samples[i] = shape(i, buffer[0]);
                p = 0;
                ++i;
            }
        }
        position = p;
    }

    // Zeroes the ring and rewinds the write position.
    void clear() {
        for (double& value : buffer)
            value = 0.0;
        position = 0;
    }

private:
    double buffer[Length]; // the last Length samples written
    int position = 0;      // where the next sample is written
};

} // namespace qv
