#include "tools/BandReductionProbe.h"

#include "dsp/BandMeter.h"
#include "shell/MultibandEffectBase.h"

#include <cmath>
#include <cstring>

static_assert(BandReductionProbe::kBands == qv::MultibandEngine::kBands,
              "one reading per band of the engine");

namespace {
const char kOurEffectName[] = "Quorvanelle";
const char kOurVendor[] = "Ferrowyn";
const float kUnityReading = qv::BandMeter::kIdleGain; // a gain reading of 1.0 (0 dB)

bool answers(AEffect* effect, VstInt32 opcode, const char* expected) {
    char text[256] = {};
    effect->dispatcher(effect, opcode, 0, 0, text, 0.0f);
    text[sizeof text - 1] = '\0';
    return std::strcmp(text, expected) == 0;
}

const qv::MultibandEngine& engineOf(const void* engine) {
    return *static_cast<const qv::MultibandEngine*>(engine);
}
} // namespace

bool BandReductionProbe::attach(AEffect* effect) {
    *this = BandReductionProbe();
    if (effect == nullptr || effect->object == nullptr || effect->dispatcher == nullptr)
        return false;
    if (effect->magic != kEffectMagic || effect->uniqueID != MultibandEffectBase::kUniqueId ||
        !answers(effect, effGetEffectName, kOurEffectName) ||
        !answers(effect, effGetVendorString, kOurVendor))
        return false;
    const auto* base = static_cast<const AudioEffect*>(effect->object);
    engine = &static_cast<const MultibandEffectBase*>(base)->getEngine();
    for (int b = 0; b < kBands; ++b)
        lowest[b] = latest[b] = kUnityReading;
    attached = true;
    return true;
}

void BandReductionProbe::sample() {
    if (!attached) return;
    for (int b = 0; b < kBands; ++b) {
        const float reading = engineOf(engine).bandGain(b + 1);
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
