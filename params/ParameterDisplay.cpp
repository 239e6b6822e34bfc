#include "params/ParameterDisplay.h"

#include "dsp/math/CoefficientMath.h"
#include "dsp/math/SingleRounding.h"
#include "params/BoundedText.h"
#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"

#include <cmath>
#include <cstdio>

namespace qv {

namespace {

constexpr char kNotANumber[] = "nan";
constexpr char kPlusInfinity[] = "+oo";
constexpr char kMinusInfinity[] = "-oo";

// Magnitudes the eight-character number accepts (eight digits, or a sign and seven).
constexpr double kEightCharMaxPositive = 99999999.0;
constexpr double kEightCharMaxNegative = 9999999.0;
constexpr double kPowersOfTen[kEightCharNumberLength + 1] = {1e0, 1e1, 1e2, 1e3, 1e4,
                                                             1e5, 1e6, 1e7, 1e8};

// Anything at or above this magnitude cannot fit in eight characters; checked before any
// conversion so that neither printf nor an integer conversion sees a huge value.
constexpr double kUnprintableMagnitude = 1e9;

// Crossover display limits (the truncated frequency n, in Hz).
constexpr int kFreqDisplayMin = 40;
constexpr int kFreqDisplayMax = 16000;

// Level, threshold and ceiling displays show "0.0" / "0.00" inside these dB bands around 0.
constexpr float kLevelZeroBandDb = 0.1f;
constexpr float kThreshZeroBandDb = 0.099f;
constexpr float kCeilingZeroBandDb = 0.01f;

// Ratio display: double-precision neutral bounds, 1:1 inside; shown as "50" from this ratio up.
constexpr double kRatioDisplayNeutralLow = 0.494949;
constexpr double kRatioDisplayNeutralHigh = 0.545454;
constexpr float kRatioDisplayMax = 50.0f;

// Attack time 1000 x^3 ms; release time 0.01 + 999.99 x^3 ms.
constexpr double kAttackMaxMs = 1000.0;
constexpr double kReleaseMinMs = 0.01;
constexpr double kReleaseSpanMs = 999.99;
constexpr float kAttackZeroMs = 0.01f; // shown as "0.00" below this

// Percent displays (Rel_a, lt_Rel_a, RedLink): p = 100x.
constexpr double kPercentPerUnit = 100.0;
constexpr float kPercentLow = 1.0f;
constexpr float kPercentHigh = 99.0f;

double cube(float x) {
    const double xd = x;
    return xd * xd * xd;
}

void writeText(char* text, const char* source) {
    copyBoundedText(source, text, kMaxDisplayLength);
}

void writeOverflow(char* text, double v) {
    writeText(text, v < 0 ? kMinusInfinity : kPlusInfinity);
}

// printf "%.<decimals>f" of v, or the overflow mark when that would exceed eight characters.
void writeFixed(char* text, double v, int decimals) {
    if (std::isnan(v)) return writeText(text, kNotANumber);
    if (!(std::fabs(v) < kUnprintableMagnitude)) return writeOverflow(text, v);
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    if (length < 0 || length > kEightCharNumberLength) return writeOverflow(text, v);
    writeText(text, buffer);
}

// printf "%d" of v truncated toward zero, or the overflow mark when longer than 8 characters.
void writeTruncated(char* text, double v) {
    if (std::isnan(v)) return writeText(text, kNotANumber);
    if (!(std::fabs(v) < kUnprintableMagnitude)) return writeOverflow(text, v);
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(v));
    if (length < 0 || length > kEightCharNumberLength) return writeOverflow(text, v);
    writeText(text, buffer);
}

// " %d %%" of p truncated; p is within 1..99 here.
void writePercent(char* text, float p) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, " %d %%", static_cast<int>(p));
    writeText(text, buffer);
}

void formatFreq(float x, char* text) {
    // n = truncation of f, so n <= 40 exactly when f < 41.
    const double hz = crossoverHzUnlimited(x);
    if (!(hz >= kFreqDisplayMin + 1)) return writeText(text, "40"); // also NaN
    if (hz >= kFreqDisplayMax) return writeText(text, "16000");
    writeTruncated(text, hz);
}

void formatLevel(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const float db = roundToSingle(levelDb(x));
    if (db <= -kLevelZeroBandDb || db >= kLevelZeroBandDb) return writeFixed(text, db, 1);
    writeText(text, "0.0");
}

void formatThresh(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const float db = roundToSingle(thresholdDb(x));
    if (db <= -kThreshZeroBandDb) return writeFixed(text, db, 1);
    writeText(text, "0.0");
}

void formatRatio(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const double xd = x;
    float ratio = 1.0f;
    if (!(xd > kRatioDisplayNeutralLow && xd < kRatioDisplayNeutralHigh)) {
        // 1 / (1 - k) with k = 2x - 1; infinite at x = 1, negative above.
        ratio = roundToSingle(1.0 / (1.0 - (2.0 * xd - 1.0)));
    }
    if (ratio < 1.0f) return writeFixed(text, ratio, 2);
    if (ratio < 10.0f) return writeFixed(text, ratio, 1);
    if (ratio < kRatioDisplayMax) return writeTruncated(text, ratio);
    writeText(text, "50");
}

void formatAtk(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const float ms = roundToSingle(kAttackMaxMs * cube(x));
    if (ms < kAttackZeroMs) return writeText(text, "0.00");
    if (ms < 1.0f) return writeFixed(text, ms, 2);
    if (ms < 10.0f) return writeFixed(text, ms, 1);
    writeTruncated(text, ms);
}

void formatReleaseTime(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const float ms = roundToSingle(kReleaseMinMs + kReleaseSpanMs * cube(x));
    if (ms < 1.0f) return writeFixed(text, ms, 2);
    if (ms < 10.0f) return writeFixed(text, ms, 1);
    writeTruncated(text, ms);
}

void formatReleaseAmount(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const float p = roundToSingle(kPercentPerUnit * x);
    if (p < kPercentLow) return writeText(text, "min");
    if (p > kPercentHigh) return writeText(text, "max");
    writePercent(text, p);
}

void formatRedLink(float x, char* text) {
    const float p = roundToSingle(kPercentPerUnit * x);
    if (!(p >= kPercentLow)) return writeText(text, "0"); // also NaN: the link is off
    if (p > kPercentHigh) return writeText(text, "100");
    writePercent(text, p);
}

void formatCeiling(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    const float db = roundToSingle(ceilingDb(x));
    if (db <= -kCeilingZeroBandDb) return writeFixed(text, db, 2);
    writeText(text, "0.00");
}

void formatClip(float x, char* text) {
    static const char* const kShapes[kClipShapeHard + 1] = {"soft", "2", "3", "4", "hard"};
    writeText(text, kShapes[clipShapeOf(x)]);
}

void formatQcurve(float x, char* text) {
    switch (qcurveDbPerOctave(x)) {
    case 96:
        return writeText(text, "-96");
    case 48:
        return writeText(text, "-48");
    default:
        return writeText(text, "-24");
    }
}

void formatMixGain(float x, char* text) {
    if (std::isnan(x)) return writeText(text, kNotANumber);
    if (x <= 0.0f) return writeText(text, "-oo");
    const double db = 20.0 * std::log10(static_cast<double>(x));
    // Every finite positive float is within about +-900 dB; only +inf fails here.
    if (!formatEightCharNumber(db, text)) writeOverflow(text, db);
}

const char* switchText(float x, const char* below, const char* atOrAbove) {
    return x < 0.5f ? below : atOrAbove;
}

void formatFilterType(float x, char* text) {
    writeText(text, x > 0.5f ? "Brickwall" : "Q");
}

// The display of a family whose text depends on its own value alone.
struct FamilyFormat {
    ParameterFamily family;
    void (*format)(float x, char* text);
};
constexpr FamilyFormat kFamilyFormats[] = {
    {ParameterFamily::Freq, formatFreq},
    {ParameterFamily::InLevel, formatLevel},
    {ParameterFamily::OutLevel, formatLevel},
    {ParameterFamily::MasterOut, formatLevel},
    {ParameterFamily::Thresh, formatThresh},
    {ParameterFamily::Ratio, formatRatio},
    {ParameterFamily::Atk, formatAtk},
    {ParameterFamily::RelM, formatReleaseTime},
    {ParameterFamily::LtRelM, formatReleaseTime},
    {ParameterFamily::RelA, formatReleaseAmount},
    {ParameterFamily::LtRelA, formatReleaseAmount},
    {ParameterFamily::RedLink, formatRedLink},
    {ParameterFamily::LtCeiling, formatCeiling},
    {ParameterFamily::LtClip, formatClip},
    {ParameterFamily::FilterType, formatFilterType},
    {ParameterFamily::Qcurve, formatQcurve},
    {ParameterFamily::DryOut, formatMixGain},
    {ParameterFamily::WetOut, formatMixGain},
};

// The two texts of a switch family (see switchText).
struct SwitchTexts {
    ParameterFamily family;
    const char* below;     // x < 0.5
    const char* atOrAbove; // x >= 0.5 and NaN
};
constexpr SwitchTexts kSwitchTexts[] = {
    {ParameterFamily::AtkCurve, "hard", "soft"},
    {ParameterFamily::RelMode, "auto", "manual"},
    {ParameterFamily::LtRelSw, "auto", "manual"},
    {ParameterFamily::AutoRelType, "dynamic", "smooth"},
    {ParameterFamily::PwSw, "on", "off"},
    {ParameterFamily::CompSw, "on", "off"},
    {ParameterFamily::LtLimSw, "on", "off"},
    {ParameterFamily::Monitor, "on", "bypass"},
};

// A band's Rel shows what its release mode uses: the manual time or the automatic amount.
void formatRelease(int index, const float* values, char* text) {
    const int band = bandOf(index);
    if (switchFlag(values[param::relModeIndex(band)]))
        formatReleaseTime(values[param::relMIndex(band)], text);
    else
        formatReleaseAmount(values[param::relAIndex(band)], text);
}

} // namespace

bool formatEightCharNumber(double v, char* text) {
    if (text == nullptr || std::isnan(v)) return false;
    const bool negative = v < 0.0;
    const double magnitude = negative ? -v : v;
    if (magnitude > (negative ? kEightCharMaxNegative : kEightCharMaxPositive)) return false;

    // Integer digits, last first. The magnitude limit leaves room for all of them.
    char digits[kEightCharNumberLength];
    int numDigits = 0;
    const int signLength = negative ? 1 : 0;
    double w = std::floor(magnitude);
    do {
        digits[numDigits++] = static_cast<char>('0' + static_cast<int>(std::fmod(w, 10.0)));
        w *= 0.1;
    } while (w >= 1.0 && signLength + numDigits < kEightCharNumberLength);

    int length = 0;
    if (negative) text[length++] = '-';
    while (numDigits > 0)
        text[length++] = digits[--numDigits];
    if (length < kEightCharNumberLength) text[length++] = '.';

    // Fraction digits fill up to eight characters, truncated, last first.
    const int numFraction = kEightCharNumberLength - length;
    double fraction = std::fmod(magnitude, 1.0) * kPowersOfTen[numFraction];
    for (int i = numFraction - 1; i >= 0; --i) {
        const int digit = fraction > 0.0 ? static_cast<int>(std::fmod(fraction, 10.0)) : 0;
        text[length + i] = static_cast<char>('0' + digit);
        fraction *= 0.1;
    }
    length += numFraction;
    text[length] = '\0';
    return true;
}

bool formatParameterDisplay(int index, const float* values, char* text) {
    if (values == nullptr || text == nullptr) return false;
    if (index < 0 || index >= kNumNamedParameters) return false;
    const float x = values[index];
    const ParameterFamily family = familyOf(index);
    if (family == ParameterFamily::Rel) {
        formatRelease(index, values, text);
        return true;
    }
    for (const FamilyFormat& f : kFamilyFormats) {
        if (f.family != family) continue;
        f.format(x, text);
        return true;
    }
    for (const SwitchTexts& t : kSwitchTexts) {
        if (t.family != family) continue;
        writeText(text, switchText(x, t.below, t.atOrAbove));
        return true;
    }
    writeText(text, ""); // MeterSW, ReductionSW
    return true;
}

} // namespace qv
