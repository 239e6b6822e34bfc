#include "editor/ValueText.h"

#include "dsp/math/CoefficientMath.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace qv {

namespace {

// Truncation towards zero that stays defined for values no box can show (NaN, huge).
int truncated(double value) {
    constexpr double kLimit = 1.0e9;
    if (!(value > -kLimit)) return value != value ? 0 : -1000000000;
    if (value > kLimit) return 1000000000;
    return static_cast<int>(value);
}

void copy(char* text, const char* word) {
    std::snprintf(text, ValueText::kSize, "%s", word);
}

} // namespace

void ValueText::ratio(float v, char* text) {
    if (!text) return;
    const double slope = 2.0 - 2.0 * v; // 0 at v = 1: an infinite ratio
    const double r = 1.0 / slope;
    if (r < 1.0)
        std::snprintf(text, kSize, "%.2f : 1", r);
    else if (r < 10.0)
        std::snprintf(text, kSize, "%.1f : 1", r);
    else if (r < 50.0)
        std::snprintf(text, kSize, "%d : 1", truncated(r));
    else
        copy(text, "50 : 1");
}

void ValueText::threshold(float v, char* text) {
    if (!text) return;
    const double dB = thresholdDb(v);
    if (dB <= -0.099)
        std::snprintf(text, kSize, "%.1f dB", dB);
    else
        copy(text, "0.0 dB");
}

void ValueText::level(float v, char* text) {
    if (!text) return;
    const double dB = levelDb(v);
    if (dB <= -0.1 || dB >= 0.1)
        std::snprintf(text, kSize, "%.1f dB", dB);
    else
        copy(text, "0.0 dB");
}

void ValueText::attackTime(float v, char* text) {
    if (!text) return;
    const double ms = 1000.0 * v * v * v;
    if (ms < 0.01)
        copy(text, "0.00 ms");
    else if (ms < 1.0)
        std::snprintf(text, kSize, "%.2f ms", ms);
    else if (ms < 10.0)
        std::snprintf(text, kSize, "%.1f ms", ms);
    else
        std::snprintf(text, kSize, "%d ms", truncated(ms));
}

void ValueText::releaseTime(float v, char* text) {
    if (!text) return;
    const double ms = 999.99 * v * v * v + 0.01;
    if (ms < 1.0)
        std::snprintf(text, kSize, "%.2f ms", ms);
    else if (ms < 10.0)
        std::snprintf(text, kSize, "%.1f ms", ms);
    else
        std::snprintf(text, kSize, "%d ms", truncated(ms));
}

void ValueText::releaseDepth(float v, char* text) {
    if (!text) return;
    const double percent = 100.0 * v;
    if (percent < 1.0)
        copy(text, "min");
    else if (percent > 99.0)
        copy(text, "max");
    else if (percent == percent)
        std::snprintf(text, kSize, " %d %%", truncated(percent));
    else
        copy(text, "min"); // NaN
}

void ValueText::ceiling(float v, char* text) {
    if (!text) return;
    const double dB = ceilingDb(v);
    if (dB <= -0.01 || dB >= 0.01)
        std::snprintf(text, kSize, "%.2f dB", dB);
    else
        copy(text, "0.00 dB");
}

void ValueText::quantity(CompressorQuantity q, float v, char* text) {
    if (!text) return;
    switch (q) {
    case CompressorQuantity::InputLevel:
    case CompressorQuantity::OutputLevel:
        level(v, text);
        return;
    case CompressorQuantity::Threshold:
        threshold(v, text);
        return;
    case CompressorQuantity::Ratio:
        ratio(v, text);
        return;
    case CompressorQuantity::AttackCurve:
        copy(text, v < 0.5f ? "Hard" : "Soft");
        return;
    case CompressorQuantity::AttackTime:
        attackTime(v, text);
        return;
    case CompressorQuantity::ReleaseMode:
        copy(text, v < 0.5f ? "Auto" : "Manual");
        return;
    case CompressorQuantity::AutoReleaseType:
        copy(text, v < 0.5f ? "Dynamic" : "Smooth");
        return;
    case CompressorQuantity::ReleaseTime:
        releaseTime(v, text);
        return;
    case CompressorQuantity::ReleaseDepth:
        releaseDepth(v, text);
        return;
    }
    text[0] = '\0';
}

} // namespace qv
