#include "tools/validate/PluginTraits.h"

#include <cmath>
#include <cstdio>

namespace qv {

namespace {
constexpr VstInt32 kOurId = fourCharCode('f', 'w', '3', '0');
// The limiter's hard clip sits just below full scale; its output is that times the ceiling.
constexpr double kLimiterClip = 0.999999;
// Room for the narrowing of the double-precision result to float.
constexpr double kFloatRounding = 1e-6;
} // namespace

void PluginTraits::learn(TestInstance& instance) {
    AEffect* e = instance.record();
    isOurs_ = e->uniqueID == kOurId && instance.text(effGetVendorString) == "Ferrowyn";
    names_.clear();
    for (int i = 0; i < e->numParams; ++i)
        names_.push_back(instance.text(effGetParamName, i));
    if (isOurs_) {
        ceilingIndex_ = indexOf("lt_Ceiling");
        limiterSwitchIndex_ = indexOf("lt_LimSW");
        monitorIndex_ = indexOf("Monitor");
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "\"%s\" by \"%s\", %d in, %d out, %d parameters, %d programs, flags %d%s",
                  instance.text(effGetEffectName).c_str(),
                  instance.text(effGetVendorString).c_str(), e->numInputs, e->numOutputs,
                  e->numParams, e->numPrograms, e->flags,
                  isOurs_ ? " (ours: output held to the ceiling)" : " (foreign: generic checks)");
    description_ = text;
}

int PluginTraits::indexOf(const std::string& name) const {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name) return static_cast<int>(i);
    return -1;
}

double PluginTraits::outputBound(TestInstance& instance) const {
    if (!isOurs_ || ceilingIndex_ < 0 || limiterSwitchIndex_ < 0 || monitorIndex_ < 0)
        return INFINITY;
    if (instance.get(limiterSwitchIndex_) >= 0.5f || instance.get(monitorIndex_) >= 0.5f)
        return INFINITY;
    const double db = 6.0 * static_cast<double>(instance.get(ceilingIndex_)) - 6.0;
    const double ceiling = db > -0.01 ? 1.0 : std::pow(10.0, db / 20.0);
    return kLimiterClip * ceiling + kFloatRounding;
}

} // namespace qv
