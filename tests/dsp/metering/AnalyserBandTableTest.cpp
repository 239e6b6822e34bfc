#include "dsp/metering/AnalyserBandTable.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

TEST(AnalyserBandTableTest, BinsAtCommonRates) {
    const struct {
        double fs;
        int first, band48, last;
    } cases[] = {
        {44100.0, 2, 92, 1871}, // 1000 Hz: 92.88
        {48000.0, 2, 85, 1719},
        {96000.0, 1, 42, 859},
    };
    AnalyserBandTable table;
    EXPECT_EQ(table.entries()[0], 2);
    EXPECT_EQ(table.entries()[87], 1871);
    for (const auto& c : cases) {
        table.rebuild(c.fs);
        EXPECT_EQ(table.entries()[0], c.first) << c.fs;
        EXPECT_EQ(table.entries()[48], c.band48) << c.fs;
        EXPECT_EQ(table.entries()[87], c.last) << c.fs;
        for (int i = 1; i < AnalyserBandTable::kBands; ++i)
            ASSERT_LE(table.entries()[i - 1], table.entries()[i]);
    }
}

TEST(AnalyserBandTableTest, LowRatesAreClampedToTheLastBin) {
    AnalyserBandTable table;
    table.rebuild(32000.0);
    // 20151 Hz lies above fs / 2: its formula bin 2579 would pass the 2048 bins.
    EXPECT_EQ(table.entries()[87], AnalyserBandTable::kMaxBin);
    EXPECT_EQ(table.entries()[0], 3); // 25 * 0.128
    for (double fs : {8000.0, 1.0, 1e-30}) {
        table.rebuild(fs);
        for (int i = 0; i < AnalyserBandTable::kBands; ++i) {
            ASSERT_GE(table.entries()[i], 0);
            ASSERT_LE(table.entries()[i], AnalyserBandTable::kMaxBin);
        }
    }
}

TEST(AnalyserBandTableTest, InvalidRatesKeepTheTable) {
    AnalyserBandTable table;
    table.rebuild(48000.0);
    for (double fs : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::infinity()}) {
        table.rebuild(fs);
        EXPECT_EQ(table.entries()[87], 1719);
    }
    table.rebuild(1e300);
    EXPECT_EQ(table.entries()[87], 0);
}

} // namespace
} // namespace qv
