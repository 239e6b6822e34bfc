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
