#include "dsp/BandMeter.h"

#include <cmath>

namespace qv {

namespace {
const double kMaxLevel = 1.0;          // band levels are capped at full scale
const double kGainScale = 0.1;         // published gain per unit of applied gain
const double kMaxGain = 1.0;           // published gain cap (+20 dB)
const float kHoldSwitch = 0.5f;        // "MeterSW" from here holds the page B meters
const float kBandViewAmplitude = 0.5f; // "BandView" above: amplitude and compression view
// "SelectedChannel" thresholds of bands 1..4; below the last, band 5.
const float kSelectionBounds[4] = {0.8f, 0.6f, 0.4f, 0.2f};
} // namespace

BandMeter::BandMeter() {
    fullReset();
}

int BandMeter::selectedBand() const {
    for (int b = 0; b < 4; ++b)
        if (selected_ >= kSelectionBounds[b]) return b;
    return kBands - 1;
}

void BandMeter::accumulate(int b, const double band[2], double applied, float ratio) {
    const double l = std::fabs(band[0]), r = std::fabs(band[1]);
    double peak = l > r ? l : r;
    if (peak > kMaxLevel) peak = kMaxLevel;
    if (peak > levelAccumulator_[b]) levelAccumulator_[b] = peak;
    if (ratio <= 0.5f) {
        if (applied > gainAccumulator_[b]) gainAccumulator_[b] = applied;
    } else if (applied < gainAccumulator_[b]) {
        gainAccumulator_[b] = applied;
    }
}

bool BandMeter::push(const double bands[kBands][2], const double applied[kBands],
                     const float ratio[kBands]) {
    const float page = page_;
    if (page >= kPageBStart) {
        if (page >= kPageCStart || !(bandView_ > kBandViewAmplitude)) {
            publishIdle();
            return false;
        }
        if (counter_ < period_) {
            if (meterSwitch_ >= kHoldSwitch) {
                restartAccumulators();
            } else {
                for (int b = 0; b < kBands; ++b)
                    accumulate(b, bands[b], applied[b], ratio[b]);
            }
            ++counter_;
            return false;
        }
        for (int b = 0; b < kBands; ++b) {
            level_[b] = static_cast<float>(levelAccumulator_[b]);
            const double g = kGainScale * gainAccumulator_[b];
            gain_[b] = static_cast<float>(g < kMaxGain ? g : kMaxGain);
        }
    } else {
        const int b = selectedBand();
        if (counter_ < period_) {
            accumulate(b, bands[b], applied[b], ratio[b]);
            ++counter_;
            return false;
        }
        publishIdle();
        level_[b] = static_cast<float>(levelAccumulator_[b]);
        const double g = kGainScale * gainAccumulator_[b];
        gain_[b] = static_cast<float>(g < kMaxGain ? g : kMaxGain);
    }
    restartAccumulators();
    counter_ = 0;
    return true;
}

void BandMeter::publishIdle() {
    for (int b = 0; b < kBands; ++b) {
        level_[b] = 0.0f;
        gain_[b] = kIdleGain;
    }
}

void BandMeter::restartAccumulators() {
    for (int b = 0; b < kBands; ++b) {
        levelAccumulator_[b] = 0.0;
        gainAccumulator_[b] = 1.0;
    }
}

void BandMeter::reset() {
    publishIdle();
    restartAccumulators();
    counter_ = 0;
}

void BandMeter::fullReset() {
    reset();
    counter_ = kStartCount;
}

} // namespace qv
