#include "dsp/metering/BandMeter.h"

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

// Each frame either counts towards the period or, once the period is full, publishes (that
// frame is not measured: the counter restarts at 0).
bool BandMeter::process(const double* const bands[kBands][2], const double* const applied[kBands],
                        const float ratio[kBands], int frames) {
    const float page = page_;
    const bool allBands = page >= kPageBStart;
    if (idle(page)) {
        publishIdle();
        return false;
    }
    const int selected = selectedBand();
    bool published = false;
    int i = 0;
    while (i < frames) {
        if (counter_ < period_) {
            const int left = frames - i, due = period_ - counter_;
            const int run = left < due ? left : due;
            if (!allBands) {
                accumulate(selected, bands[selected][0] + i, bands[selected][1] + i,
                           applied[selected] + i, ratio[selected], run);
            } else if (meterSwitch_ >= kHoldSwitch) {
                restartAccumulators();
            } else {
                for (int b = 0; b < kBands; ++b)
                    accumulate(b, bands[b][0] + i, bands[b][1] + i, applied[b] + i, ratio[b], run);
            }
            counter_ += run;
            i += run;
            continue;
        }
        endPeriod(allBands, selected);
        published = true;
        ++i;
    }
    return published;
}

void BandMeter::endPeriod(bool allBands, int selected) {
    if (allBands) {
        for (int b = 0; b < kBands; ++b)
            publish(b);
    } else {
        publishIdle();
        publish(selected);
    }
    restartAccumulators();
    counter_ = 0;
}

bool BandMeter::publishPeriod() {
    const float page = page_;
    if (idle(page)) {
        publishIdle();
        return false;
    }
    endPeriod(page >= kPageBStart, selectedBand());
    return true;
}

bool BandMeter::idle(float page) const {
    return page >= kPageBStart && (page >= kPageCStart || !(bandView_ > kBandViewAmplitude));
}

void BandMeter::addExtremes(const double level[kBands], const double signedGain[kBands],
                            const float ratio[kBands], int frames) {
    const float page = page_;
    const bool allBands = page >= kPageBStart;
    if (idle(page)) {
        publishIdle();
        return;
    }
    if (!allBands) {
        const int b = selectedBand();
        addBandExtremes(b, level[b], signedGain[b], ratio[b]);
    } else if (meterSwitch_ >= kHoldSwitch) {
        restartAccumulators();
    } else {
        for (int b = 0; b < kBands; ++b)
            addBandExtremes(b, level[b], signedGain[b], ratio[b]);
    }
    counter_ += frames;
}

void BandMeter::publish(int b) {
    level_[b] = static_cast<float>(levelAccumulator_[b]);
    const double g = kGainScale * gainAccumulator_[b];
    gain_[b] = static_cast<float>(g < kMaxGain ? g : kMaxGain);
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
