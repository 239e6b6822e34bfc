#include "editor/ValueStep.h"

#include "dsp/math/CoefficientMath.h"

namespace qv {

namespace {

constexpr double kLevelTopDb = kLevelFloorDb + kLevelSpanDb; // +24 dB
constexpr double kLevelSnapDb = -23.9; // the last 0.1 dB above the bottom snaps to it
constexpr double kThresholdSnapDb = -39.9;
constexpr float kMinSlope = 0.02f; // ratio slopes: limiting ...
constexpr float kMaxSlope = 2.0f;  // ... to expansion

// The working value as the step reads it.
double working(float v, ValueStep::Nan nan) {
    if (nan == ValueStep::Nan::FromBottom && v != v) return 0.0;
    return static_cast<double>(v);
}

} // namespace

float ValueStep::level(float v, double dB, Nan nan) {
    return levelAt(levelDb(working(v, nan)) + dB);
}

float ValueStep::levelAt(double d) {
    if (d > kLevelTopDb) return 1.0f;
    if (!(d >= kLevelSnapDb)) return 0.0f; // also NaN
    return static_cast<float>((d - kLevelFloorDb) / kLevelSpanDb);
}

float ValueStep::threshold(float v, double dB, Nan nan) {
    const double d = thresholdDb(working(v, nan)) + dB;
    if (d > 0.0) return 1.0f;
    if (!(d >= kThresholdSnapDb)) return 0.0f; // also NaN
    return static_cast<float>((d + kThresholdSpanDb) / kThresholdSpanDb);
}

float ValueStep::ratio(float v, double factor, Nan nan) {
    float x = kMaxSlope - kMaxSlope * static_cast<float>(working(v, nan));
    if (!(x >= kMinSlope)) x = kMinSlope; // a kept NaN too
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

float ValueStep::normalised(float v, double delta, Nan nan) {
    const double r = working(v, nan) + delta;
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

} // namespace qv
