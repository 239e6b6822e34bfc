#include "editor/ValueStep.h"

namespace {

// NaN working values count as the bottom of their range.
double orZero(float v) {
    return v == v ? static_cast<double>(v) : 0.0;
}

} // namespace

float ValueStep::level(float v, double dB) {
    constexpr double kRangeDb = 48.0, kBottomDb = -24.0, kTopDb = 24.0, kSnapDb = -23.9;
    const double d = (kRangeDb * orZero(v) + kBottomDb) + dB;
    if (d > kTopDb) return 1.0f;
    if (!(d >= kSnapDb)) return 0.0f; // also NaN
    return static_cast<float>((d - kBottomDb) / kRangeDb);
}

float ValueStep::threshold(float v, double dB) {
    constexpr double kRangeDb = 40.0, kSnapDb = -39.9, kPerDb = 0.025; // 1 / 40 dB
    const double d = (kRangeDb * orZero(v) - kRangeDb) + dB;
    if (d > 0.0) return 1.0f;
    if (!(d >= kSnapDb)) return 0.0f;
    return static_cast<float>((d + kRangeDb) * kPerDb);
}

float ValueStep::ratio(float v, double factor) {
    constexpr float kMinSlope = 0.02f, kMaxSlope = 2.0f;
    float x = 2.0f - 2.0f * static_cast<float>(orZero(v));
    if (x < kMinSlope) x = kMinSlope;
    x = static_cast<float>(x * factor);
    if (x > kMaxSlope) return 0.0f;
    if (!(x > kMinSlope)) return 1.0f;
    return 1.0f - 0.5f * x;
}

double ValueStep::ratioFactor(double delta, double gain) {
    double divisor = 1.0 + gain * delta;
    if (!(divisor >= kMinDivisor)) divisor = kMinDivisor;
    return 1.0 / divisor;
}

float ValueStep::normalised(float v, double delta) {
    const double r = orZero(v) + delta;
    if (r > 1.0) return 1.0f;
    if (!(r >= 0.0)) return 0.0f;
    return static_cast<float>(r);
}

float ValueStep::quantity(CompressorQuantity q, float v, double delta, const Scale& scale) {
    switch (q) {
    case CompressorQuantity::InputLevel:
    case CompressorQuantity::OutputLevel:
        return level(v, scale.levelDb * delta);
    case CompressorQuantity::Threshold:
        return threshold(v, scale.thresholdDb * delta);
    case CompressorQuantity::Ratio:
        return ratio(v, ratioFactor(delta, scale.ratioGain));
    case CompressorQuantity::AttackTime:
    case CompressorQuantity::ReleaseTime:
    case CompressorQuantity::ReleaseDepth:
        return normalised(v, delta);
    case CompressorQuantity::AttackCurve:
    case CompressorQuantity::ReleaseMode:
    case CompressorQuantity::AutoReleaseType:
        break;
    }
    return v;
}
