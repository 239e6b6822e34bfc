#include "dsp/crossover/CrossoverBlockFilter.h"

#include <algorithm>

namespace qv {

CrossoverBlockFilter::CrossoverBlockFilter() {
    clear();
}

void CrossoverBlockFilter::process(const CrossoverBank& bank, const double* in, double* out1,
                                   double* out2, double* out3, double* out4) {
    if (in == nullptr || out1 == nullptr || out2 == nullptr || out3 == nullptr || out4 == nullptr)
        return;
    double* const outputs[CrossoverBank::kFilterCount] = {out1, out2, out3, out4};

    double* newBlock = inputSpectrum_ + 2 * kHop;
    for (int m = 0; m < kHop; ++m) {
        newBlock[2 * m] = in[m];
        newBlock[2 * m + 1] = 0.0;
    }
    std::copy(inputSpectrum_, inputSpectrum_ + 2 * kFftSize, blockWork_);
    fft_.forward(blockWork_);
    // The new block is the overlap of the next one.
    std::copy(newBlock, newBlock + 2 * kHop, inputSpectrum_);

    for (int f = 0; f < CrossoverBank::kFilterCount; ++f) {
        const Relaxed<double>* h = bank.filterSpectrum(f + 1);
        for (int k = 0; k < 2 * kFftSize; k += 2) {
            const double xr = blockWork_[k], xi = blockWork_[k + 1];
            const double hr = h[k], hi = h[k + 1];
            outputWork_[k] = xr * hr - xi * hi;
            outputWork_[k + 1] = xr * hi + xi * hr;
        }
        fft_.inverse(outputWork_);
        // Points 512..1023 are free of circular wrap-around (the taps span 512 samples).
        double* out = outputs[f];
        for (int m = 0; m < kHop; ++m)
            out[m] = outputWork_[2 * (kHop + m)];
    }
}

void CrossoverBlockFilter::clear() {
    std::fill(inputSpectrum_, inputSpectrum_ + 2 * kFftSize, 0.0);
    std::fill(blockWork_, blockWork_ + 2 * kFftSize, 0.0);
    std::fill(outputWork_, outputWork_ + 2 * kFftSize, 0.0);
}

} // namespace qv
