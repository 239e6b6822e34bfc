#pragma once

#include "dsp/crossover/CrossoverBank.h"
#include "dsp/delay/CopySamples.h"
#include "dsp/fft/PlanarFft.h"

namespace qv {

// The crossover block step of the loop for both channels: collects kHop input frames, then
// filters the block with the four low-pass filters of each channel's CrossoverBank by
// overlap-save fast convolution, and hands out the outputs one frame at a time during the next
// kHop frames (768 samples after their input, like the bank's own block filter).
//
// Two real sequences share each complex transform: L and R go in as one complex signal
// (L + iR), so a block costs one forward and four inverse 1024-point transforms instead of ten.
// While both channels' filters are equal (the plug-in designs them identically), each inverse
// transform filters (L + iR) by one filter and returns LPf(L) + i LPf(R): its input is the
// product of the forward transform and the filter, with no pass that separates the channels.
// When the banks differ (for a block or so between their redesigns), the channel spectra are
// separated and each inverse transform returns two low-pass outputs of one channel
// (LPa + i LPb). The transforms work on split arrays in bit-reversed spectral order
// (PlanarFft), and the filter spectra are kept here in that order (the kernels), copied again
// whenever a bank redesigns.
//
// Filter design stays in the banks (bank(c), UI/parameter thread), which share one designer
// owned here; everything else runs on the audio thread.
//
// VectorCodelets picks the form of the transforms (see PlanarFft) and of the products: one pass
// of pairs before the inverse transforms where doubles live in SSE2 registers, formed by each
// inverse transform's first pass on the x87 unit. The native build carries both forms so that
// the tests cover the one the x87 products run.
template <bool VectorCodelets = kPlanarFftVectorCodelets> class BasicCrossoverStage {
public:
    static constexpr int kChannels = 2;
    static constexpr int kFilters = CrossoverBank::kFilterCount;
    static constexpr int kHop = CrossoverBank::kHop;
    static constexpr int kFftSize = CrossoverBank::kFftSize;
    static constexpr int kLatency = CrossoverBank::kLatency;
    static constexpr int kJobs = kChannels * kFilters / 2; // inverse transforms per block

    BasicCrossoverStage();
    BasicCrossoverStage(const BasicCrossoverStage&) = delete;
    BasicCrossoverStage& operator=(const BasicCrossoverStage&) = delete;

    // channel 0 = L, 1 = R (others give L).
    CrossoverBank& bank(int channel) { return banks_[channel == 1 ? 1 : 0]; }
    const CrossoverBank& bank(int channel) const { return banks_[channel == 1 ? 1 : 0]; }

    // Audio thread, once per running frame: when a block is complete it is filtered first; then
    // the four low-pass outputs of each channel due now are written to lowL and lowR (LP1..LP4,
    // LP1 the highest crossover) and the input frame is stored.
    void step(double inL, double inR, double lowL[kFilters], double lowR[kFilters]) {
        beginRun();
        for (int f = 0; f < kFilters; ++f) {
            lowL[f] = lowPass(0, f)[0];
            lowR[f] = lowPass(1, f)[0];
        }
        store(&inL, &inR, 1);
    }

    // The same for a run of running frames (the loop's chunks). beginRun, audio thread, first:
    // filters a complete block and returns how many frames the run may take before the next
    // block boundary (1..kHop). lowPass(c, f): the outputs of channel c's filter f (0 = LP1 ..
    // 3 = LP4) due for the run's frames, in order. store then writes the run's input frames
    // (no more than beginRun allowed) and advances the block position past them.
    int beginRun() {
        if (position_ >= kHop) {
            filterBlock();
            position_ = 0;
        }
        return kHop - position_;
    }
    const double* lowPass(int channel, int filter) const {
        return output_[channel == 1 ? 1 : 0][filter & (kFilters - 1)] + kHop + position_;
    }
    void store(const double* inL, const double* inR, int frames) {
        copySamples(inL, input_[current_][0] + position_, frames);
        copySamples(inR, input_[current_][1] + position_, frames);
        position_ += frames;
    }

    // Gated frame: zero into the input and every output at the block position, advance it;
    // no block is filtered.
    void stepSilence() {
        if (position_ >= kHop) position_ = 0;
        for (auto& channel : output_)
            for (double* filter : channel)
                filter[kHop + position_] = 0.0;
        input_[current_][0][position_] = 0.0;
        input_[current_][1][position_] = 0.0;
        ++position_;
    }

    // Engine reset: the convolution history and all block buffers zeroed; filters and block
    // position kept.
    void clear();
    // Full reset: clear() and the block position back to 0.
    void fullReset();

    int position() const { return position_; }

private:
    void filterBlock();
    void separateChannels();
    void productsFromSpectrum();
    void sharedFilterProducts();
    void refreshKernels();
    bool banksDesignedAlike() const;
    // The transform arrays of a job (see output_), part 0 real, 1 imaginary: shared filters,
    // filter `job` of channel `part`; else filter 2 pair + part of the job's channel.
    double* jobArray(int job, int part) {
        const int channel = job / (kFilters / 2), pair = job % (kFilters / 2);
        return sharedFilters_ ? output_[part][job] : output_[channel][2 * pair + part];
    }
    double* jobRe(int job) { return jobArray(job, 0); }
    double* jobIm(int job) { return jobArray(job, 1); }

    CrossoverDesigner designer_; // design scratch shared by both banks (identical designs)
    // Filter settings and spectra per channel.
    CrossoverBank banks_[kChannels]{CrossoverBank{designer_}, CrossoverBank{designer_}};
    SizedPlanarFft<kFftSize, VectorCodelets> fft_{kFftSize}; // block transforms
    // Frames collected this block (input_[current_]) and in the previous one, which the
    // transform overlaps: the two swap roles at each block instead of being copied.
    double input_[2][kChannels][kHop];
    // The transform arrays are aligned as PlanarFft requires. Each holds kRowPad doubles (one
    // cache line) more than a transform: arrays of exactly 8 KiB would all start at the same
    // offset within 4 KiB, and the product pass, which walks eighteen of them side by side,
    // would find them all in one set of the data cache and evict its own lines at every step.
    static constexpr int kRowPad = 8;
    static constexpr int kRow = kFftSize + kRowPad;        // doubles per transform array
    alignas(kPlanarFftAlignment) double spectrumRe_[kRow]; // transform of (L + iR) over both
                                                           // blocks, bit-reversed order
    alignas(kPlanarFftAlignment) double spectrumIm_[kRow];
    alignas(kPlanarFftAlignment) double channelRe_[kChannels]
                                                  [kRow]; // 2 XL and 2 XR, bit-reversed order
    alignas(kPlanarFftAlignment) double channelIm_[kChannels][kRow];
    // Kernels per job, bit-reversed order: shared filters, job f: Hf / N; else (L: LP1/LP2,
    // LP3/LP4, then R) the filter pair combined as (Ha + i Hb) / 2N.
    alignas(kPlanarFftAlignment) double kernelRe_[kJobs][kRow];
    alignas(kPlanarFftAlignment) double kernelIm_[kJobs][kRow];
    // Per channel and filter: the transform array (the product, then its inverse transform)
    // whose upper half holds the low-pass output due in the current block. A job's real and
    // imaginary parts are LPf of L and R (shared filters) or LPa and LPb of one channel, so
    // the outputs lie in the same place in both layouts.
    alignas(kPlanarFftAlignment) double output_[kChannels][kFilters][kRow];
    unsigned kernelDesign_[kChannels]; // bank design counts the kernels were copied at
    bool kernelsValid_ = false;        // kernels copied at least once
    bool sharedFilters_ = false;       // kernels in the shared-filter layout
    int position_ = 0;                 // frames collected this block, 0..kHop
    int current_ = 0;                  // input_ of this block, 0 or 1
};

using CrossoverStage = BasicCrossoverStage<>;

extern template class BasicCrossoverStage<kPlanarFftVectorCodelets>;
#if defined(__SSE2_MATH__)
extern template class BasicCrossoverStage<false>;
#endif

} // namespace qv
