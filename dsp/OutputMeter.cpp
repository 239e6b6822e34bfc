#include "dsp/OutputMeter.h"

#include "dsp/ApproxSqrt.h"

#include <cmath>

namespace qv {

namespace {
const int kStartWindowLength = 2205; // 50 ms at 44100 Hz
const double kMaxPeak = 10.0;        // +20 dBFS
const float kMaxMeanSquare = 10.0f;
const float kSilentMeanSquare = 1e-5f; // at or below reads as no signal
const double kReadingScale = 0.1;      // published value per unit of amplitude
} // namespace

OutputMeter::OutputMeter() {
    setWindowLength(kStartWindowLength);
    fullReset();
}

void OutputMeter::setWindowLength(int samples) {
    for (RmsWindow& w : windows_)
        w.setLength(samples);
}

bool OutputMeter::push(double left, double right) {
    const double sample[kChannels] = {left, right};
    float meanSquare[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        // Bounded before narrowing: a double beyond the float range has no float value. NaN
        // counts as silence.
        double bounded = sample[c];
        if (bounded > RmsWindow::kMaxAmplitude)
            bounded = RmsWindow::kMaxAmplitude;
        else if (bounded < -RmsWindow::kMaxAmplitude)
            bounded = -RmsWindow::kMaxAmplitude;
        else if (bounded != bounded)
            bounded = 0.0;
        meanSquare[c] = windows_[c].pushBounded(static_cast<float>(bounded));
    }

    if (counter_ < period_) {
        for (int c = 0; c < kChannels; ++c) {
            double magnitude = std::fabs(sample[c]);
            if (magnitude > kMaxPeak) magnitude = kMaxPeak;
            if (magnitude > peakAccumulator_[c]) peakAccumulator_[c] = magnitude;
            float ms = meanSquare[c];
            if (ms > kMaxMeanSquare) ms = kMaxMeanSquare;
            if (ms > meanSquareAccumulator_[c]) meanSquareAccumulator_[c] = ms;
        }
        ++counter_;
        return false;
    }
    for (int c = 0; c < kChannels; ++c) {
        peak_[c] = static_cast<float>(peakAccumulator_[c] * kReadingScale);
        const float ms = meanSquareAccumulator_[c];
        rms_[c] =
            ms <= kSilentMeanSquare ? 0.0f : static_cast<float>(approxSqrt(ms) * kReadingScale);
        peakAccumulator_[c] = 0.0;
        meanSquareAccumulator_[c] = 0.0f;
    }
    counter_ = 0;
    return true;
}

void OutputMeter::reset() {
    for (int c = 0; c < kChannels; ++c) {
        windows_[c].clear();
        peakAccumulator_[c] = 0.0;
        meanSquareAccumulator_[c] = 0.0f;
        peak_[c] = 0.0f;
        rms_[c] = 0.0f;
    }
    counter_ = 0;
}

void OutputMeter::fullReset() {
    reset();
    counter_ = kStartCount;
}

} // namespace qv
