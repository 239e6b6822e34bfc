// The spectrum analyser's arithmetic: a Blackman-windowed 4096-point transform of each channel's
// last 4096 output samples, magnitudes by the exponent-halving square root, and the peak of each
// of 88 analyser bands (nine per octave, bin ranges from the effect's band table), turned into
// graph rows (2 pixels per dB, 0 dB at the top). UI thread; allocates nothing.
#pragma once

#include "dsp/fft/Fft.h"

#include <cstdint>

namespace qv {

class SpectrumAnalyser {
public:
    static constexpr int kSize = 4096;       // samples per channel and transform points
    static constexpr int kBins = kSize / 2;  // bins 0..2047 are looked at
    static constexpr int kPoints = 88;       // analyser bands, one graph point each
    static constexpr int kGraphHeight = 200; // rows: 0 dB at 0, -100 dB at 200

    SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    // left, right: kSize samples each (null reads as silence). bands: kPoints bin indices (null
    // reads as all 0); indices outside the bins are held to the nearest bin.
    void analyse(const float* left, const float* right, const std::int32_t* bands);
    // Band peaks of the last analysis (magnitude, 1.0 for a full-scale sine's bin).
    double leftPoint(int i) const { return inRange(i) ? points_[0][i] : 0.0; }
    double rightPoint(int i) const { return inRange(i) ? points_[1][i] : 0.0; }

    // Graph row of a magnitude: kGraphHeight below 0.00001 (and for NaN), 0 above 1, else
    // trunc(-40 log10 m), at most kGraphHeight.
    static int rowOf(double magnitude);

private:
    static bool inRange(int i) { return i >= 0 && i < kPoints; }
    void transform(const float* samples, const Fft& fft, double* data, double* magnitudes);
    void peaks(const double* magnitudes, const std::int32_t* bands, double* out) const;

    Fft leftFft_;                 // transform workspace of the left channel
    Fft rightFft_;                // and of the right
    double window_[kSize];        // Blackman window coefficients
    double data_[2 * kSize];      // complex transform input and output (re, im pairs)
    double magnitudes_[2][kBins]; // bins 0..2047, left then right
    double points_[2][kPoints];   // band peaks, left then right
};

} // namespace qv
