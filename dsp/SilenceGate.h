#pragma once

#include <cmath>

namespace qv {

// Switches the engine off after kSilentLimit + 1 consecutive silent frames (both channels at or
// below kThreshold) and on again at the first louder frame. The first closed frame asks once for
// an engine reset, so long silences produce exact zeros and cost no filter work. Audio thread.
class SilenceGate {
public:
    static constexpr int kSilentLimit = 1024;
    static constexpr double kThreshold = 1e-6; // amplitude counted as silence

    // A frame louder than silence on either channel.
    static bool loud(double left, double right) {
        return std::fabs(left) > kThreshold || std::fabs(right) > kThreshold;
    }

    // Counts the frame; returns whether the engine runs for it.
    bool push(double left, double right) {
        if (loud(left, right)) {
            silentCount_ = 0;
            resetDone_ = false;
            active_ = true;
        } else if (++silentCount_ > kSilentLimit) {
            silentCount_ = kSilentLimit + 1;
            active_ = false;
        }
        return active_;
    }

    // Frames that cannot close the gate: the gate is open and has room for count more silent
    // frames (roomBeforeClosing() >= count). silentTail is how many of them came after the last
    // loud one (count if none was loud). Leaves the gate as count pushes would.
    void passOpen(int count, int silentTail) {
        if (silentTail < count) {
            silentCount_ = silentTail;
            resetDone_ = false;
        } else {
            silentCount_ += count;
        }
    }
    // Silent frames the open gate still takes before it closes (0 while closed).
    int roomBeforeClosing() const { return active_ ? kSilentLimit - silentCount_ : 0; }

    // While closed: true the first time it is asked since the gate last opened (the caller then
    // runs the engine reset), false afterwards.
    bool takeReset() {
        if (resetDone_) return false;
        resetDone_ = true;
        return true;
    }

    // Full reset: closed, counter 0, reset not yet done; the first loud frame opens it.
    void close() {
        silentCount_ = 0;
        active_ = false;
        resetDone_ = false;
    }

    bool active() const { return active_; }
    int silentCount() const { return silentCount_; }

private:
    int silentCount_ = 0;    // consecutive silent frames, saturating at kSilentLimit + 1
    bool active_ = true;     // the engine runs
    bool resetDone_ = false; // the engine reset of this closed stretch has run
};

} // namespace qv
