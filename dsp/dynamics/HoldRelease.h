#pragma once

#include "dsp/math/FlushDenormal.h"

namespace qv {

// The hold and release phases shared by PeakHoldDetector and RisingSmoothDetector. After the
// envelope stops rising it holds for holdLength samples; then it decays by a release multiplier
// per sample but never below the level that entered holdLength - 1 samples before the current
// one. That floor comes from the LevelHistory of the follower's input, which the owner keeps
// once for the followers that run side by side on the same input: during the release every
// one of the last holdLength - 1 samples was a fall, so the floor is the same input sample
// whichever follower asks. Audio thread, except construction.
class HoldRelease {
public:
    static constexpr int kMinLength = 2;
    static constexpr int kMaxLength = 39;

    // holdLength is bounded to kMinLength..kMaxLength (32 for bands, 39 for the limiter).
    explicit HoldRelease(int holdLength)
        : length_(holdLength < kMinLength ? kMinLength
                                          : (holdLength > kMaxLength ? kMaxLength : holdLength)) {}

    int length() const { return length_; }

    // The envelope rose to or above the level: a later fall starts a new hold.
    void restartHold() { hold_ = 0; }

    // The level fell below envelope: returns the held or released envelope. floor is the input
    // level of length() - 1 samples before (LevelHistory::step of this sample). FixedLength, if
    // not 0, is length() known at compile time: the test then takes a constant, which spares
    // the x87 build a load per sample. Flush false leaves a release below the smallest normal
    // double unflushed, for a caller that flushes the envelope where it leaves the x87
    // registers (see HeldEnvelope::Run).
    template <int FixedLength = 0, bool Flush = true>
    double fall(double envelope, double floor, double releaseMul) {
        static_assert(FixedLength == 0 || (FixedLength >= kMinLength && FixedLength <= kMaxLength),
                      "a hold length within the bounds");
        const int length = FixedLength != 0 ? FixedLength : length_;
        if (hold_ < length) {
            ++hold_;
            return envelope;
        }
        // A long release would otherwise creep through the subnormal range. The larger of the
        // two in the form of a single max instruction (a NaN envelope gives the floor).
        envelope *= releaseMul;
        if (Flush) envelope = flushNonNegative(envelope); // an envelope is 0 or more
        return envelope > floor ? envelope : floor;
    }

    // Hold count 0.
    void clear() { hold_ = 0; }

private:
    int length_;   // hold duration in samples
    int hold_ = 0; // samples held since the envelope last rose (up to length_)
};

} // namespace qv
