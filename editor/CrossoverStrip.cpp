#include "editor/CrossoverStrip.h"

#include "editor/EditorLayout.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kFirstParameter = 0;     // "Freq1-2"; box i shows parameter i
constexpr float kLowestHz = 40.0f;     // shown for anything at or below
constexpr float kHighestHz = 16000.0f; // shown for anything at or above
constexpr float kCurveBase = 2.1f;     // f = 2.1 ^ (8.2 x - 4.4) kHz
constexpr float kCurveSpan = 8.2f;     // exponent range over x = 0..1
constexpr float kCurveOffset = 4.4f;   // minus the exponent at x = 0
constexpr float kHzPerKHz = 1000.0f;   // Hz

} // namespace

CrossoverStrip::CrossoverStrip(const Rect& size, ControlListener* listener, AudioEffect* effect)
    // Presses count only on the boxes' own rows.
    : ValueBoxStrip(size, listener, effect, qv::layout::kCrossoverBoxY, qv::layout::kCrossoverBoxY,
                    qv::layout::kCrossoverBoxY + qv::layout::kBmpStripBox.height) {}

void CrossoverStrip::formatFrequency(float x, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // In double precision from the single-precision constants, truncated to whole Hz.
    const double hz = std::pow(static_cast<double>(kCurveBase),
                               static_cast<double>(x) * kCurveSpan - kCurveOffset) *
                      kHzPerKHz;
    // Truncation leaves 40 for anything below 41 Hz; NaN also shows the bottom.
    if (!(hz >= kLowestHz + 1.0))
        std::snprintf(text, size, "40 Hz");
    else if (hz < kHighestHz)
        std::snprintf(text, size, "%d Hz", static_cast<int>(hz));
    else
        std::snprintf(text, size, "16000 Hz");
}

int CrossoverStrip::parameterOf(int box) const {
    return kFirstParameter + box;
}

void CrossoverStrip::formatValue(float value, char* text, std::size_t size) const {
    formatFrequency(value, text, size);
}
