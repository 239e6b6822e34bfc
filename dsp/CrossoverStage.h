#pragma once

#include "dsp/CrossoverBank.h"
#include "dsp/Fft.h"

namespace qv {

// The crossover block step of the loop for both channels: collects kHop input frames, then
// filters the block with the four low-pass filters of each channel's CrossoverBank by
// overlap-save fast convolution, and hands out the outputs one frame at a time during the next
// kHop frames (768 samples after their input, like the bank's own block filter).
//
// Two real sequences share each complex transform: L and R go in as one complex signal
// (L + iR), and each inverse transform returns two low-pass outputs of one channel (LPa + i LPb),
// so a block costs one forward and four inverse 1024-point transforms instead of ten.
//
// Filter design stays in the banks (bank(c), UI/parameter thread); everything else runs on the
// audio thread.
class CrossoverStage {
public:
    static constexpr int kChannels = 2;
    static constexpr int kFilters = CrossoverBank::kFilterCount;
    static constexpr int kHop = CrossoverBank::kHop;
    static constexpr int kFftSize = CrossoverBank::kFftSize;
    static constexpr int kLatency = CrossoverBank::kLatency;

    CrossoverStage();

    // channel 0 = L, 1 = R (others give L).
    CrossoverBank& bank(int channel) { return banks_[channel == 1 ? 1 : 0]; }
    const CrossoverBank& bank(int channel) const { return banks_[channel == 1 ? 1 : 0]; }

    // Audio thread, once per running frame: when a block is complete it is filtered first; then
    // the four low-pass outputs of each channel due now are written to lowL and lowR (LP1..LP4,
    // LP1 the highest crossover) and the input frame is stored.
    void step(double inL, double inR, double lowL[kFilters], double lowR[kFilters]) {
        if (position_ >= kHop) {
            filterBlock();
            position_ = 0;
        }
        const double* due = output_[position_];
        for (int f = 0; f < kFilters; ++f) {
            lowL[f] = due[f];
            lowR[f] = due[kFilters + f];
        }
        input_[2 * position_] = inL;
        input_[2 * position_ + 1] = inR;
        ++position_;
    }

    // Gated frame: zero into the input and every output at the block position, advance it;
    // no block is filtered.
    void stepSilence() {
        if (position_ >= kHop) position_ = 0;
        for (double& value : output_[position_])
            value = 0.0;
        input_[2 * position_] = 0.0;
        input_[2 * position_ + 1] = 0.0;
        ++position_;
    }

    // Engine reset: the convolution history and all block buffers zeroed, the banks' own
    // histories cleared; filters and block position kept.
    void clear();
    // Full reset: clear() and the block position back to 0.
    void fullReset();

    int position() const { return position_; }

private:
    void filterBlock();

    CrossoverBank banks_[kChannels]; // filter design and spectra per channel
    Fft fft_{kFftSize};              // block transforms
    double input_[2 * kHop];         // frames collected this block, (L, R) interleaved
    double overlap_[2 * kHop];       // previous block, (L, R) interleaved
    // Low-pass outputs due in the current block, one row per frame: LP1..LP4 of L, then of R.
    double output_[kHop][kChannels * kFilters];
    double spectrum_[2 * kFftSize]; // transform of (L + iR) over both blocks
    double work_[2 * kFftSize];     // two channels' products, then their inverse transform
    int position_ = 0;              // frames collected this block, 0..kHop
};

} // namespace qv
