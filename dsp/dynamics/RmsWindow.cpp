#include "dsp/dynamics/RmsWindow.h"

#include "dsp/math/SingleRounding.h"

#include <new>

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#endif

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
    const float* ring = ring_.get();
    double sum = 0.0;
    int i = 1;
#if defined(__SSE2__) && defined(__SSE2_MATH__)
    // Four squares widened at a time, still added one by one in ring order.
    for (; i + 3 < length_; i += 4) {
        const __m128 squares = _mm_loadu_ps(ring + i);
        const __m128d low = _mm_cvtps_pd(squares),
                      high = _mm_cvtps_pd(_mm_movehl_ps(squares, squares));
        sum += _mm_cvtsd_f64(low);
        sum += _mm_cvtsd_f64(_mm_unpackhi_pd(low, low));
        sum += _mm_cvtsd_f64(high);
        sum += _mm_cvtsd_f64(_mm_unpackhi_pd(high, high));
    }
#endif
    for (; i < length_; ++i)
        sum += ring[i];
    return roundToSingle(sum);
}

void RmsWindow::clear() {
    for (int i = 0; i < length_; ++i)
        ring_[i] = 0.0f;
    sum_ = 0.0f;
    writePosition_ = 0;
}

} // namespace qv
