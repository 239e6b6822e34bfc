#pragma once

#include <cstdint>

namespace qv {

// In-place complex FFT of a power-of-two size from 4 to MaxSize on interleaved (re, im) doubles.
// The tables are sized for MaxSize (a power of two, 4..4096), so an object meant for 1024-point
// transforms carries 1024-point tables only; Fft is the variant for every size up to 4096.
// forward computes X[k] = sum x[n] e^(-2 pi i k n / N) (unscaled); inverse uses e^(+...) and
// scales by 1/N, so inverse(forward(x)) == x up to rounding.
//
// Radix-4 decimation in frequency (with one radix-2 stage when log2 N is odd) and a final
// bit-reversal permutation. Twiddles and the permutation are tabulated by the constructor; the
// transforms themselves allocate nothing and call no system function (audio thread safe).
template <int MaxSize> class SizedFft {
    static_assert(MaxSize >= 4 && MaxSize <= 4096 && (MaxSize & (MaxSize - 1)) == 0,
                  "a power of two from 4 to 4096 (positions are 16-bit)");

public:
    static constexpr int kMaxSize = MaxSize;

    // UI or construction time. A size that is not a power of two in 4..kMaxSize gives an
    // unusable transform of size 0 whose operations do nothing.
    explicit SizedFft(int size);

    int size() const { return size_; }

    // data holds size() complex values (2 * size() doubles). Null data is ignored.
    void forward(double* data) const;
    void inverse(double* data) const;

private:
    template <bool Inverse> void transform(double* data) const;
    void permute(double* data) const;

    int size_ = 0;     // transform length N (0 when unusable)
    int log2Size_ = 0; // log2 N
    // Radix-4 stage twiddles, stage after stage (span N, N/4, ... down to 8): for each index j
    // of a stage with span L, W^j, W^2j, W^3j with W = e^(-2 pi i / L), as (re, im) pairs.
    double twiddles_[2 * kMaxSize];
    // Index pairs (i, bitreverse(i)) with i < bitreverse(i), swapped by the permutation.
    std::uint16_t swapPairs_[kMaxSize];
    int swapPairCount_ = 0; // number of pairs in swapPairs_ (two entries per pair)
};

extern template class SizedFft<1024>;
extern template class SizedFft<4096>;

// Transforms of any power-of-two size up to 4096.
using Fft = SizedFft<4096>;

} // namespace qv
