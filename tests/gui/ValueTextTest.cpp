// The value boxes' texts: each unit's formats at the edges where the format changes.
#include "editor/ValueText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace qv {

namespace {

using Format = void (*)(float, char*);

std::string show(Format format, float v) {
    char text[ValueText::kSize];
    std::memset(text, 'x', sizeof text);
    format(v, text);
    EXPECT_NE(std::memchr(text, '\0', sizeof text), nullptr);
    return text;
}

TEST(ValueText, FormatsAtTheirEdges) {
    const struct {
        Format format;
        float value;
        const char* text;
    } cases[] = {
        {ValueText::ratio, 1.0f, "50 : 1"},
        {ValueText::ratio, 0.5f, "1.0 : 1"},
        {ValueText::ratio, 0.0f, "0.50 : 1"},
        {ValueText::ratio, 0.75f, "2.0 : 1"},
        {ValueText::ratio, 0.96f, "12 : 1"}, // 12.5 truncated
        {ValueText::ratio, 0.99f, "50 : 1"},
        {ValueText::threshold, 1.0f, "0.0 dB"},
        {ValueText::threshold, 0.5f, "-20.0 dB"},
        {ValueText::threshold, 0.0f, "-40.0 dB"},
        {ValueText::level, 0.5f, "0.0 dB"},
        {ValueText::level, 0.502f, "0.0 dB"}, // 0.096 dB
        {ValueText::level, 0.503f, "0.1 dB"},
        {ValueText::level, 1.0f, "24.0 dB"},
        {ValueText::level, 0.0f, "-24.0 dB"},
        {ValueText::attackTime, 0.0f, "0.00 ms"},
        {ValueText::attackTime, 0.099941f, "1.00 ms"}, // 0.998 ms: two decimals
        {ValueText::attackTime, 0.2f, "8.0 ms"},
        {ValueText::attackTime, 0.5f, "125 ms"},
        {ValueText::releaseTime, 0.0f, "0.01 ms"},
        {ValueText::releaseTime, 0.500189f, "125 ms"},
        {ValueText::releaseTime, 0.1f, "1.0 ms"},
        {ValueText::releaseDepth, 0.005f, "min"},
        {ValueText::releaseDepth, 0.995f, "max"},
        {ValueText::releaseDepth, 0.258503f, " 25 %"},
        {ValueText::ceiling, 1.0f, "0.00 dB"},
        {ValueText::ceiling, 0.998f, "-0.01 dB"},
        {ValueText::ceiling, 0.0f, "-6.00 dB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(c.format, c.value), c.text) << c.value;
}

TEST(ValueText, SwitchWordsOfTheMatrixPage) {
    char text[ValueText::kSize];
    const struct {
        CompressorQuantity q;
        const char* low;
        const char* high;
    } cases[] = {{CompressorQuantity::AttackCurve, "Hard", "Soft"},
                 {CompressorQuantity::ReleaseMode, "Auto", "Manual"},
                 {CompressorQuantity::AutoReleaseType, "Dynamic", "Smooth"}};
    for (const auto& c : cases) {
        ValueText::quantity(c.q, 0.49f, text);
        EXPECT_STREQ(text, c.low);
        ValueText::quantity(c.q, 0.5f, text);
        EXPECT_STREQ(text, c.high);
    }
    ValueText::quantity(CompressorQuantity::Ratio, 0.5f, text);
    EXPECT_STREQ(text, "1.0 : 1");
}

TEST(ValueText, ValuesNoBoxCanShowStayWithinTheBuffer) {
    const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 1.0e30f, -1.0e30f};
    const Format formats[] = {
        ValueText::ratio,       ValueText::threshold,    ValueText::level,  ValueText::attackTime,
        ValueText::releaseTime, ValueText::releaseDepth, ValueText::ceiling};
    for (Format f : formats)
        for (float v : odd)
            EXPECT_LT(show(f, v).size(), static_cast<size_t>(ValueText::kSize));
}

} // namespace

} // namespace qv
