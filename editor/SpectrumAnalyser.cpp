#include "editor/SpectrumAnalyser.h"

#include "dsp/math/ApproxSqrt.h"

#include <cmath>

namespace qv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMagnitudeScale = 1.0 / 2048.0; // a full-scale sine's bin reads about 1
constexpr double kSilence = 0.00001;             // -100 dB: the bottom row
constexpr double kRowsPerDecade = 40.0;          // 2 pixels per dB

} // namespace

SpectrumAnalyser::SpectrumAnalyser() : leftFft_(kSize), rightFft_(kSize) {
    for (int i = 0; i < kSize; ++i) {
        const double phase = 2.0 * kPi * i / (kSize - 1);
        window_[i] = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
    }
    for (double& d : data_)
        d = 0.0;
    for (auto& channel : magnitudes_)
        for (double& m : channel)
            m = 0.0;
    for (auto& channel : points_)
        for (double& p : channel)
            p = 0.0;
}

int SpectrumAnalyser::rowOf(double m) {
    if (!(m >= kSilence)) return kGraphHeight;
    if (m > 1.0) return 0;
    // In extended precision, as the 32-bit DLLs compute it, so that every DLL truncates alike:
    // at 0.00001 the row is just under 200, which double precision rounds up to 200.
    const long double row = -kRowsPerDecade * std::log10(static_cast<long double>(m));
    return row >= kGraphHeight ? kGraphHeight : static_cast<int>(row);
}

void SpectrumAnalyser::transform(const float* samples, const Fft& fft, double* work, double* out) {
    for (int i = 0; i < kSize; ++i) {
        work[2 * i] = samples ? samples[i] * window_[i] : 0.0;
        work[2 * i + 1] = 0.0;
    }
    fft.forward(work);
    for (int k = 0; k < kBins; ++k) {
        // Power in single precision, then the exponent-halving square root.
        const float re = static_cast<float>(work[2 * k]);
        const float im = static_cast<float>(work[2 * k + 1]);
        const float power = re * re + im * im;
        out[k] = static_cast<double>(approxSqrt(power)) * kMagnitudeScale;
    }
}

void SpectrumAnalyser::peaks(const double* bins, const std::int32_t* bands, double* out) const {
    auto bin = [bands](int i) {
        const std::int32_t b = bands ? bands[i] : 0;
        return b < 0 ? 0 : b >= kBins ? kBins - 1 : static_cast<int>(b);
    };
    for (int i = 0; i < kPoints; ++i) {
        const int start = i == 0 ? 0 : bin(i - 1);
        const int end = bin(i);
        double peak = 0.0;
        if (start >= end) {
            peak = bins[start]; // an empty range shows the bin at its start
        } else {
            for (int k = start; k < end; ++k)
                if (bins[k] > peak) peak = bins[k];
        }
        out[i] = peak;
    }
}

void SpectrumAnalyser::analyse(const float* left, const float* right, const std::int32_t* bands) {
    transform(left, leftFft_, data_, magnitudes_[0]);
    transform(right, rightFft_, data_, magnitudes_[1]);
    peaks(magnitudes_[0], bands, points_[0]);
    peaks(magnitudes_[1], bands, points_[1]);
}

} // namespace qv
