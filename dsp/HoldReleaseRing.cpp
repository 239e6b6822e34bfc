#include "dsp/HoldReleaseRing.h"

namespace qv {

HoldReleaseRing::HoldReleaseRing(int ringLength)
    : length_(ringLength < kMinLength ? kMinLength
                                      : (ringLength > kMaxLength ? kMaxLength : ringLength)) {
    clear();
}

void HoldReleaseRing::clear() {
    hold_ = 0;
    writePosition_ = 0;
    for (double& value : ring_)
        value = 0.0;
}

} // namespace qv
