#include "dsp/fft/Fft.h"

#include <cmath>

namespace qv {

namespace {

const double kTwoPi = 6.283185307179586476925;
const int kMinLog2Size = 2;

int log2OfPowerOfTwo(int size, int maxSize) {
    for (int log2 = kMinLog2Size; (1 << log2) <= maxSize; ++log2)
        if (size == (1 << log2)) return log2;
    return -1;
}

int bitReverse(int index, int bits) {
    int reversed = 0;
    for (int b = 0; b < bits; ++b)
        reversed |= ((index >> b) & 1) << (bits - 1 - b);
    return reversed;
}

} // namespace

template <int MaxSize> SizedFft<MaxSize>::SizedFft(int size) {
    for (double& t : twiddles_)
        t = 0.0;
    const int log2 = log2OfPowerOfTwo(size, MaxSize);
    if (log2 < 0) return;
    size_ = size;
    log2Size_ = log2;

    // Twiddles of every radix-4 stage with a span of at least 8 (span 4 needs none). Angles come
    // from the exact index m / N so that every stage gets correctly rounded values.
    double* tw = twiddles_;
    for (int span = size_; span >= 8; span /= 4) {
        const int quarter = span / 4;
        const int step = size_ / span; // W_span^j == W_N^(j * step)
        for (int j = 0; j < quarter; ++j) {
            for (int power = 1; power <= 3; ++power) {
                const double angle = kTwoPi * static_cast<double>(j * power * step) / size_;
                *tw++ = std::cos(angle);
                *tw++ = -std::sin(angle);
            }
        }
    }

    for (int i = 0; i < size_; ++i) {
        const int r = bitReverse(i, log2Size_);
        if (i < r) {
            swapPairs_[swapPairCount_ * 2] = static_cast<std::uint16_t>(i);
            swapPairs_[swapPairCount_ * 2 + 1] = static_cast<std::uint16_t>(r);
            ++swapPairCount_;
        }
    }
}

template <int MaxSize> void SizedFft<MaxSize>::forward(double* data) const {
    if (data == nullptr || size_ == 0) return;
    transform<false>(data);
    permute(data);
}

template <int MaxSize> void SizedFft<MaxSize>::inverse(double* data) const {
    if (data == nullptr || size_ == 0) return;
    transform<true>(data);
    permute(data);
    const double scale = 1.0 / size_;
    for (int i = 0; i < 2 * size_; ++i)
        data[i] *= scale;
}

template <int MaxSize> void SizedFft<MaxSize>::permute(double* data) const {
    for (int p = 0; p < swapPairCount_; ++p) {
        double* a = data + 2 * swapPairs_[2 * p];
        double* b = data + 2 * swapPairs_[2 * p + 1];
        const double re = a[0];
        const double im = a[1];
        a[0] = b[0];
        a[1] = b[1];
        b[0] = re;
        b[1] = im;
    }
}

// Each radix-4 butterfly is two fused radix-2 decimation-in-frequency stages, so the outputs
// stay in plain bit-reversed order. For a0..a3 at stride q = span / 4 and W = e^(-+2 pi i/span):
//   t0 = a0 + a2, t1 = a0 - a2, t2 = a1 + a3, t3 = -+i (a1 - a3)
//   a0' = t0 + t2, a1' = (t0 - t2) W^2j, a2' = (t1 + t3) W^j, a3' = (t1 - t3) W^3j.
template <int MaxSize>
template <bool Inverse>
void SizedFft<MaxSize>::transform(double* data) const {
    const double* tw = twiddles_;
    int span = size_;
    for (; span >= 8; span /= 4) {
        const int quarter = span / 4;
        for (int start = 0; start < size_; start += span) {
            double* p0 = data + 2 * start;
            double* p1 = p0 + 2 * quarter;
            double* p2 = p1 + 2 * quarter;
            double* p3 = p2 + 2 * quarter;
            const double* w = tw;
            for (int j = 0; j < quarter; ++j, w += 6) {
                const int o = 2 * j;
                const double t0r = p0[o] + p2[o], t0i = p0[o + 1] + p2[o + 1];
                const double t1r = p0[o] - p2[o], t1i = p0[o + 1] - p2[o + 1];
                const double t2r = p1[o] + p3[o], t2i = p1[o + 1] + p3[o + 1];
                const double dr = p1[o] - p3[o], di = p1[o + 1] - p3[o + 1];
                // t3 = -i d (forward) or +i d (inverse)
                const double t3r = Inverse ? -di : di;
                const double t3i = Inverse ? dr : -dr;
                const double w1r = w[0], w1i = Inverse ? -w[1] : w[1];
                const double w2r = w[2], w2i = Inverse ? -w[3] : w[3];
                const double w3r = w[4], w3i = Inverse ? -w[5] : w[5];
                const double u1r = t0r - t2r, u1i = t0i - t2i;
                const double u2r = t1r + t3r, u2i = t1i + t3i;
                const double u3r = t1r - t3r, u3i = t1i - t3i;
                p0[o] = t0r + t2r;
                p0[o + 1] = t0i + t2i;
                p1[o] = u1r * w2r - u1i * w2i;
                p1[o + 1] = u1r * w2i + u1i * w2r;
                p2[o] = u2r * w1r - u2i * w1i;
                p2[o + 1] = u2r * w1i + u2i * w1r;
                p3[o] = u3r * w3r - u3i * w3i;
                p3[o + 1] = u3r * w3i + u3i * w3r;
            }
        }
        tw += 6 * quarter;
    }

    if (span == 4) {
        // Last radix-4 stage: all twiddles are 1.
        for (double* p = data; p < data + 2 * size_; p += 8) {
            const double t0r = p[0] + p[4], t0i = p[1] + p[5];
            const double t1r = p[0] - p[4], t1i = p[1] - p[5];
            const double t2r = p[2] + p[6], t2i = p[3] + p[7];
            const double dr = p[2] - p[6], di = p[3] - p[7];
            const double t3r = Inverse ? -di : di;
            const double t3i = Inverse ? dr : -dr;
            p[0] = t0r + t2r;
            p[1] = t0i + t2i;
            p[2] = t0r - t2r;
            p[3] = t0i - t2i;
            p[4] = t1r + t3r;
            p[5] = t1i + t3i;
            p[6] = t1r - t3r;
            p[7] = t1i - t3i;
        }
    } else {
        // span == 2 (odd log2 N): a plain radix-2 stage.
        for (double* p = data; p < data + 2 * size_; p += 4) {
            const double r = p[0] - p[2], i = p[1] - p[3];
            p[0] += p[2];
            p[1] += p[3];
            p[2] = r;
            p[3] = i;
        }
    }
}

template class SizedFft<1024>;
template class SizedFft<4096>;

} // namespace qv
