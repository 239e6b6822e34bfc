#include "dsp/dynamics/RmsWindow.h"

#include "dsp/math/SingleRounding.h"

#include <new>

namespace qv {

RmsWindow::RmsWindow() {
    setLength(1);
}

bool RmsWindow::setLength(int length) {
    if (length < 1) length = 1;
    if (length > kMaxLength) length = kMaxLength;
    float* ring = new (std::nothrow) float[length];
    if (ring == nullptr) return false;
    ring_.reset(ring);
    length_ = length;
    scale_ = roundToSingle(1.0 / length);
    clear();
    return true;
}

// After the last slot was written, slot 0 holds the oldest square, which the running sum has
// already given up.
float RmsWindow::resummed() const {
    double sum = 0.0;
    for (int i = 1; i < length_; ++i)
        sum += ring_[i];
    return roundToSingle(sum);
}

void RmsWindow::clear() {
    for (int i = 0; i < length_; ++i)
        ring_[i] = 0.0f;
    sum_ = 0.0f;
    writePosition_ = 0;
}

} // namespace qv
