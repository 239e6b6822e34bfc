#pragma once

#include "dsp/FlushDenormal.h"

namespace qv {

// The hold and release phases shared by PeakHoldDetector and RisingSmoothDetector. After the
// envelope stops rising it holds for ringLength samples while the falling levels are recorded;
// then it decays by a release multiplier per sample but never below the level that entered the
// ring ringLength - 1 samples before the current one. Audio thread, except construction.
class HoldReleaseRing {
public:
    static constexpr int kMinLength = 2; // the read position needs one slot ahead of the write
    static constexpr int kMaxLength = 39;

    // ringLength is bounded to kMinLength..kMaxLength (32 for bands, 39 for the limiter).
    explicit HoldReleaseRing(int ringLength);

    int length() const { return length_; }

    // The envelope rose to or above the level: a later fall starts a new hold.
    void restartHold() { hold_ = 0; }

    // The level fell below envelope: returns the held or released envelope. Inline: it runs
    // for most samples of every follower.
    double fall(double envelope, double level, double releaseMul) {
        if (hold_ < length_) {
            if (hold_ == 0) writePosition_ = 0;
            ring_[writePosition_++] = level;
            ++hold_;
            return envelope;
        }
        int readPosition = writePosition_ + 1;
        if (readPosition >= length_) readPosition -= length_;
        const double floor = ring_[readPosition];
        // A long release would otherwise creep through the subnormal range.
        envelope = flushDenormal(envelope * releaseMul);
        if (envelope <= floor) envelope = floor;
        if (writePosition_ >= length_) writePosition_ = 0;
        ring_[writePosition_++] = level;
        return envelope;
    }

    // Hold count and positions 0, ring zeroed.
    void clear();

private:
    int length_;              // ring length and hold duration in samples
    int hold_ = 0;            // samples held since the envelope last rose (up to length_)
    int writePosition_ = 0;   // next ring slot to write, 0..length_
    double ring_[kMaxLength]; // levels recorded since the hold began, oldest overwritten
};

} // namespace qv
