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
#else
    // Four at a time, in ring order: the loop's own instructions were three in four.
    for (; i + 3 < length_; i += 4) {
        sum += ring[i];
        sum += ring[i + 1];
        sum += ring[i + 2];
        sum += ring[i + 3];
    }
#endif
    for (; i < length_; ++i)
        sum += ring[i];
    return roundToSingle(sum);
}

void RmsWindow::processLargestPair(RmsWindow& a, RmsWindow& b, const double* xa, const double* xb,
                                   int frames, bool withinBounds, float& largestA,
                                   float& largestB) {
    if (!withinBounds || a.length_ != b.length_ || a.writePosition_ != b.writePosition_) {
        largestA = a.processLargest(xa, frames, withinBounds);
        largestB = b.processLargest(xb, frames, withinBounds);
        return;
    }
    // The loop of run for both windows, one index for both rings (see run).
    float* const ringA = a.ring_.get();
    float* const ringB = b.ring_.get();
    const int last = a.length_ - 1;
    float sumA = a.sum_, sumB = b.sum_, highA = 0.0f, highB = 0.0f;
    int w = a.writePosition_;
    int i = 0;
    const auto take = [&](int slot) {
        const float va = static_cast<float>(xa[i]), vb = static_cast<float>(xb[i]);
        const float squareA = va * va, squareB = vb * vb;
        ringA[slot] = squareA;
        ringB[slot] = squareB;
        sumA += squareA;
        sumB += squareB;
        highA = sumA > highA ? sumA : highA;
        highB = sumB > highB ? sumB : highB;
    };
    while (i < frames) {
        const int runEnd = last - w < frames - i ? last : w + (frames - i);
        for (; w < runEnd; ++w, ++i) {
            take(w);
            sumA -= ringA[w + 1];
            sumB -= ringB[w + 1];
        }
        if (i == frames) break;
        take(w);
        ++i;
        sumA = a.resummed();
        sumB = b.resummed();
        w = 0;
    }
    a.sum_ = sumA;
    b.sum_ = sumB;
    a.writePosition_ = w;
    b.writePosition_ = w;
    largestA = silenced(highA * a.scale_);
    largestB = silenced(highB * b.scale_);
}

void RmsWindow::clear() {
    for (int i = 0; i < length_; ++i)
        ring_[i] = 0.0f;
    sum_ = 0.0f;
    writePosition_ = 0;
}

} // namespace qv
