#include "tools/BandReductionProbe.h"

#include "shell/BandMeterReport.h"

#include <cmath>

namespace qv {

namespace {

constexpr float kUnityReading = BandMeterReport::kUnityReading;

// The plug-in's band meter readings, or false when it does not answer.
bool query(AEffect* effect, BandMeterReport& report) {
    report = BandMeterReport();
    return effect->dispatcher(effect, effVendorSpecific, kBandMeterQuery, 0, &report, 0.0f) == 1 &&
           report.bands == BandReductionProbe::kBands;
}

} // namespace

bool BandReductionProbe::attach(AEffect* plugin) {
    *this = BandReductionProbe();
    if (plugin == nullptr || plugin->magic != kEffectMagic || plugin->dispatcher == nullptr)
        return false;
    BandMeterReport report;
    if (!query(plugin, report)) return false;
    effect_ = plugin;
    for (int b = 0; b < kBands; ++b)
        lowest_[b] = latest_[b] = kUnityReading;
    attached_ = true;
    return true;
}

void BandReductionProbe::sample() {
    BandMeterReport report;
    if (!attached_ || !query(effect_, report)) return;
    for (int b = 0; b < kBands; ++b) {
        const float reading = report.gain[b];
        // Readings lie in 0..1 (gain times 0.1, capped at +20 dB); anything else is not one.
        if (!(reading >= 0.0f && reading <= 1.0f)) continue;
        latest_[b] = reading;
        if (reading < lowest_[b]) lowest_[b] = reading;
    }
}

namespace {
// dB of reduction a gain reading stands for; none for a gain above unity.
double reductionDb(float reading) {
    if (reading <= 0.0f) return BandReductionProbe::kFullReduction;
    const double db = 20.0 * std::log10(static_cast<double>(kUnityReading) / reading);
    return db < BandReductionProbe::kFullReduction ? db : BandReductionProbe::kFullReduction;
}
} // namespace

double BandReductionProbe::largestReductionDb(int band) const {
    if (!attached_ || band < 1 || band > kBands) return 0.0;
    return reductionDb(lowest_[band - 1]);
}

double BandReductionProbe::latestReductionDb(int band) const {
    if (!attached_ || band < 1 || band > kBands) return 0.0;
    const double db = reductionDb(latest_[band - 1]);
    return db > 0.0 ? db : 0.0;
}

} // namespace qv
