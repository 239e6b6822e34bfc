#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// Complex FFT on split (planar) arrays, for fast convolution: the real and imaginary parts lie in
// two arrays, so every butterfly loop runs over contiguous doubles and the compiler can
// vectorise it. forward takes natural order and leaves the spectrum in bit-reversed order
// (decimation in frequency); inverse takes that order back and returns natural order (the
// transposed, conjugated stages: decimation in time). Neither permutes nor scales:
// inverse(forward(x)) = N x. Pointwise products between the two need no reordering.
//
// The stages have radix 8 or 4 down to the 16-point codelets at the small end, whose twiddles
// are constants: 1024 points take three passes over the data.
//
// Sizes: powers of four from kMinSize to MaxSize; the tables are sized for MaxSize, so the
// block convolution's 1024-point object carries no 4096-point tables (PlanarFft takes every
// size up to 4096). Tables are built by the constructor; the transforms allocate nothing and
// call no system function (audio thread safe).
//
// VectorCodelets picks how the codelets are written: as short loops that SSE2 code vectorises,
// or with every factor 1, -i and (+-1 - i) / sqrt 2 spelt out, cheaper where doubles live on the
// x87 unit. The default follows the build; both give the transform to rounding, and the
// native build carries both so that the tests cover the form the x87 products run.
#if defined(__SSE2_MATH__)
inline constexpr bool kPlanarFftVectorCodelets = true;
#else
inline constexpr bool kPlanarFftVectorCodelets = false;
#endif

// Alignment of the transform arrays: 16 bytes where the vector loops rely on it. Elsewhere
// only a double's own, so that no object holding such arrays asks for more alignment than the
// 32-bit Windows heap gives (8 bytes), which the compiler would otherwise take for granted.
#if defined(__SSE2_MATH__)
inline constexpr std::size_t kPlanarFftAlignment = 16;
#else
inline constexpr std::size_t kPlanarFftAlignment = alignof(double);
#endif

// The factors of a pointwise product (xr + i xi)(gr + i gi) that the first inverse pass forms
// as it loads its input, instead of a pass of its own that stores the product and this one that
// loads it again.
struct PlanarProductSource {
    const double* xr;
    const double* xi;
    const double* gr;
    const double* gi;
};

template <int MaxSize, bool VectorCodelets = kPlanarFftVectorCodelets> class SizedPlanarFft {
    static_assert(MaxSize == 16 || MaxSize == 64 || MaxSize == 256 || MaxSize == 1024 ||
                      MaxSize == 4096,
                  "a power of four from 16 to 4096 (positions are 16-bit)");

public:
    static constexpr int kMinSize = 16;
    static constexpr int kMaxSize = MaxSize;

    // A size that is not a power of four in kMinSize..kMaxSize gives an unusable transform of
    // size 0 whose operations do nothing.
    explicit SizedPlanarFft(int size);

    int size() const { return size_; }

    // re and im of every transform must be aligned to kPlanarFftAlignment (16 bytes where
    // doubles live in SSE2 registers: the vector loops rely on it; operator new and std::vector
    // give that alignment there).
    //
    // X[k] = sum x[n] e^(-2 pi i k n / N), written at position bitReversed(k).
    void forward(double* re, double* im) const;
    // From a spectrum in bit-reversed order: x[n] = sum X[k] e^(+2 pi i k n / N) (unscaled).
    void inverse(double* re, double* im) const;
    // The same for a caller that needs only x[N/2..N-1] (overlap-save keeps the upper half): the
    // lower half is left holding intermediate values. The upper half is the full inverse's bit
    // for bit where doubles are rounded at every operation (SSE2); x87 registers, which keep
    // more bits until a value is spilled, can differ in the last place.
    void inverseUpperHalf(double* re, double* im) const;

    // Position of bin k in the bit-reversed order; the map is its own inverse. 0 outside
    // 0..size()-1.
    int bitReversed(int k) const { return k >= 0 && k < size_ ? reversed_[k] : 0; }

    // inverseUpperHalf of the pointwise product (xr + i xi)(gr + i gi) of two spectra in
    // bit-reversed order, formed as the first pass loads it (a pass over the product less);
    // re and im receive the transform as inverseUpperHalf leaves it. The factors are read
    // only, aligned as re and im, and must not overlap re or im. Bit for bit the product
    // written first and transformed where doubles are rounded at every operation (SSE2).
    void inverseUpperHalfOfProduct(const double* xr, const double* xi, const double* gr,
                                   const double* gi, double* re, double* im) const;

private:
    template <bool UpperHalfOnly, bool FromProduct>
    void runInverse(double* re, double* im, PlanarProductSource source) const;

    int size_ = 0;     // N (0 when unusable)
    int log2Size_ = 0; // log2 N
    // Twiddles of the stages above the codelets, stage after stage (span N first): for a stage
    // of radix R and span L = R Q, rows of Q values for m = 1..R-1, the real then the imaginary
    // parts of W^(j rev(m)), W = e^(-2 pi i / L), j = 0..Q-1, rev the bit reversal over log2 R
    // bits: 2 N - 32 values in all (1024 points: 2016).
    alignas(kPlanarFftAlignment) double twiddles_[2 * kMaxSize];
    std::uint16_t reversed_[kMaxSize]; // bit-reversed position of each bin
};

extern template class SizedPlanarFft<1024>;
extern template class SizedPlanarFft<4096>;
#if defined(__SSE2_MATH__)
extern template class SizedPlanarFft<1024, false>;
extern template class SizedPlanarFft<4096, false>;
#endif

// Transforms of any power-of-four size from 16 to 4096.
using PlanarFft = SizedPlanarFft<4096>;

} // namespace qv
