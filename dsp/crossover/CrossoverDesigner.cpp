#include "dsp/crossover/CrossoverDesigner.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const double kTwoPi = 6.283185307179586476925;
const double kStopbandMagnitude = 0.00001;  // -100 dB
const double kTransitionFallDb = 100.0;     // spread evenly over the transition bins
const double kMinDesignHz = 1.0;            // lower limit of brick-wall edge and slope start
const double kMaxTransitionEndHz = 16000.0; // the sloped fall always ends by 16 kHz
const int kHalfDesign = CrossoverDesigner::kDesignSize / 2;

// Truncates a non-negative bin position and bounds it to 0..limit (conversion of huge values
// to int would be undefined).
int boundedBin(double bin, int limit) {
    if (!(bin > 0.0)) return 0;
    if (bin >= limit) return limit;
    return static_cast<int>(bin);
}

} // namespace

CrossoverDesigner::CrossoverDesigner() {
    std::fill(magnitude_, magnitude_ + kDesignSize, 0.0);
    std::fill(designWork_, designWork_ + 2 * kDesignSize, 0.0);
    std::fill(tapWork_, tapWork_ + 2 * kFftSize, 0.0);
    buildWindow();
}

// Hann shape over 509 samples, sin^2(pi j / 509), with a two-sample flat top at 255 and 256.
void CrossoverDesigner::buildWindow() {
    const int n = kTapCount;
    const double d = 1.0 / (n - 3);
    for (int j = 0; j < n; ++j)
        window_[j] = (std::sin((j * d - 0.25) * kTwoPi) + 1.0) / 2.0;
    window_[n / 2 - 1] = 1.0;
    window_[n / 2] = 1.0;
}

const double* CrossoverDesigner::design(double cutoffHz, double fs, float filterType,
                                        float slopeSelect) {
    designMagnitude(cutoffHz, fs, filterType, slopeSelect);

    // Zero-phase impulse response of the target curve.
    for (int k = 0; k < kDesignSize; ++k) {
        designWork_[2 * k] = magnitude_[k];
        designWork_[2 * k + 1] = 0.0;
    }
    designFft_.inverse(designWork_);

    // Mirror about the centre tap (exactly linear phase, delay 256), then window. The taps are
    // zero-padded to the block transform's length.
    double* taps = tapWork_;
    for (int j = 0; j < kTapCount; ++j) {
        const int lag = j >= kCentreTap ? j - kCentreTap : kCentreTap - j;
        taps[2 * j] = designWork_[2 * lag] * window_[j];
        taps[2 * j + 1] = 0.0;
    }
    for (int j = 2 * kTapCount; j < 2 * kFftSize; ++j)
        taps[j] = 0.0;
    tapFft_.forward(taps);
    return taps;
}

// Target magnitude over bins 0..4095 (bin k is k * fs / 4096 Hz), symmetric about the middle.
// Bin positions are bounded to the table: at rates below 32 kHz the sloped fall may end beyond
// fs / 2; it is then cut at fs / 2 with its slope per bin unchanged.
void CrossoverDesigner::designMagnitude(double cutoffHz, double fs, float filterType,
                                        float slopeSelect) {
    const double binsPerHz = kDesignSize / fs;
    int passEnd = 0;       // bins below this pass at 1.0
    int transitionEnd = 0; // bins from passEnd to here fall; the rest are stopband
    double dbPerBin = 0.0; // fall per transition bin

    if (filterType > 0.5f) {
        const double fc = std::max(cutoffHz, kMinDesignHz);
        double edge = std::trunc(binsPerHz * fc);
        if (edge > 0.0) edge -= 1.0;
        passEnd = transitionEnd = boundedBin(edge, kHalfDesign);
    } else {
        double startFactor = 0.25, endFactor = 4.0; // four octaves
        if (slopeSelect > 0.666666f) {
            startFactor = 0.75;
            endFactor = 1.5;
        } else if (slopeSelect > 0.333333f) {
            startFactor = 0.5;
            endFactor = 2.0;
        }
        const double startHz = std::max(cutoffHz * startFactor, kMinDesignHz);
        const double endHz = std::min(cutoffHz * endFactor, kMaxTransitionEndHz);
        const double i0 = std::trunc(startHz * kDesignSize / fs);
        const double i1 = std::trunc(endHz * kDesignSize / fs);
        if (i1 > i0) dbPerBin = kTransitionFallDb / (i1 - i0);
        passEnd = boundedBin(i0, kHalfDesign);
        transitionEnd = std::max(passEnd, boundedBin(i1, kHalfDesign));
    }

    for (int k = 0; k < passEnd; ++k)
        magnitude_[k] = 1.0;
    for (int k = passEnd; k < transitionEnd; ++k)
        magnitude_[k] = std::pow(10.0, -0.05 * dbPerBin * (k - passEnd));
    for (int k = transitionEnd; k < kHalfDesign; ++k)
        magnitude_[k] = kStopbandMagnitude;
    for (int j = 0; j < kHalfDesign; ++j)
        magnitude_[kHalfDesign + j] = magnitude_[kHalfDesign - 1 - j];
}

} // namespace qv
