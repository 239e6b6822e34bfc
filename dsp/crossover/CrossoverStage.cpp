#include "dsp/crossover/CrossoverStage.h"

#include <algorithm>

namespace qv {

template <bool VectorCodelets> BasicCrossoverStage<VectorCodelets>::BasicCrossoverStage() {
    for (int c = 0; c < kChannels; ++c)
        kernelDesign_[c] = 0;
    fullReset();
}

// Both banks hold the same four filter spectra (the plug-in sets them alike; between the two
// banks' redesigns they differ for a block or so).
template <bool VectorCodelets>
bool BasicCrossoverStage<VectorCodelets>::banksDesignedAlike() const {
    for (int f = 1; f <= kFilters; ++f) {
        const Relaxed<double>* a = banks_[0].filterSpectrum(f);
        const Relaxed<double>* b = banks_[1].filterSpectrum(f);
        for (int k = 0; k < 2 * kFftSize; ++k)
            if (a[k].load() != b[k].load()) return false;
    }
    return true;
}

// Separate channels, job of filters a, b: G = (Ha + i Hb) / 2N at bit-reversed positions. The
// 1/2 belongs to the channel separation below and 1/N to the unscaled inverse transform.
// Shared filters, job f: G = Hf / N. Both scales are powers of two, so folding them in changes
// no rounding. Audio thread, at a block boundary: the layout chosen here holds for the block.
template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::refreshKernels() {
    const unsigned design[kChannels] = {banks_[0].designCount(), banks_[1].designCount()};
    if (kernelsValid_ && design[0] == kernelDesign_[0] && design[1] == kernelDesign_[1]) return;
    sharedFilters_ = banksDesignedAlike();
    if (sharedFilters_) {
        const double scale = 1.0 / kFftSize;
        for (int f = 0; f < kFilters; ++f) {
            const Relaxed<double>* h = banks_[0].filterSpectrum(f + 1);
            for (int k = 0; k < kFftSize; ++k) {
                const int p = fft_.bitReversed(k);
                kernelRe_[f][p] = h[2 * k] * scale;
                kernelIm_[f][p] = h[2 * k + 1] * scale;
            }
        }
    } else {
        const double scale = 0.5 / kFftSize;
        for (int channel = 0; channel < kChannels; ++channel) {
            const CrossoverBank& bank = banks_[channel];
            for (int pair = 0; pair < kFilters / 2; ++pair) {
                const int job = channel * (kFilters / 2) + pair;
                const Relaxed<double>* ha = bank.filterSpectrum(2 * pair + 1);
                const Relaxed<double>* hb = bank.filterSpectrum(2 * pair + 2);
                for (int k = 0; k < kFftSize; ++k) {
                    const int p = fft_.bitReversed(k);
                    kernelRe_[job][p] = (ha[2 * k] - hb[2 * k + 1]) * scale;
                    kernelIm_[job][p] = (ha[2 * k + 1] + hb[2 * k]) * scale;
                }
            }
        }
    }
    for (int c = 0; c < kChannels; ++c)
        kernelDesign_[c] = design[c];
    kernelsValid_ = true;
}

// With Z the transform of z = L + iR over the two blocks and Hf the spectrum of a filter's
// real taps, the inverse transform of Z Hf is LPf(L) + i LPf(R). For banks that differ, the
// channel spectra are
//   XL[k] = (Z[k] + conj Z[N-k]) / 2,   XR[k] = (Z[k] - conj Z[N-k]) / 2i,
// and for one channel X and two of its filters Ha, Hb the inverse transform of X (Ha + i Hb)
// carries the two filtered signals in its real and imaginary parts.
//
// In bit-reversed order bin N-k lies in the same octave block as bin k, mirrored: positions
// [B, 2B) hold bins whose mirrors lie at 3B - 1 - p (positions 0 and 1, bins 0 and N/2, are
// their own mirrors).
//
// The outputs due lie in the upper half of each inverse transform. On the x87 unit the
// transform's first pass forms the product with the kernel as it loads its input; SSE2 code
// forms all products first in one pass of pairs.
template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::filterBlock() {
    refreshKernels();

    const double(*previous)[kHop] = input_[current_ ^ 1];
    const double(*current)[kHop] = input_[current_];
    std::copy(previous[0], previous[0] + kHop, spectrumRe_);
    std::copy(current[0], current[0] + kHop, spectrumRe_ + kHop);
    std::copy(previous[1], previous[1] + kHop, spectrumIm_);
    std::copy(current[1], current[1] + kHop, spectrumIm_ + kHop);
    current_ ^= 1; // the next block overwrites the older one
    fft_.forward(spectrumRe_, spectrumIm_);

    if constexpr (VectorCodelets) {
        if (sharedFilters_)
            sharedFilterProducts();
        else
            productsFromSpectrum();
        for (int job = 0; job < kJobs; ++job)
            fft_.inverseUpperHalf(jobRe(job), jobIm(job));
    } else {
        if (!sharedFilters_) separateChannels();
        for (int job = 0; job < kJobs; ++job) {
            const int c = job / (kFilters / 2);
            fft_.inverseUpperHalfOfProduct(sharedFilters_ ? spectrumRe_ : channelRe_[c],
                                           sharedFilters_ ? spectrumIm_ : channelIm_[c],
                                           kernelRe_[job], kernelIm_[job], jobRe(job), jobIm(job));
        }
    }
}

// The channel spectra from Z (see filterBlock), into channelRe_ and channelIm_.
template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::separateChannels() {
    const double* zr = spectrumRe_;
    const double* zi = spectrumIm_;
    double* lr = channelRe_[0];
    double* li = channelIm_[0];
    double* rr = channelRe_[1];
    double* ri = channelIm_[1];
    for (int p = 0; p < 2; ++p) {
        lr[p] = zr[p] + zr[p];
        li[p] = 0.0;
        rr[p] = zi[p] + zi[p];
        ri[p] = 0.0;
    }
    for (int block = 2; block < kFftSize; block *= 2) {
        const int mirrorSum = 3 * block - 1;
        for (int p = block; p < 2 * block; ++p) {
            const int m = mirrorSum - p;
            lr[p] = zr[p] + zr[m];
            li[p] = zi[p] - zi[m];
            rr[p] = zi[p] + zi[m];
            ri[p] = zr[m] - zr[p];
        }
    }
}

// The same channel spectra, each multiplied at once by the kernels of its two jobs into the
// work arrays (one pass instead of a separation pass and four product passes; where doubles
// live in SSE2 registers it runs on pairs).
template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::productsFromSpectrum() {
    const double* zr = spectrumRe_;
    const double* zi = spectrumIm_;
    const auto products = [this](int p, double lr, double li, double rr, double ri) {
        for (int job = 0; job < kJobs; ++job) {
            const int c = job / (kFilters / 2), pair = job % (kFilters / 2);
            const double xr = c == 0 ? lr : rr, xi = c == 0 ? li : ri;
            const double gr = kernelRe_[job][p], gi = kernelIm_[job][p];
            output_[c][2 * pair][p] = xr * gr - xi * gi;
            output_[c][2 * pair + 1][p] = xr * gi + xi * gr;
        }
    };
    for (int p = 0; p < 2; ++p)
        products(p, zr[p] + zr[p], 0.0, zi[p] + zi[p], 0.0);
    for (int block = 2; block < kFftSize; block *= 2) {
        const int mirrorSum = 3 * block - 1;
        for (int p = block; p < 2 * block; ++p) {
            const int m = mirrorSum - p;
            products(p, zr[p] + zr[m], zi[p] - zi[m], zi[p] + zi[m], zr[m] - zr[p]);
        }
    }
}

// Z times each shared filter's kernel into the work arrays: Z is loaded once for all four, and
// SSE2 code runs the loop on pairs.
template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::sharedFilterProducts() {
    const double* zr = spectrumRe_;
    const double* zi = spectrumIm_;
    for (int p = 0; p < kFftSize; ++p) {
        const double xr = zr[p], xi = zi[p];
        for (int job = 0; job < kJobs; ++job) {
            const double gr = kernelRe_[job][p], gi = kernelIm_[job][p];
            output_[0][job][p] = xr * gr - xi * gi;
            output_[1][job][p] = xr * gi + xi * gr;
        }
    }
}

template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::clear() {
    for (int c = 0; c < kChannels; ++c) {
        for (auto& block : input_)
            std::fill(block[c], block[c] + kHop, 0.0);
    }
    for (auto& channel : output_)
        for (double* filter : channel)
            std::fill(filter, filter + kFftSize, 0.0);
    std::fill(spectrumRe_, spectrumRe_ + kFftSize, 0.0);
    std::fill(spectrumIm_, spectrumIm_ + kFftSize, 0.0);
}

template <bool VectorCodelets> void BasicCrossoverStage<VectorCodelets>::fullReset() {
    clear();
    position_ = 0;
}

template class BasicCrossoverStage<kPlanarFftVectorCodelets>;
#if defined(__SSE2_MATH__)
template class BasicCrossoverStage<false>;
#endif

} // namespace qv
