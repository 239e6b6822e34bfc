#include "dsp/PlanarFft.h"

#include <cmath>

namespace qv {

namespace {

const double kTwoPi = 6.283185307179586476925;
const int kLastSpan = 4; // the twiddle-free radix-4 stage

int log2OfPowerOfFour(int size, int maxSize) {
    for (int log2 = 4; (1 << log2) <= maxSize; log2 += 2)
        if (size == (1 << log2)) return log2;
    return -1;
}

// The radix-4 stages with twiddles, all blocks of span 4 q. tw holds a stage's six rows of q
// values: Re, Im of W^j, W^2j, W^3j.
//
// Forward (radix-4 decimation in frequency, two fused radix-2 stages, so the result stays in
// plain bit-reversed order), on a0..a3 at stride q:
//   t0 = a0 + a2, t1 = a0 - a2, t2 = a1 + a3, t3 = -i (a1 - a3)
//   a0' = t0 + t2, a1' = (t0 - t2) W^2j, a2' = (t1 + t3) W^j, a3' = (t1 - t3) W^3j.
// (Its x87 code is no shorter with the quarter as a constant: the adds come first and keep
// eight values live whatever the addressing.)
void forwardStage(double* re, double* im, const double* tw, int q, int size) {
    const double* w1r = tw;
    const double* w1i = tw + q;
    const double* w2r = tw + 2 * q;
    const double* w2i = tw + 3 * q;
    const double* w3r = tw + 4 * q;
    const double* w3i = tw + 5 * q;
    for (int start = 0; start < size; start += 4 * q) {
        double* r0 = re + start;
        double* r1 = r0 + q;
        double* r2 = r1 + q;
        double* r3 = r2 + q;
        double* i0 = im + start;
        double* i1 = i0 + q;
        double* i2 = i1 + q;
        double* i3 = i2 + q;
        // The eight rows and the twiddle arrays never overlap.
#pragma GCC ivdep
        for (int j = 0; j < q; ++j) {
            const double t0r = r0[j] + r2[j], t0i = i0[j] + i2[j];
            const double t1r = r0[j] - r2[j], t1i = i0[j] - i2[j];
            const double t2r = r1[j] + r3[j], t2i = i1[j] + i3[j];
            const double dr = r1[j] - r3[j], di = i1[j] - i3[j]; // t3 = -i d = (di, -dr)
            const double u1r = t0r - t2r, u1i = t0i - t2i;
            const double u2r = t1r + di, u2i = t1i - dr;
            const double u3r = t1r - di, u3i = t1i + dr;
            r0[j] = t0r + t2r;
            i0[j] = t0i + t2i;
            r1[j] = u1r * w2r[j] - u1i * w2i[j];
            i1[j] = u1r * w2i[j] + u1i * w2r[j];
            r2[j] = u2r * w1r[j] - u2i * w1i[j];
            i2[j] = u2r * w1i[j] + u2i * w1r[j];
            r3[j] = u3r * w3r[j] - u3i * w3i[j];
            i3[j] = u3r * w3i[j] + u3i * w3r[j];
        }
    }
}

// Inverse: the forward stage transposed and conjugated. The quarter Q is a compile-time constant
// so that the four rows of a block and the six twiddle rows are fixed offsets from one pointer
// each: on 32-bit x86 fourteen separate row pointers do not fit in the registers, and the x87
// butterfly spills (95 instructions against 76). On b0..b3 at stride Q:
// c0 = b0, c1 = b1 conj(W^2j), c2 = b2 conj(W^j), c3 = b3 conj(W^3j); then with
// u0 = c0 + c1, u1 = c0 - c1, u2 = c2 + c3, u3 = c2 - c3:
//   a0 = u0 + u2, a1 = u1 + i u3, a2 = u0 - u2, a3 = u1 - i u3.
// UpperHalfOnly (last stage only, span N): a0 and a1, the lower half of the result, are not
// written.
template <int Q, bool UpperHalfOnly>
void inverseStage(double* re, double* im, const double* tw, int size) {
    for (int start = 0; start < size; start += 4 * Q) {
        double* r = re + start;
        double* i = im + start;
        // The rows of re, im and tw never overlap. Not unrolled: for the smallest quarter the
        // compiler would otherwise interleave the butterflies with shuffles, twice the work.
#pragma GCC ivdep
#pragma GCC unroll 1
        for (int j = 0; j < Q; ++j) {
            const double w1r = tw[j], w1i = tw[j + Q];
            const double w2r = tw[j + 2 * Q], w2i = tw[j + 3 * Q];
            const double w3r = tw[j + 4 * Q], w3i = tw[j + 5 * Q];
            const double b1r = r[j + Q], b1i = i[j + Q];
            const double b2r = r[j + 2 * Q], b2i = i[j + 2 * Q];
            const double b3r = r[j + 3 * Q], b3i = i[j + 3 * Q];
            // c = b conj(w): (br wr + bi wi, bi wr - br wi)
            const double c1r = b1r * w2r + b1i * w2i;
            const double c1i = b1i * w2r - b1r * w2i;
            const double c2r = b2r * w1r + b2i * w1i;
            const double c2i = b2i * w1r - b2r * w1i;
            const double c3r = b3r * w3r + b3i * w3i;
            const double c3i = b3i * w3r - b3r * w3i;
            const double u0r = r[j] + c1r, u0i = i[j] + c1i;
            const double u1r = r[j] - c1r, u1i = i[j] - c1i;
            const double u2r = c2r + c3r, u2i = c2i + c3i;
            const double u3r = c2r - c3r, u3i = c2i - c3i;
            if (!UpperHalfOnly) {
                r[j] = u0r + u2r;
                i[j] = u0i + u2i;
                r[j + Q] = u1r - u3i;
                i[j + Q] = u1i + u3r;
            }
            r[j + 2 * Q] = u0r - u2r;
            i[j + 2 * Q] = u0i - u2i;
            r[j + 3 * Q] = u1r + u3i;
            i[j + 3 * Q] = u1i - u3r;
        }
    }
}

// The last inverse stage (one block of span N = 4 q) writing only the upper half.
void inverseLastStageUpperHalf(double* re, double* im, const double* tw, int q) {
    switch (q) {
    case 4:
        inverseStage<4, true>(re, im, tw, 4 * q);
        break;
    case 16:
        inverseStage<16, true>(re, im, tw, 4 * q);
        break;
    case 64:
        inverseStage<64, true>(re, im, tw, 4 * q);
        break;
    case 256:
        inverseStage<256, true>(re, im, tw, 4 * q);
        break;
    default:
        inverseStage<1024, true>(re, im, tw, 4 * q);
        break;
    }
}

} // namespace

template <int MaxSize> SizedPlanarFft<MaxSize>::SizedPlanarFft(int size) {
    for (double& t : twiddles_)
        t = 0.0;
    for (std::uint16_t& r : reversed_)
        r = 0;
    const int log2 = log2OfPowerOfFour(size, MaxSize);
    if (log2 < 0) return;
    size_ = size;
    log2Size_ = log2;
    for (int k = 0; k < size_; ++k) {
        int reversed = 0;
        for (int b = 0; b < log2Size_; ++b)
            reversed |= ((k >> b) & 1) << (log2Size_ - 1 - b);
        reversed_[k] = static_cast<std::uint16_t>(reversed);
    }
    // Angles from the exact index m / N, so every stage gets correctly rounded values.
    double* tw = twiddles_;
    for (int span = size_; span > kLastSpan; span /= 4) {
        const int quarter = span / 4;
        const int step = size_ / span; // W_span^j == W_N^(j * step)
        for (int power = 1; power <= 3; ++power) {
            double* re = tw + (2 * power - 2) * quarter;
            double* im = re + quarter;
            for (int j = 0; j < quarter; ++j) {
                const double angle = kTwoPi * static_cast<double>(j * power * step) / size_;
                re[j] = std::cos(angle);
                im[j] = -std::sin(angle);
            }
        }
        tw += 6 * quarter;
    }
}

// The stages with twiddles from span N down to 16, then the twiddle-free span-4 stage.
template <int MaxSize> void SizedPlanarFft<MaxSize>::forward(double* re, double* im) const {
    if (re == nullptr || im == nullptr || size_ == 0) return;
    const double* tw = twiddles_;
    for (int span = size_; span > kLastSpan; span /= 4) {
        const int q = span / 4;
        forwardStage(re, im, tw, q, size_);
        tw += 6 * q;
    }
    // Span 4: all twiddles are 1.
    for (int s = 0; s < size_; s += 4) {
        double* r = re + s;
        double* i = im + s;
        const double t0r = r[0] + r[2], t0i = i[0] + i[2];
        const double t1r = r[0] - r[2], t1i = i[0] - i[2];
        const double t2r = r[1] + r[3], t2i = i[1] + i[3];
        const double dr = r[1] - r[3], di = i[1] - i[3];
        r[0] = t0r + t2r;
        i[0] = t0i + t2i;
        r[1] = t0r - t2r;
        i[1] = t0i - t2i;
        r[2] = t1r + di;
        i[2] = t1i - dr;
        r[3] = t1r - di;
        i[3] = t1i + dr;
    }
}

template <int MaxSize> void SizedPlanarFft<MaxSize>::inverse(double* re, double* im) const {
    runInverse<false>(re, im);
}

template <int MaxSize>
void SizedPlanarFft<MaxSize>::inverseUpperHalf(double* re, double* im) const {
    runInverse<true>(re, im);
}

// The forward stages transposed and conjugated, in reverse order: the twiddle-free span-4
// stage first (a0 = u0 + u2 etc. with all twiddles 1), then spans 16 up to N.
template <int MaxSize>
template <bool UpperHalfOnly>
void SizedPlanarFft<MaxSize>::runInverse(double* re, double* im) const {
    if (re == nullptr || im == nullptr || size_ == 0) return;
    for (int s = 0; s < size_; s += 4) {
        double* r = re + s;
        double* i = im + s;
        const double u0r = r[0] + r[1], u0i = i[0] + i[1];
        const double u1r = r[0] - r[1], u1i = i[0] - i[1];
        const double u2r = r[2] + r[3], u2i = i[2] + i[3];
        const double u3r = r[2] - r[3], u3i = i[2] - i[3];
        r[0] = u0r + u2r;
        i[0] = u0i + u2i;
        r[1] = u1r - u3i;
        i[1] = u1i + u3r;
        r[2] = u0r - u2r;
        i[2] = u0i - u2i;
        r[3] = u1r + u3i;
        i[3] = u1i - u3r;
    }
    // Stage twiddles were stored span N first; walk them backwards. The last stage (span N)
    // alone may skip the lower half.
    int offset = 0;
    for (int span = size_; span > kLastSpan; span /= 4)
        offset += 6 * (span / 4);
    for (int span = 4 * kLastSpan; span <= size_; span *= 4) {
        const int q = span / 4;
        offset -= 6 * q;
        const double* tw = twiddles_ + offset;
        if (UpperHalfOnly && span == size_) {
            inverseLastStageUpperHalf(re, im, tw, q);
            break;
        }
        switch (q) {
        case 4:
            inverseStage<4, false>(re, im, tw, size_);
            break;
        case 16:
            inverseStage<16, false>(re, im, tw, size_);
            break;
        case 64:
            inverseStage<64, false>(re, im, tw, size_);
            break;
        case 256:
            inverseStage<256, false>(re, im, tw, size_);
            break;
        default:
            inverseStage<1024, false>(re, im, tw, size_);
            break;
        }
    }
}

template class SizedPlanarFft<1024>;
template class SizedPlanarFft<4096>;

} // namespace qv
