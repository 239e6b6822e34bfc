#include "editor/LinkStrip.h"

#include "editor/EditorLayout.h"

#include <cstdio>

namespace {

constexpr float kPercent = 100.0f; // percent per unit amount

} // namespace

LinkStrip::LinkStrip(const Rect& size, ControlListener* listener, AudioEffect* effect)
    : ValueBoxStrip(size, listener, effect, qv::layout::kLinkBoxY) {}

void LinkStrip::formatAmount(float amount, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // Whole percent, truncated: below 1 % (and NaN) shows 0.
    const float percent = amount * kPercent;
    if (!(percent >= 1.0f))
        std::snprintf(text, size, "0 %%");
    else if (percent < kPercent)
        std::snprintf(text, size, "%d %%", static_cast<int>(percent));
    else
        std::snprintf(text, size, "100 %%");
}

int LinkStrip::parameterOf(int box) const {
    return kFirstParameter + box;
}

void LinkStrip::formatValue(float value, char* text, std::size_t size) const {
    formatAmount(value, text, size);
}
