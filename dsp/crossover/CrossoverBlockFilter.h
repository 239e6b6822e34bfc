#pragma once

#include "dsp/crossover/CrossoverBank.h"
#include "dsp/fft/Fft.h"

namespace qv {

// One channel's crossover block filter on its own (the loop uses CrossoverStage, which filters
// both channels together): every 512 input samples, overlap-save fast convolution of the
// previous and the new block with the four filters of a CrossoverBank, giving 512 samples of
// each low-pass output. The outputs are read during the next 512 samples, so they lag the
// input by CrossoverBank::kLatency = 768 samples. Audio thread (allocates nothing).
class CrossoverBlockFilter {
public:
    static constexpr int kHop = CrossoverBank::kHop;
    static constexpr int kFftSize = CrossoverBank::kFftSize;

    // History zeroed.
    CrossoverBlockFilter();

    // in holds the 512 newest input samples; writes 512 samples of each low-pass output of
    // bank's filters 1..4. out1 may be the same array as in. Does nothing if a pointer is null.
    void process(const CrossoverBank& bank, const double* in, double* out1, double* out2,
                 double* out3, double* out4);

    // Forgets the signal history.
    void clear();

private:
    SizedFft<kFftSize> fft_{kFftSize};   // 1024-point block transforms
    double inputSpectrum_[2 * kFftSize]; // time-domain input: previous block, then new block
    double blockWork_[2 * kFftSize];     // X, the transform of the input buffer
    double outputWork_[2 * kFftSize];    // X * Hi and its inverse transform
};

} // namespace qv
