#include "tools/BandReductionProbe.h"

#include "shell/BandMeterReport.h"

#include <cmath>

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
    for (float& g : lowest)
        g = kUnityReading;
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
        if (reading < lowest[b]) lowest[b] = reading;
    }
}

double BandReductionProbe::largestReductionDb(int band) const {
    if (!attached || band < 1 || band > kBands) return 0.0;
    const float reading = lowest[band - 1];
    if (reading <= 0.0f) return kFullReduction;
    const double db = 20.0 * std::log10(static_cast<double>(kUnityReading) / reading);
    return db < kFullReduction ? db : kFullReduction;
}
