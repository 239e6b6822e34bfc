#include "dsp/BandMeter.h"

namespace qv {

namespace {
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

bool BandMeter::push(const double bands[2 * kBands], const double applied[kBands],
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
                    accumulate(b, bands + 2 * b, applied[b], ratio[b]);
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
            accumulate(b, bands + 2 * b, applied[b], ratio[b]);
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
