#pragma once

namespace qv {

// The recent input levels of a group of hold-and-release followers that run side by side on
// the same input (see HoldRelease): a ring of length samples whose step writes the newest level
// and returns the one written length - 1 steps earlier, the floor of their release. Audio
// thread, except construction.
class LevelHistory {
public:
    static constexpr int kMinLength = 2;
    static constexpr int kMaxLength = 39;

    // length is bounded to kMinLength..kMaxLength; the ring starts zeroed.
    explicit LevelHistory(int length)
        : length_(length < kMinLength ? kMinLength : (length > kMaxLength ? kMaxLength : length)) {
        clear();
    }

    int length() const { return length_; }

    // The write position in a local for a loop over a run of samples (see HeldEnvelope::Run);
    // end() hands it back.
    struct Run {
        double* ring; // the history's ring
        int length;   // ring length
        int position; // where the next level is written

        double step(double level) {
            ring[position] = level;
            if (++position == length) position = 0;
            return ring[position];
        }
        // How many of the next steps (up to frames) do not write the ring's last slot: a loop
        // may run those as ring[position + j] = level, floor ring[position + j + 1], with no
        // wrap to test, and then move position on by their count.
        int stepsBeforeEnd(int frames) const {
            const int room = length - 1 - position;
            return room < frames ? room : frames;
        }
    };
    Run begin() { return Run{ring_, length_, position_}; }
    void end(const Run& run) { position_ = run.position; }

    double step(double level) {
        Run run = begin();
        const double floor = run.step(level);
        end(run);
        return floor;
    }

    // Ring zeroed, position 0.
    void clear() {
        for (double& value : ring_)
            value = 0.0;
        position_ = 0;
    }

private:
    int length_;              // ring length
    int position_ = 0;        // where the next level is written
    double ring_[kMaxLength]; // the last length_ levels, the oldest at position_
};

} // namespace qv
