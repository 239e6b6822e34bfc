#include "editor/CrossoverStrip.h"

#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"

#include "editor/EditorLayout.h"

#include <cstdio>

namespace qv {

CrossoverStrip::CrossoverStrip(const Rect& size, AudioEffect* effect)
    // Presses count only on the boxes' own rows.
    : ValueBoxStrip(size, effect, layout::kCrossoverBoxY, layout::kCrossoverBoxY,
                    layout::kCrossoverBoxY + layout::kBmpStripBox.height) {}

void CrossoverStrip::formatFrequency(float x, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // The crossover's own frequency, truncated to whole Hz.
    const double hz = crossoverHzUnlimited(x);
    // Truncation leaves 40 for anything below 41 Hz; NaN also shows the bottom.
    if (!(hz >= kCrossoverMinHz + 1.0))
        std::snprintf(text, size, "40 Hz");
    else if (hz < kCrossoverMaxHz)
        std::snprintf(text, size, "%d Hz", static_cast<int>(hz));
    else
        std::snprintf(text, size, "16000 Hz");
}

int CrossoverStrip::parameterOf(int box) const {
    return param::freqIndex(box + 1);
}

void CrossoverStrip::formatValue(float value, char* text, std::size_t size) const {
    formatFrequency(value, text, size);
}

} // namespace qv
