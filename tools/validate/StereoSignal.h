// Two channels of float samples and the checks the validator makes on them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

struct StereoSignal {
    std::vector<float> left, right;

    StereoSignal() = default;
    explicit StereoSignal(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }

    // The music-like test programme at `sampleRate`, `frames` long (the same every time).
    static StereoSignal programme(double sampleRate, std::size_t frames);
};

// Where two signals differ: none when `frames` is 0.
struct SignalDifference {
    std::size_t frames = 0;       // how many frames differ in at least one channel (bitwise)
    std::size_t first = 0;        // first differing frame
    double largest = 0.0;         // largest absolute difference (infinite if a NaN differs)
    std::string describe() const; // "N frames differ, first at F, largest 0.035"
};

SignalDifference compareSignals(const StereoSignal& a, const StereoSignal& b);

// "" when every sample is finite, not subnormal and at most `bound` in magnitude; otherwise
// what the first bad sample is ("NaN at frame 12 (left)").
std::string findBadSample(const StereoSignal& s, double bound);

} // namespace qv
