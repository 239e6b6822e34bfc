#include "dsp/math/CoefficientMath.h"

#include "dsp/math/FlushDenormal.h"

#include <cmath>

namespace qv {

namespace {

const double kLevelUnityZoneDb = 0.1; // |dB| below this is exactly unity gain
const double kThresholdTopDb = -0.1;  // above this the threshold is pinned below 1.0
const double kThresholdTop = 0.999;
const double kCeilingTopDb = -0.01;          // above this the ceiling is exactly 1.0
const double kLn001 = -4.605170185988091368; // ln(0.01): a follower closes 99 % of a step
const double kMsPerSecond = 1000.0;
const double kSecondsPerMs = 0.001;
const double kMinAttackMs = 0.01;    // shorter attacks are instant
const double kMaxReleaseMs = 999.99; // manual release span above its minimum
const double kMinReleaseMs = 0.01;
const float kNeutralRatioLow = 0.494949f; // ratio values strictly inside are 1:1
const float kNeutralRatioHigh = 0.545454f;

double dbToAmplitude(double db) {
    return std::pow(10.0, db / 20.0);
}

} // namespace

double levelToGain(double normalised) {
    const double db = levelDb(normalised);
    if (db > -kLevelUnityZoneDb && db < kLevelUnityZoneDb) return 1.0;
    return flushDenormal(dbToAmplitude(db));
}

double thresholdToLinear(double normalised) {
    const double db = thresholdDb(normalised);
    if (db > kThresholdTopDb) return kThresholdTop;
    return flushDenormal(dbToAmplitude(db));
}

double ceilingToLinear(double normalised) {
    const double db = ceilingDb(normalised);
    if (db > kCeilingTopDb) return 1.0;
    return flushDenormal(dbToAmplitude(db));
}

double coef40(double timeMs, double sampleRate) {
    const double samples = timeMs * kSecondsPerMs * sampleRate;
    if (!(samples > 0.0)) return 0.0;
    return std::exp(kLn001 / samples);
}

double attackCoef40(double timeMs, double sampleRate) {
    if (!(timeMs >= kMinAttackMs)) return 0.0;
    return coef40(timeMs, sampleRate);
}

double halfLife(double timeSeconds, double sampleRate) {
    const double samples = timeSeconds * sampleRate;
    if (!(samples > 0.0)) return 0.0;
    return std::pow(0.5, 1.0 / samples);
}

double attackTimeMs(double normalised) {
    return kMsPerSecond * normalised * normalised * normalised;
}

double manualReleaseSeconds(double normalised) {
    const double ms = kMaxReleaseMs * normalised * normalised * normalised + kMinReleaseMs;
    return ms * kSecondsPerMs;
}

float autoReleaseShape(float normalised) {
    const float complement = 1.0f - normalised;
    return complement * complement;
}

double autoReleaseSeconds(double normalised) {
    return normalised < 0.5 ? 0.1 : 0.5;
}

double ratioSlope(float ratio) {
    if (ratio > kNeutralRatioLow && ratio < kNeutralRatioHigh) return 0.0;
    return 2.0 * static_cast<double>(ratio) - 1.0;
}

} // namespace qv
