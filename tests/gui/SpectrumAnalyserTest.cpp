// The analyser's arithmetic: silence on the bottom row, a full-scale sine at the top in its own
// band only, empty bin ranges repeating their start bin, rows at 2 pixels per dB, and band
// tables out of range held to the bins.
#include "editor/SpectrumAnalyser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace qv {

namespace {

constexpr int kEdges[SpectrumAnalyser::kPoints] = {
    25,    27,    29,    31,    33,    36,    39,    42,    46,    50,   53,   57,   63,
    68,    73,    79,    85,    92,    99,    107,   116,   125,   135,  146,  158,  170,
    184,   198,   214,   231,   250,   270,   291,   315,   340,   367,  397,  429,  463,
    500,   540,   583,   630,   680,   735,   794,   857,   926,   1000, 1080, 1166, 1260,
    1361,  1470,  1587,  1714,  1851,  2000,  2160,  2333,  2520,  2721, 2939, 3175, 3428,
    3703,  4000,  4320,  4665,  5039,  5442,  5877,  6349,  6857,  7405, 7999, 8639, 9330,
    10078, 10884, 11755, 12697, 13713, 14810, 15997, 17277, 18659, 20151};

std::vector<std::int32_t> bandTable(float rate) {
    std::vector<std::int32_t> t(SpectrumAnalyser::kPoints);
    for (int i = 0; i < SpectrumAnalyser::kPoints; ++i)
        t[i] = static_cast<std::int32_t>(static_cast<float>(kEdges[i]) * (4096.0f / rate));
    return t;
}

std::vector<float> sine(double hz, double amplitude, double rate = 44100.0) {
    std::vector<float> s(SpectrumAnalyser::kSize);
    for (int i = 0; i < SpectrumAnalyser::kSize; ++i)
        s[i] = static_cast<float>(amplitude * std::sin(2.0 * 3.141592653589793 * hz * i / rate));
    return s;
}

TEST(SpectrumAnalyser, RowsAreTwoPixelsPerDecibel) {
    EXPECT_EQ(SpectrumAnalyser::rowOf(0.0), 200);
    EXPECT_EQ(SpectrumAnalyser::rowOf(0.0000099), 200);
    EXPECT_EQ(SpectrumAnalyser::rowOf(0.00001), 199); // -100 dB: 199.99...
    EXPECT_EQ(SpectrumAnalyser::rowOf(0.011), 78);
    EXPECT_EQ(SpectrumAnalyser::rowOf(0.5), 12);
    EXPECT_EQ(SpectrumAnalyser::rowOf(1.0), 0);
    EXPECT_EQ(SpectrumAnalyser::rowOf(7.0), 0);
    EXPECT_EQ(SpectrumAnalyser::rowOf(std::numeric_limits<double>::quiet_NaN()), 200);
}

TEST(SpectrumAnalyser, SilenceLiesOnTheBottomRow) {
    auto analyser = std::make_unique<SpectrumAnalyser>();
    const std::vector<float> silence(SpectrumAnalyser::kSize, 0.0f);
    const auto table = bandTable(44100.0f);
    analyser->analyse(silence.data(), nullptr, table.data());
    for (int i = 0; i < SpectrumAnalyser::kPoints; ++i) {
        EXPECT_EQ(SpectrumAnalyser::rowOf(analyser->leftPoint(i)), 200) << i;
        EXPECT_EQ(SpectrumAnalyser::rowOf(analyser->rightPoint(i)), 200) << i;
    }
}

TEST(SpectrumAnalyser, FullScaleSineReachesTheTopInItsBand) {
    auto analyser = std::make_unique<SpectrumAnalyser>();
    const auto table = bandTable(44100.0f);
    const auto loud = sine(1000.0 * 1.03, 1.0); // between the 1000 and 1080 Hz edges
    analyser->analyse(loud.data(), nullptr, table.data());
    int peak = 0;
    for (int i = 1; i < SpectrumAnalyser::kPoints; ++i)
        if (analyser->leftPoint(i) > analyser->leftPoint(peak)) peak = i;
    EXPECT_EQ(peak, 49); // bins [table(48), table(49)) = 1000 .. 1080 Hz
    // The window's coherent gain of 0.42 puts it 7.5 dB down.
    EXPECT_LE(SpectrumAnalyser::rowOf(analyser->leftPoint(peak)), 16);
    EXPECT_GT(SpectrumAnalyser::rowOf(analyser->leftPoint(20)), 100); // far below elsewhere
    EXPECT_EQ(SpectrumAnalyser::rowOf(analyser->rightPoint(peak)), 200);
}

TEST(SpectrumAnalyser, EmptyBinRangesRepeatTheirStartBin) {
    auto analyser = std::make_unique<SpectrumAnalyser>();
    // At 192 kHz the lowest bands all map to bin 0 and repeat it.
    const auto high = bandTable(192000.0f);
    ASSERT_EQ(high[0], 0);
    ASSERT_EQ(high[1], 0);
    const auto low = sine(30.0, 0.5, 192000.0);
    analyser->analyse(low.data(), low.data(), high.data());
    EXPECT_GT(analyser->leftPoint(1), 0.0);
    EXPECT_EQ(analyser->leftPoint(0), analyser->leftPoint(1));
    EXPECT_EQ(analyser->leftPoint(1), analyser->leftPoint(2));
    // At 8 kHz the top bands lie past bin 2047 and read the last bin, not beyond it.
    const auto slow = bandTable(8000.0f);
    ASSERT_GT(slow[87], 2047);
    const auto hiss = sine(3990.0, 0.5, 8000.0);
    analyser->analyse(hiss.data(), hiss.data(), slow.data());
    EXPECT_GT(analyser->leftPoint(87), 0.0);
    EXPECT_EQ(analyser->leftPoint(86), analyser->leftPoint(87));
}

TEST(SpectrumAnalyser, AbsentInputsAndBadSamplesStayDefined) {
    auto analyser = std::make_unique<SpectrumAnalyser>();
    std::vector<float> bad(SpectrumAnalyser::kSize, std::numeric_limits<float>::infinity());
    bad[7] = std::numeric_limits<float>::quiet_NaN();
    const std::vector<std::int32_t> wild(SpectrumAnalyser::kPoints, -5000);
    analyser->analyse(bad.data(), nullptr, wild.data());
    analyser->analyse(nullptr, nullptr, nullptr);
    for (int i = 0; i < SpectrumAnalyser::kPoints; ++i)
        EXPECT_EQ(SpectrumAnalyser::rowOf(analyser->leftPoint(i)), 200);
    EXPECT_EQ(analyser->leftPoint(-1), 0.0);
    EXPECT_EQ(analyser->rightPoint(88), 0.0);
}

} // namespace

} // namespace qv
