#include "dsp/HoldReleaseRing.h"

#include "dsp/FlushDenormal.h"

namespace qv {

HoldReleaseRing::HoldReleaseRing(int ringLength)
    : length_(ringLength < kMinLength ? kMinLength
                                      : (ringLength > kMaxLength ? kMaxLength : ringLength)) {
    clear();
}

double HoldReleaseRing::fall(double envelope, double level, double releaseMul) {
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

void HoldReleaseRing::clear() {
    hold_ = 0;
    writePosition_ = 0;
    for (double& value : ring_)
        value = 0.0;
}

} // namespace qv
