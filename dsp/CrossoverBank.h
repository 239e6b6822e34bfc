#pragma once

#include "dsp/Fft.h"

#include <atomic>

namespace qv {

// Linear-phase crossover of one channel: four low-pass FIR filters (512 taps, centred on tap
// 256) designed in the frequency domain and run as a block filter by overlap-save fast
// convolution. The caller collects 512 input samples, calls processBlock and reads the four
// low-pass outputs during the next 512 samples, so every output lags its input by
// kLatency = 768 samples. Bands are formed by the caller by subtraction, so they always add
// back to the input delayed by 768 samples whatever the filter shapes.
//
// Filter 1 belongs to the highest crossover ("Freq1-2"), filter 4 to the lowest ("Freq4-5").
class CrossoverBank {
public:
    static constexpr int kFilterCount = 4;
    static constexpr int kDesignSize = 4096; // magnitude points over 0..fs
    static constexpr int kTapCount = 512;
    static constexpr int kCentreTap = 256;
    static constexpr int kFftSize = 1024;
    static constexpr int kHop = 512; // samples per block
    static constexpr int kLatency = kHop + kCentreTap;
    static constexpr double kMinCrossoverHz = 40.0;

    CrossoverBank();

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

    // Audio thread. in holds the 512 newest input samples; writes 512 samples of each low-pass
    // output. out1 may be the same array as in. Does nothing if any pointer is null.
    void processBlock(const double* in, double* out1, double* out2, double* out3, double* out4);

    // Audio thread (engine reset). Forgets the signal history; filters are kept.
    void clear();

    double sampleRate() const { return sampleRate_; }
    // Frequency in Hz that filter index (1..4) is designed for, after limiting; 0 otherwise.
    double crossoverHz(int index) const;
    // Target magnitude curve (kDesignSize points) of the filter designed last.
    const double* magnitude() const { return magnitude_; }
    // 1024-point complex spectrum (interleaved) of filter index (1..4), or null.
    const double* filterSpectrum(int index) const;
    // Number of filter designs completed so far; it changes after a new spectrum is in place,
    // so a reader that saw a count and copied the spectra afterwards copies again when the
    // count moves on. Any thread.
    unsigned designCount() const { return designCount_.load(std::memory_order_acquire); }

private:
    void designAll();
    void design(int filter); // filter 0..3
    void designMagnitude(double cutoffHz);
    void buildWindow();

    Fft designFft_{kDesignSize}; // 4096-point transform of the filter design
    Fft blockFft_{kFftSize};     // 1024-point transform of the block convolution

    double sampleRate_ = 44100.0;      // Hz
    float filterType_ = 1.0f;          // raw "FilterType"; brick-wall above 0.5
    float slopeSelect_ = 1.0f;         // raw "Qcurve"
    double requestedHz_[kFilterCount]; // frequencies as last set, before limiting
    double crossoverHz_[kFilterCount]; // frequencies the filters are designed for (limited)

    double magnitude_[kDesignSize];      // target magnitude of the filter being designed
    double designWork_[2 * kDesignSize]; // complex work array of the 4096-point design
    double tapWork_[2 * kFftSize];       // windowed taps, zero-padded, then their spectrum
    double window_[kTapCount];           // tap window, fixed at construction
    double filterSpectra_[kFilterCount][2 * kFftSize]; // H1..H4, 1024 complex points each
    double inputSpectrum_[2 * kFftSize]; // time-domain input: previous block, then new block
    double blockWork_[2 * kFftSize];     // X, the transform of the input buffer
    double outputWork_[2 * kFftSize];    // X * Hi and its inverse transform
    // Design (UI thread) and block filter (audio thread) share no work array.
    std::atomic<unsigned> designCount_{0}; // designs completed (wraps)
};

} // namespace qv
