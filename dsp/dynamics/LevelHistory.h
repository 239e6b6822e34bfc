#pragma once

#include <cstring>

namespace qv {

// The recent input levels of a group of hold-and-release followers that run side by side on
// the same input (see HoldRelease): a step writes the newest level and returns the one written
// length - 1 steps earlier, the floor of their release. Kept as a straight array, oldest level
// first, with room after the last length - 1 levels for a run of up to kMaxRun new ones: a loop
// over a run then reads each floor and writes each level at plain indices, with no wrap to
// test, and one move per run brings the newest length - 1 levels back to the front. Audio
// thread, except construction.
class LevelHistory {
public:
    static constexpr int kMinLength = 2;
    static constexpr int kMaxLength = 39;
    static constexpr int kMaxRun = 256; // new levels per run

    // length is bounded to kMinLength..kMaxLength; the history starts zeroed.
    explicit LevelHistory(int length)
        : length_(length < kMinLength ? kMinLength : (length > kMaxLength ? kMaxLength : length)) {
        clear();
    }

    int length() const { return length_; }

    // The array for a loop over a run of up to kMaxRun frames (see HeldEnvelope::Run): frame k
    // of the run reads its floor at levels[k] and writes its level at levels[length - 1 + k];
    // end() then keeps the newest length - 1.
    struct Run {
        double* levels; // the last length - 1 levels, oldest first, then the run's
        int length;     // history length
    };
    Run begin() { return Run{levels_, length_}; }
    // After a run of frames levels (1..kMaxRun).
    void end(int frames) {
        std::memmove(levels_, levels_ + frames, sizeof(double) * (length_ - 1));
    }

    double step(double level) {
        const double floor = levels_[0];
        levels_[length_ - 1] = level;
        end(1);
        return floor;
    }

    // All levels zero.
    void clear() {
        for (double& value : levels_)
            value = 0.0;
    }

private:
    int length_;                              // history length
    double levels_[kMaxLength - 1 + kMaxRun]; // the last length_ - 1 levels, then a run's
};

} // namespace qv
