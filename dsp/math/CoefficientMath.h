#pragma once

// Conversion formulas shared by the engine's setters and by the parameter layer: normalised
// control values (0..1, not clamped) to linear gains and times, and times to follower
// coefficients. All of them are pure functions; call them from setters, never per sample.

namespace qv {

// InLevel, OutLevel and "MasterOut" span 48 dB: dB = 48 v - 24.
constexpr double kLevelSpanDb = 48.0;
constexpr double kLevelFloorDb = -24.0;
constexpr double levelDb(double normalised) {
    return kLevelSpanDb * normalised + kLevelFloorDb;
}

// Compressor threshold spans 40 dB: dB = 40 v - 40.
constexpr double kThresholdSpanDb = 40.0;
constexpr double thresholdDb(double normalised) {
    return kThresholdSpanDb * normalised - kThresholdSpanDb;
}

// Limiter ceiling spans 6 dB: dB = 6 v - 6.
constexpr double kCeilingSpanDb = 6.0;
constexpr double ceilingDb(double normalised) {
    return kCeilingSpanDb * normalised - kCeilingSpanDb;
}

// The level's gain: exactly 1.0 within 0.1 dB of 0 dB,
// otherwise 10^(dB / 20) with subnormal results flushed to 0.0.
double levelToGain(double normalised);

// Compressor threshold: dB = 40 v - 40; 0.999 above -0.1 dB (never 1.0, so 1 - T stays
// non-zero), otherwise 10^(dB / 20) flushed.
double thresholdToLinear(double normalised);

// Limiter ceiling: dB = 6 v - 6; exactly 1.0 above -0.01 dB, otherwise 10^(dB / 20) flushed.
double ceilingToLinear(double normalised);

// One-pole coefficient that closes 99 % of a step in timeMs milliseconds:
// exp(ln(0.01) / (timeMs * 0.001 * fs)). 0.0 (instant) when timeMs * fs is not positive.
double coef40(double timeMs, double sampleRate);

// coef40 for attack times, which count as instant below 0.01 ms.
double attackCoef40(double timeMs, double sampleRate);

// Per-sample multiplier that halves a value every timeSeconds: 0.5^(1 / (timeSeconds * fs)).
// 0.0 (immediate release) when timeSeconds * fs is not positive.
double halfLife(double timeSeconds, double sampleRate);

// "Atk": 1000 v^3 ms.
double attackTimeMs(double normalised);

// "Rel_m" and "lt_Rel_m": (999.99 v^3 + 0.01) ms, returned in seconds.
double manualReleaseSeconds(double normalised);

// "Rel_a" and "lt_Rel_a": auto release shape q = (1 - v)^2 in single precision.
float autoReleaseShape(float normalised);

// "AutoRelType": 0.1 s ("dynamic") below 0.5, 0.5 s ("smooth") otherwise.
double autoReleaseSeconds(double normalised);

// "Ratio": slope k = 2 r - 1, exactly 0 in the neutral zone 0.494949 < r < 0.545454.
double ratioSlope(float ratio);

} // namespace qv
