#include "params/ParameterDisplay.h"

#include "params/ParameterIndex.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace qv {
namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
constexpr char kCanary = '\x5a';

float below(float x) {
    return std::nextafter(x, -kInf);
}
float above(float x) {
    return std::nextafter(x, kInf);
}

// All stored values at `fill`, one index at x.
std::vector<float> valuesWith(int index, float x, float fill = 0.0f) {
    std::vector<float> values(kNumStoredParameters, fill);
    values[index] = x;
    return values;
}

std::string display(int index, const std::vector<float>& values) {
    char text[kMaxDisplayLength + 1 + 16];
    std::memset(text, kCanary, sizeof text);
    if (!formatParameterDisplay(index, values.data(), text)) return "<untouched>";
    return text;
}

std::string display(int index, float x) {
    return display(index, valuesWith(index, x));
}

struct DisplayCase {
    int index;
    float x;
    const char* expected;
};

void expectDisplays(const std::vector<DisplayCase>& cases) {
    for (const DisplayCase& c : cases)
        EXPECT_EQ(display(c.index, c.x), c.expected) << "index " << c.index << " x " << c.x;
}

TEST(ParameterDisplayTest, Crossovers) {
    // Truncated, not rounded: the defaults 3801.8, 523.75 and 75.99 Hz show as 3801, 523, 75.
    expectDisplays({
        {0, 0.0f, "40"},
        {3, 0.0f, "40"},
        {0, 1.0f, "16000"},
        {0, 0.893301f, "8760"},
        {1, 0.756096f, "3801"},
        {2, 0.430282f, "523"},
        {3, 0.112988f, "75"},
        {0, 0.5f, "800"},
        // 41 Hz is the first frequency shown as itself.
        {0, 0.011f, "40"},
        {0, 0.0118f, "41"},
    });
}

TEST(ParameterDisplayTest, LevelsThresholdsAndCeiling) {
    expectDisplays({
        {4, 0.5f, "0.0"},
        {13, 0.503f, "0.1"},
        {55, 0.0f, "-24.0"},
        {9, 1.0f, "24.0"},
        // +-0.1 dB: inside shows "0.0" even where printf would round to 0.1.
        {4, 0.5015f, "0.0"},
        {4, 0.4985f, "0.0"},
        {4, 0.50207f, "0.0"},
        {4, 0.50209f, "0.1"},
        {4, 0.49793f, "0.0"},
        {4, 0.49791f, "-0.1"},
        // Threshold: -0.099 dB is the last value shown as a number.
        {14, 1.0f, "0.0"},
        {38, 0.0f, "-40.0"},
        {20, 0.75f, "-10.0"},
        {14, 0.99755f, "0.0"},
        {14, 0.9975f, "-0.1"},
        {14, 0.999f, "0.0"},
        // Ceiling: -0.01 dB boundary, two decimals.
        {68, 0.998f, "-0.01"},
        {68, 1.0f, "0.00"},
        {68, 0.0f, "-6.00"},
        {68, 0.999f, "0.00"},
        {68, 0.9983f, "-0.01"},
    });
}

TEST(ParameterDisplayTest, Ratio) {
    expectDisplays({
        {15, 0.75f, "2.0"},
        {15, 0.5f, "1.0"},
        {15, 0.25f, "0.67"},
        {15, 0.96f, "12"},
        {15, 1.0f, "50"},
        {15, 0.0f, "0.50"},
        {21, 0.53f, "1.0"},
        // c < 1 below the neutral zone, "%.1f" just above it.
        {15, 0.4949f, "0.99"},
        {15, 0.5455f, "1.1"},
        // The display uses double-precision bounds: 0.494949f lies above 0.494949, inside.
        {15, 0.494949f, "1.0"},
        {15, 0.545454f, "1.1"},
        // c = 10 and c = 50 switch format.
        {15, 0.9499f, "10.0"},
        {15, 0.9501f, "10"},
        {15, 0.9899f, "49"},
        {15, 0.99f, "50"},
        // Beyond 1 the ratio turns negative and falls into the two-decimal rule.
        {15, 1.5f, "-1.00"},
    });
}

TEST(ParameterDisplayTest, AttackAndReleaseTimes) {
    expectDisplays({
        {17, 0.0f, "0.00"},
        {17, 0.099941f, "1.00"},
        {17, 0.02f, "0.00"},
        {17, 0.022f, "0.01"},
        {17, 0.2f, "8.0"},
        {17, 0.2155f, "10"},
        {17, 1.0f, "1000"},
        {41, 0.5f, "125"},
        {77, 0.0f, "0.01"},
        {77, 0.500189f, "125"},
        {77, 1.0f, "1000"},
        {85, 0.2f, "8.0"},
        {70, 0.1f, "1.0"},
        {70, 0.3f, "27"},
        {70, 0.09f, "0.74"},
    });
}

TEST(ParameterDisplayTest, PercentRules) {
    expectDisplays({
        {78, 0.005f, "min"},
        {78, 0.995f, "max"},
        {78, 0.5f, " 50 %"},
        {71, 0.40625f, " 40 %"},
        {78, 0.0099f, "min"},
        {78, 0.0101f, " 1 %"},
        // Single-precision products: 0.01f * 100 is 1.0 and 0.99f * 100 is 99.0.
        {78, 0.01f, " 1 %"},
        {78, 0.99f, " 99 %"},
        {64, 0.01f, " 1 %"},
        {78, 0.9899f, " 98 %"},
        {78, 0.9901f, "max"},
        {64, 0.5f, " 50 %"},
        {64, 0.0f, "0"},
        {64, 1.0f, "100"},
        {67, 0.257f, " 25 %"},
        {64, 0.0099f, "0"},
        {64, 0.9901f, "100"},
    });
}

TEST(ParameterDisplayTest, SwitchesAndSteps) {
    expectDisplays({
        {16, below(0.5f), "hard"},
        {16, 0.5f, "soft"},
        {18, below(0.5f), "auto"},
        {18, 0.5f, "manual"},
        {69, 0.0f, "auto"},
        {69, 0.5f, "manual"},
        {59, below(0.5f), "dynamic"},
        {63, 0.5f, "smooth"},
        {44, 0.0f, "on"},
        {45, 0.5f, "off"},
        {54, below(0.5f), "on"},
        {54, 1.0f, "off"},
        {58, 0.0f, "on"},
        {58, 0.5f, "bypass"},
        {73, 0.5f, "Q"},
        {73, above(0.5f), "Brickwall"},
        {74, 0.333333f, "-24"},
        {74, above(0.333333f), "-48"},
        {74, 0.666666f, "-48"},
        {74, above(0.666666f), "-96"},
        {72, below(0.2f), "soft"},
        {72, 0.2f, "2"},
        {72, 0.4f, "3"},
        {72, 0.6f, "4"},
        {72, below(0.8f), "4"},
        {72, 0.8f, "hard"},
        {56, 1.0f, ""},
        {57, 0.0f, ""},
    });
}

TEST(ParameterDisplayTest, DryAndWetInDecibels) {
    expectDisplays({
        {75, 0.0f, "-oo"},
        {76, 1.0f, "0.000000"},
        {76, 0.5f, "-6.02059"},
        // 0.1f lies just above 0.1, its level just above -20 dB; digits are truncated.
        {75, 0.1f, "-19.9999"},
        {76, -1.0f, "-oo"},
        {76, 2.0f, "6.020599"},
    });
}

TEST(ParameterDisplayTest, RelMirrorShowsActiveRelease) {
    // Band 1: manual shows Rel_m with the time rule, automatic Rel_a with the percent rule.
    std::vector<float> values(kNumStoredParameters, 0.0f);
    values[param::kCp1RelM] = 0.5f;
    values[param::kCp1RelA] = 0.25f;
    values[param::kCp1Rel] = 0.9f; // the mirror's own value is not what is shown
    values[param::kCp1RelMode] = 1.0f;
    EXPECT_EQ(display(param::kCp1Rel, values), "125");
    values[param::kCp1RelMode] = 0.0f;
    EXPECT_EQ(display(param::kCp1Rel, values), " 25 %");
    // At exactly 0.5 RelMode reads "manual", but the flag (above 0.5) still selects automatic.
    values[param::kCp1RelMode] = 0.5f;
    EXPECT_EQ(display(param::kCp1RelMode, values), "manual");
    EXPECT_EQ(display(param::kCp1Rel, values), " 25 %");

    // Every band reads its own three values.
    for (int b = 1; b <= kNumBands; ++b) {
        std::vector<float> v(kNumStoredParameters, 0.0f);
        v[param::relModeIndex(b)] = 1.0f;
        v[param::relMIndex(b)] = 1.0f;
        EXPECT_EQ(display(param::relIndex(b), v), "1000") << b;
        v[param::relModeIndex(b)] = 0.0f;
        v[param::relAIndex(b)] = 0.5f;
        EXPECT_EQ(display(param::relIndex(b), v), " 50 %") << b;
    }
}

TEST(ParameterDisplayTest, UnnamedIndicesAndNullPointersLeaveTextUntouched) {
    const std::vector<float> values(kNumStoredParameters, 0.5f);
    for (int index : {-1, 87, 92, 93, 1 << 30}) {
        char text[16] = "previous";
        EXPECT_FALSE(formatParameterDisplay(index, values.data(), text)) << index;
        EXPECT_STREQ(text, "previous");
    }
    char text[16] = "previous";
    EXPECT_FALSE(formatParameterDisplay(0, nullptr, text));
    EXPECT_STREQ(text, "previous");
    EXPECT_FALSE(formatParameterDisplay(0, values.data(), nullptr));
}

// Values outside 0..1 and non-finite values: defined strings.
TEST(ParameterDisplayTest, OutOfRangeValues) {
    expectDisplays({
        {4, kNaN, "nan"},        {4, kInf, "+oo"},         {4, -kInf, "-oo"},
        {4, 7.0f, "312.0"},      {4, 1e30f, "+oo"},        {14, kNaN, "nan"},
        {14, -1e30f, "-oo"},     {15, kNaN, "nan"},        {15, 7.0f, "-0.08"},
        {15, kInf, "-0.00"},     {17, kNaN, "nan"},        {17, -5.0f, "0.00"},
        {17, 1e30f, "+oo"},      {77, -5.0f, "-oo"},       {77, 5.0f, "124998"},
        {78, kNaN, "nan"},       {78, kInf, "max"},        {64, kNaN, "0"},
        {64, 7.0f, "100"},       {0, kNaN, "40"},          {0, kInf, "16000"},
        {0, -5.0f, "40"},        {76, kNaN, "nan"},        {76, kInf, "+oo"},
        {76, 1e30f, "600.0000"}, {76, 1e-45f, "-897.069"}, {68, kNaN, "nan"},
        {72, kNaN, "hard"},
    });
}

// Every index over a fine grid, the boundaries and bad values: at most 9 printable characters,
// nothing written beyond the terminator, numbers within 8 characters for 0..1.
TEST(ParameterDisplayTest, SweepStaysWithinBuffer) {
    std::vector<float> xs;
    for (int i = 0; i <= 4096; ++i)
        xs.push_back(i / 4096.0f);
    for (float b : {0.0f, 0.01f, 0.099941f, 0.1f, 0.2f, 0.333333f, 0.4f, 0.494949f, 0.5f, 0.545454f,
                    0.6f, 0.666666f, 0.8f, 0.99f, 1.0f}) {
        xs.push_back(below(b));
        xs.push_back(b);
        xs.push_back(above(b));
    }
    const std::size_t inRangeCount = xs.size();
    for (float bad : {kNaN, kInf, -kInf, -5.0f, 7.0f, 1e30f, -1e30f, 3.4e38f, -3.4e38f, 1e-45f,
                      -1e-45f, -0.0f, 1.0000001f})
        xs.push_back(bad);

    for (int index = 0; index < kNumNamedParameters; ++index) {
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const float x = xs[i];
            // All values at x, so the Rel mirrors meet every RelMode / Rel_m / Rel_a too.
            const std::vector<float> values(kNumStoredParameters, x);
            char text[kMaxDisplayLength + 1 + 16];
            std::memset(text, kCanary, sizeof text);
            ASSERT_TRUE(formatParameterDisplay(index, values.data(), text));
            const char* end = static_cast<const char*>(std::memchr(text, '\0', sizeof text));
            ASSERT_NE(end, nullptr) << "index " << index << " x " << x;
            const std::size_t length = static_cast<std::size_t>(end - text);
            EXPECT_LE(length, static_cast<std::size_t>(kMaxDisplayLength))
                << "index " << index << " x " << x << " text " << text;
            for (std::size_t c = 0; c < length; ++c)
                EXPECT_TRUE(text[c] >= 0x20 && text[c] <= 0x7e) << "index " << index << " x " << x;
            for (std::size_t c = length + 1; c < sizeof text; ++c)
                ASSERT_EQ(text[c], kCanary) << "index " << index << " x " << x;
            if (i < inRangeCount && index != param::kFilterType) {
                EXPECT_LE(length, static_cast<std::size_t>(kEightCharNumberLength))
                    << "index " << index << " x " << x << " text " << text;
            }
        }
    }
}

TEST(ParameterDisplayTest, EightCharacterNumber) {
    const struct {
        double v;
        const char* expected;
    } cases[] = {
        {0.0, "0.000000"},        {-6.020599913279624, "-6.02059"},
        {0.99999999, "0.999999"}, {1234.5678, "1234.567"},
        {-1234.5678, "-1234.56"}, {-0.5, "-0.50000"},
        {10.0, "10.00000"},       {1000.0, "1000.000"},
        {99999999.0, "99999999"}, {-9999999.0, "-9999999"},
        {1234567.5, "1234567."},
    };
    for (const auto& c : cases) {
        char text[16];
        std::memset(text, kCanary, sizeof text);
        ASSERT_TRUE(formatEightCharNumber(c.v, text)) << c.v;
        EXPECT_STREQ(text, c.expected) << c.v;
        EXPECT_EQ(text[std::strlen(text) + 1], kCanary);
    }
    for (double tooLarge : {100000000.0, -10000000.0, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        char text[16] = "previous";
        EXPECT_FALSE(formatEightCharNumber(tooLarge, text)) << tooLarge;
        EXPECT_STREQ(text, "previous");
    }
    EXPECT_FALSE(formatEightCharNumber(1.0, nullptr));
}

} // namespace
} // namespace qv
