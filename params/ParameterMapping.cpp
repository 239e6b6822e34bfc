#include "params/ParameterMapping.h"

#include "dsp/math/SingleRounding.h"

#include <cmath>

namespace qv {

namespace {

constexpr double kLinkPercentPerUnit = 100.0; // link amount n per unit of x
constexpr float kLinkMinPercent = 1.0f;       // below this the link is off
constexpr float kLinkMaxPercent = 100.0f;
constexpr int kLinkMaxAmount = 100;
constexpr double kNeighbourWeightPerAmount = 0.005; // at n = 100 the two gains are averaged
constexpr double kSelfWeightLossPerAmount = 0.01;

// Upper bounds of pages 0..5 (single precision); page 6 has none.
constexpr float kPageUpperBounds[kNumPanelPages - 1] = {0.142857f, 0.285714f, 0.428571f,
                                                        0.571428f, 0.714285f, 0.857142f};
constexpr int kAnalyserPage = 4;

constexpr float kRatioNeutralLow = 0.494949f;
constexpr float kRatioNeutralHigh = 0.545454f;

constexpr float kQcurveSteepBound = 0.666666f;  // above: 96 dB/oct
constexpr float kQcurveMediumBound = 0.333333f; // above: 48 dB/oct

constexpr float kClipStepBounds[kClipShapeHard] = {0.2f, 0.4f, 0.6f, 0.8f};

// 2.1^(8.2x - 4.4): the crossover frequency in units of 1000 Hz.
double crossoverPower(float x) {
    const double exponent = static_cast<double>(kCrossoverSpan) * static_cast<double>(x) -
                            static_cast<double>(kCrossoverOffset);
    return std::pow(static_cast<double>(kCrossoverBase), exponent);
}

constexpr double kHundredsPerReference = kCrossoverReferenceHz / 100.0; // 1000 Hz in hundreds

} // namespace

double crossoverHzUnlimited(float x) {
    return kCrossoverReferenceHz * crossoverPower(x);
}

double crossoverHz(float x) {
    const double hz = crossoverHzUnlimited(x);
    if (!(hz >= kCrossoverMinHz)) return kCrossoverMinHz; // also NaN
    if (hz > kCrossoverMaxHz) return kCrossoverMaxHz;
    return hz;
}

float crossoverHundredsHz(float x) {
    // Limited while still in double (the bounds are exact floats, so this equals limiting after
    // narrowing) so that an infinite or huge value never reaches the float conversion.
    const double hundreds = kHundredsPerReference * crossoverPower(x);
    if (!(hundreds >= kCrossoverMinHundredsHz)) return kCrossoverMinHundredsHz; // also NaN
    if (hundreds > kCrossoverMaxHundredsHz) return kCrossoverMaxHundredsHz;
    return roundToSingle(hundreds);
}

LinkAmount linkAmountOf(float x) {
    const float percent = roundToSingle(x * kLinkPercentPerUnit); // the float product, in both builds
    if (!(percent >= kLinkMinPercent)) return {0, 0.0, 1.0}; // also NaN
    if (percent > kLinkMaxPercent) return {kLinkMaxAmount, 0.5, 0.0};
    const int amount = static_cast<int>(percent); // 1..100, truncated toward zero
    return {amount, kNeighbourWeightPerAmount * amount, 1.0 - kSelfWeightLossPerAmount * amount};
}

int panelPageOf(float x) {
    for (int page = 0; page < kNumPanelPages - 1; ++page) {
        if (x < kPageUpperBounds[page]) return page;
    }
    return kNumPanelPages - 1;
}

bool isAnalyserPageStrict(float x) {
    return x > kPageUpperBounds[kAnalyserPage - 1] && x < kPageUpperBounds[kAnalyserPage];
}

bool isRatioNeutral(float x) {
    return x > kRatioNeutralLow && x < kRatioNeutralHigh;
}

int qcurveDbPerOctave(float x) {
    if (x > kQcurveSteepBound) return 96;
    if (x > kQcurveMediumBound) return 48;
    return 24;
}

int clipShapeOf(float x) {
    for (int shape = kClipShapeSoft; shape < kClipShapeHard; ++shape) {
        if (x < kClipStepBounds[shape]) return shape;
    }
    return kClipShapeHard;
}

} // namespace qv
