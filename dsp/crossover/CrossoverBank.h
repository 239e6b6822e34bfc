#pragma once

#include "dsp/Relaxed.h"
#include "dsp/crossover/CrossoverDesigner.h"

#include <atomic>

namespace qv {

// Linear-phase crossover of one channel: the settings and the four low-pass FIR filters (512
// taps, centred on tap 256), kept as 1024-point spectra for block filtering by overlap-save
// fast convolution (CrossoverStage in the loop, CrossoverBlockFilter for a single channel).
// The caller collects 512 input samples, filters the block and reads the four low-pass outputs
// during the next 512 samples, so every output lags its input by kLatency = 768 samples. Bands
// are formed by the caller by subtraction, so they always add back to the input delayed by 768
// samples whatever the filter shapes.
//
// The design itself is done by a CrossoverDesigner that the bank is given and may share with
// the other channel's bank. Filter 1 belongs to the highest crossover ("Freq1-2"), filter 4 to
// the lowest ("Freq4-5").
class CrossoverBank {
public:
    static constexpr int kFilterCount = 4;
    static constexpr int kDesignSize = CrossoverDesigner::kDesignSize; // 4096 bins over 0..fs
    static constexpr int kTapCount = CrossoverDesigner::kTapCount;
    static constexpr int kCentreTap = CrossoverDesigner::kCentreTap;
    static constexpr int kFftSize = CrossoverDesigner::kFftSize;
    static constexpr int kHop = 512; // samples per block
    static constexpr int kLatency = kHop + kCentreTap;
    static constexpr double kMinCrossoverHz = 40.0;

    // Designs the start filters with designer, which must outlive the bank.
    explicit CrossoverBank(CrossoverDesigner& designer);
    CrossoverBank(const CrossoverBank&) = delete;
    CrossoverBank& operator=(const CrossoverBank&) = delete;

    // UI/parameter thread. index 1..4 (others ignored); hundredsOfHz is the frequency / 100 as
    // the parameter layer sends it. The frequency is limited to fs / 2 and to at least 40 Hz,
    // then filter index is redesigned. Non-finite values are ignored.
    void setCrossover(int index, float hundredsOfHz);
    // "FilterType": brick-wall above 0.5, sloped otherwise. Redesigns all four filters.
    void setFilterType(float value);
    // "Qcurve": transition band of one (> 0.666666), two (> 0.333333) or four octaves.
    // Redesigns all four filters.
    void setSlope(float value);
    // Stores fs and redesigns all four filters. Rates that are not finite and positive are
    // ignored. Any other rate is safe: design tables are never indexed past their ends.
    void setSampleRate(double fs);

    double sampleRate() const { return sampleRate_; }
    // Frequency in Hz that filter index (1..4) is designed for, after limiting; 0 otherwise.
    double crossoverHz(int index) const;
    // Target magnitude curve (kDesignSize points) of the filter designed last by the designer.
    const double* magnitude() const { return designer_.magnitude(); }
    // 1024-point complex spectrum (interleaved) of filter index (1..4), or null. The audio thread
    // copies it while a new design may be written over it (see designCount).
    const Relaxed<double>* filterSpectrum(int index) const;
    // Number of filter designs completed so far; it changes after a new spectrum is in place,
    // so a reader that saw a count and copied the spectra afterwards copies again when the
    // count moves on. Any thread.
    unsigned designCount() const { return designCount_.load(std::memory_order_acquire); }

private:
    void designAll();
    void design(int filter); // filter 0..3

    CrossoverDesigner& designer_; // design scratch, possibly shared with the other channel

    double sampleRate_ = 44100.0;      // Hz
    float filterType_ = 1.0f;          // raw "FilterType"; brick-wall above 0.5
    float slopeSelect_ = 1.0f;         // raw "Qcurve"
    double requestedHz_[kFilterCount]; // frequencies as last set, before limiting
    double crossoverHz_[kFilterCount]; // frequencies the filters are designed for (limited)
    Relaxed<double> filterSpectra_[kFilterCount][2 * kFftSize]; // H1..H4, 1024 complex each
    std::atomic<unsigned> designCount_{0};                      // designs completed (wraps)
};

} // namespace qv
