#pragma once

#include "dsp/fft/Fft.h"

namespace qv {

// Frequency-domain design of one linear-phase crossover low-pass filter: the target magnitude
// over 4096 bins (brick-wall or sloped), its zero-phase impulse response by a 4096-point inverse
// transform, 512 taps mirrored about tap 256 and windowed, and their 1024-point spectrum.
//
// Apart from the fixed tap window it holds only scratch, so the banks of both channels (which
// design identical filters, one after the other on the thread that sets the parameter) share
// one designer instead of carrying 200 KB of design tables each. Designs made from different
// threads at the same time would share the scratch; the parameter layer does not do that.
// Everything here runs on the UI/parameter thread.
class CrossoverDesigner {
public:
    static constexpr int kDesignSize = 4096; // magnitude points over 0..fs
    static constexpr int kTapCount = 512;
    static constexpr int kCentreTap = 256;
    static constexpr int kFftSize = 1024; // length of the filter spectrum

    // Builds the window; the scratch starts zeroed.
    CrossoverDesigner();
    CrossoverDesigner(const CrossoverDesigner&) = delete;
    CrossoverDesigner& operator=(const CrossoverDesigner&) = delete;

    // Designs the filter for cutoffHz (already limited by the caller) at rate fs with the raw
    // "FilterType" and "Qcurve" values; returns its 1024-point complex spectrum (interleaved
    // re, im), valid until the next design. fs must be finite and positive.
    const double* design(double cutoffHz, double fs, float filterType, float slopeSelect);

    // Target magnitude curve (kDesignSize points) of the filter designed last.
    const double* magnitude() const { return magnitude_; }
    // The tap window w[0..511].
    double window(int tap) const { return tap >= 0 && tap < kTapCount ? window_[tap] : 0.0; }

private:
    void designMagnitude(double cutoffHz, double fs, float filterType, float slopeSelect);
    void buildWindow();

    Fft designFft_{kDesignSize};          // 4096-point transform of the design
    SizedFft<kFftSize> tapFft_{kFftSize}; // 1024-point transform of the taps
    double magnitude_[kDesignSize];       // target magnitude of the filter being designed
    double designWork_[2 * kDesignSize];  // complex work array of the 4096-point design
    double tapWork_[2 * kFftSize];        // windowed taps, zero-padded, then their spectrum
    double window_[kTapCount];            // tap window, fixed at construction
};

} // namespace qv
