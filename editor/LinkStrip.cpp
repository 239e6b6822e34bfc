#include "editor/LinkStrip.h"

#include "params/ParameterIndex.h"

#include "dsp/math/SingleRounding.h"
#include "editor/EditorLayout.h"

#include <cstdio>

namespace qv {

namespace {

constexpr float kPercent = 100.0f; // percent per unit amount

} // namespace

LinkStrip::LinkStrip(const Rect& size, AudioEffect* effect)
    // A press anywhere in the strip's rows picks the box of its column.
    : ValueBoxStrip(size, effect, layout::kLinkBoxY, layout::kLinkStrip.top,
                    layout::kLinkStrip.bottom) {}

void LinkStrip::formatAmount(float amount, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // Whole percent, truncated: below 1 % (and NaN) shows 0.
    // The float product, rounded once: the x87 build would otherwise keep 0.7 x 100 at
    // 69.99999... in its wider registers and show 69.
    const float percent = roundToSingle(static_cast<double>(amount) * kPercent);
    if (!(percent >= 1.0f))
        std::snprintf(text, size, "0 %%");
    else if (percent < kPercent)
        std::snprintf(text, size, "%d %%", static_cast<int>(percent));
    else
        std::snprintf(text, size, "100 %%");
}

int LinkStrip::parameterOf(int box) const {
    return param::redLinkIndex(box + 1);
}

void LinkStrip::formatValue(float value, char* text, std::size_t size) const {
    formatAmount(value, text, size);
}

} // namespace qv
