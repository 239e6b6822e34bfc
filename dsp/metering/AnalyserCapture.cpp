#include "dsp/metering/AnalyserCapture.h"

namespace qv {

AnalyserCapture::AnalyserCapture() {
    clear();
}

void AnalyserCapture::clear() {
    for (auto& channel : live_)
        for (float& value : channel)
            value = 0.0f;
    position_ = 0;
    count_ = 0;
}

} // namespace qv
