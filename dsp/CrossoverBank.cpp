#include "dsp/CrossoverBank.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const double kTwoPi = 6.283185307179586476925;
const double kInitialCrossoverHz = 350.0;
const double kStopbandMagnitude = 0.00001;  // -100 dB
const double kTransitionFallDb = 100.0;     // spread evenly over the transition bins
const double kMinDesignHz = 1.0;            // lower limit of brick-wall edge and slope start
const double kMaxTransitionEndHz = 16000.0; // the sloped fall always ends by 16 kHz
const double kHundredHz = 100.0;            // unit of setCrossover's argument
const int kHalfDesign = CrossoverBank::kDesignSize / 2;

bool isFiniteRate(double fs) {
    return std::isfinite(fs) && fs > 0.0;
}

// Truncates a non-negative bin position and bounds it to 0..limit (conversion of huge values
// to int would be undefined).
int boundedBin(double bin, int limit) {
    if (!(bin > 0.0)) return 0;
    if (bin >= limit) return limit;
    return static_cast<int>(bin);
}

} // namespace

CrossoverBank::CrossoverBank() {
    for (int i = 0; i < kFilterCount; ++i)
        requestedHz_[i] = crossoverHz_[i] = kInitialCrossoverHz;
    for (double& m : magnitude_)
        m = 0.0;
    for (double& d : designWork_)
        d = 0.0;
    buildWindow();
    clear();
    designAll();
}

// Hann shape over 509 samples, sin^2(pi j / 509), with a two-sample flat top at 255 and 256.
void CrossoverBank::buildWindow() {
    const int n = kTapCount;
    const double d = 1.0 / (n - 3);
    for (int j = 0; j < n; ++j)
        window_[j] = (std::sin((j * d - 0.25) * kTwoPi) + 1.0) / 2.0;
    window_[n / 2 - 1] = 1.0;
    window_[n / 2] = 1.0;
}

void CrossoverBank::setCrossover(int index, float hundredsOfHz) {
    if (index < 1 || index > kFilterCount || !std::isfinite(hundredsOfHz)) return;
    requestedHz_[index - 1] = static_cast<double>(hundredsOfHz) * kHundredHz;
    design(index - 1);
}

void CrossoverBank::setFilterType(float value) {
    filterType_ = value;
    designAll();
}

void CrossoverBank::setSlope(float value) {
    slopeSelect_ = value;
    designAll();
}

void CrossoverBank::setSampleRate(double fs) {
    if (!isFiniteRate(fs)) return;
    sampleRate_ = fs;
    designAll();
}

double CrossoverBank::crossoverHz(int index) const {
    if (index < 1 || index > kFilterCount) return 0.0;
    return crossoverHz_[index - 1];
}

const double* CrossoverBank::filterSpectrum(int index) const {
    if (index < 1 || index > kFilterCount) return nullptr;
    return filterSpectra_[index - 1];
}

void CrossoverBank::designAll() {
    for (int i = 0; i < kFilterCount; ++i)
        design(i);
}

// The limit is applied to the requested frequency at every design, so a rate change that
// lowers fs / 2 below a crossover does not lose the crossover when the rate rises again.
void CrossoverBank::design(int filter) {
    double hz = requestedHz_[filter];
    const double nyquist = sampleRate_ / 2.0;
    if (hz >= nyquist)
        hz = nyquist;
    else if (hz <= kMinCrossoverHz)
        hz = kMinCrossoverHz;
    crossoverHz_[filter] = hz;

    designMagnitude(hz);

    // Zero-phase impulse response of the target curve.
    for (int k = 0; k < kDesignSize; ++k) {
        designWork_[2 * k] = magnitude_[k];
        designWork_[2 * k + 1] = 0.0;
    }
    designFft_.inverse(designWork_);

    // Mirror about the centre tap (exactly linear phase, delay 256), then window. The taps go
    // are zero-padded to the block transform's length.
    double* taps = tapWork_;
    for (int j = 0; j < kTapCount; ++j) {
        const int lag = j >= kCentreTap ? j - kCentreTap : kCentreTap - j;
        taps[2 * j] = designWork_[2 * lag] * window_[j];
        taps[2 * j + 1] = 0.0;
    }
    for (int j = 2 * kTapCount; j < 2 * kFftSize; ++j)
        taps[j] = 0.0;
    blockFft_.forward(taps);

    // The audio thread may read the spectrum meanwhile; copying the finished spectrum keeps
    // the window in which it sees a mixture as short as possible.
    std::copy(taps, taps + 2 * kFftSize, filterSpectra_[filter]);
    designCount_.fetch_add(1, std::memory_order_release);
}

// Target magnitude over bins 0..4095 (bin k is k * fs / 4096 Hz), symmetric about the middle.
// Bin positions are bounded to the table: at rates below 32 kHz the sloped fall may end beyond
// fs / 2; it is then cut at fs / 2 with its slope per bin unchanged.
void CrossoverBank::designMagnitude(double cutoffHz) {
    const double binsPerHz = kDesignSize / sampleRate_;
    int passEnd = 0;       // bins below this pass at 1.0
    int transitionEnd = 0; // bins from passEnd to here fall; the rest are stopband
    double dbPerBin = 0.0; // fall per transition bin

    if (filterType_ > 0.5f) {
        const double fc = std::max(cutoffHz, kMinDesignHz);
        double edge = std::trunc(binsPerHz * fc);
        if (edge > 0.0) edge -= 1.0;
        passEnd = transitionEnd = boundedBin(edge, kHalfDesign);
    } else {
        double startFactor = 0.25, endFactor = 4.0; // four octaves
        if (slopeSelect_ > 0.666666f) {
            startFactor = 0.75;
            endFactor = 1.5;
        } else if (slopeSelect_ > 0.333333f) {
            startFactor = 0.5;
            endFactor = 2.0;
        }
        const double startHz = std::max(cutoffHz * startFactor, kMinDesignHz);
        const double endHz = std::min(cutoffHz * endFactor, kMaxTransitionEndHz);
        const double i0 = std::trunc(startHz * kDesignSize / sampleRate_);
        const double i1 = std::trunc(endHz * kDesignSize / sampleRate_);
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

void CrossoverBank::processBlock(const double* in, double* out1, double* out2, double* out3,
                                 double* out4) {
    if (in == nullptr || out1 == nullptr || out2 == nullptr || out3 == nullptr || out4 == nullptr)
        return;
    double* const outputs[kFilterCount] = {out1, out2, out3, out4};

    double* newBlock = inputSpectrum_ + 2 * kHop;
    for (int m = 0; m < kHop; ++m) {
        newBlock[2 * m] = in[m];
        newBlock[2 * m + 1] = 0.0;
    }
    std::copy(inputSpectrum_, inputSpectrum_ + 2 * kFftSize, blockWork_);
    blockFft_.forward(blockWork_);
    // The new block is the overlap of the next one.
    std::copy(newBlock, newBlock + 2 * kHop, inputSpectrum_);

    for (int f = 0; f < kFilterCount; ++f) {
        const double* h = filterSpectra_[f];
        for (int k = 0; k < 2 * kFftSize; k += 2) {
            const double xr = blockWork_[k], xi = blockWork_[k + 1];
            const double hr = h[k], hi = h[k + 1];
            outputWork_[k] = xr * hr - xi * hi;
            outputWork_[k + 1] = xr * hi + xi * hr;
        }
        blockFft_.inverse(outputWork_);
        // Points 512..1023 are free of circular wrap-around (the taps span 512 samples).
        double* out = outputs[f];
        for (int m = 0; m < kHop; ++m)
            out[m] = outputWork_[2 * (kHop + m)];
    }
}

void CrossoverBank::clear() {
    std::fill(inputSpectrum_, inputSpectrum_ + 2 * kFftSize, 0.0);
    std::fill(blockWork_, blockWork_ + 2 * kFftSize, 0.0);
    std::fill(outputWork_, outputWork_ + 2 * kFftSize, 0.0);
}

} // namespace qv
