#include "dsp/metering/OutputMeter.h"

#include "dsp/math/ApproxSqrt.h"
#include "dsp/metering/RunExtremes.h"

#include <algorithm>
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

// Each frame enters the RMS windows; it then either counts towards the period or, once the
// period is full, publishes (that frame's peak and mean square are not measured: the counter
// restarts at 0). The windows take the frames of a run and give its largest mean square.
bool OutputMeter::process(const double* left, const double* right, int frames) {
    bool published = false;
    const double* const sample[kChannels] = {left, right};
    int i = 0;
    while (i < frames) {
        if (counter_ < period_) {
            const int rest = frames - i, due = period_ - counter_;
            const int run = rest < due ? rest : due;
            accumulate(left + i, right + i, run);
            counter_ += run;
            i += run;
            continue;
        }
        for (int c = 0; c < kChannels; ++c) {
            windows_[c].processLargest(sample[c] + i, 1); // not measured
            peak_[c] = static_cast<float>(peakAccumulator_[c] * kReadingScale);
            const float ms = meanSquareAccumulator_[c];
            rms_[c] =
                ms <= kSilentMeanSquare ? 0.0f : static_cast<float>(approxSqrt(ms) * kReadingScale);
            peakAccumulator_[c] = 0.0;
            meanSquareAccumulator_[c] = 0.0f;
        }
        counter_ = 0;
        published = true;
        ++i;
    }
    return published;
}

// Both readings are capped: the cap of the largest is the largest of the caps.
void OutputMeter::accumulate(const double* left, const double* right, int frames) {
    const double* const samples[kChannels] = {left, right};
    bool within[kChannels];
    for (int c = 0; c < kChannels; ++c)
        peakAccumulator_[c] =
            std::min(run_extremes::largestMagnitude(samples[c], frames, peakAccumulator_[c],
                                                    RmsWindow::kMaxAmplitude, within[c]),
                     kMaxPeak);
    float largest[kChannels];
    RmsWindow::processLargestPair(windows_[0], windows_[1], left, right, frames,
                                  within[0] && within[1], largest[0], largest[1]);
    for (int c = 0; c < kChannels; ++c)
        meanSquareAccumulator_[c] =
            std::min(std::max(largest[c], meanSquareAccumulator_[c]), kMaxMeanSquare);
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
