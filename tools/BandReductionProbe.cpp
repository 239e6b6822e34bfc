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
    effect = plugin;
    for (int b = 0; b < kBands; ++b)
        lowest[b] = latest[b] = kUnityReading;
    attached = true;
    return true;
}

void BandReductionProbe::sample() {
    BandMeterReport report;
    if (!attached || !query(effect, report)) return;
    for (int b = 0; b < kBands; ++b) {
        const float reading = report.gain[b];
        // Readings lie in 0..1 (gain times 0.1, capped at +20 dB); anything else is not one.
        if (!(reading >= 0.0f && reading <= 1.0f)) continue;
        latest[b] = reading;
        if (reading < lowest[b]) lowest[b] = reading;
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
    if (!attached || band < 1 || band > kBands) return 0.0;
    return reductionDb(lowest[band - 1]);
}

double BandReductionProbe::latestReductionDb(int band) const {
    if (!attached || band < 1 || band > kBands) return 0.0;
    const double db = reductionDb(latest[band - 1]);
    return db > 0.0 ? db : 0.0;
}

} // namespace qv
