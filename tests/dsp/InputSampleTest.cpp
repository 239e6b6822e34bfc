#include "dsp/InputSample.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

TEST(InputSampleTest, FiniteSamplesBeyondTheLimitEnterAsTheLimitOthersUnchanged) {
    const float inf = std::numeric_limits<float>::infinity();
    const float maxFloat = std::numeric_limits<float>::max();
    const float belowLimit = 999.9f;
    const struct Row {
        float in;
        double out;
    } rows[] = {
        {0.5f, 0.5},
        {-0.0f, -0.0},
        {1e-40f, static_cast<double>(1e-40f)}, // subnormal floats pass as they are
        {belowLimit, static_cast<double>(belowLimit)},
        {-belowLimit, -static_cast<double>(belowLimit)},
        {1000.0f, 1000.0},
        {1000.0001f, 1000.0},
        {1e6f, 1000.0},
        {-1e6f, -1000.0},
        {1e30f, 1000.0},
        {-1e30f, -1000.0},
        {maxFloat, 1000.0},
        {-maxFloat, -1000.0},
        {inf, 0.0},
        {-inf, 0.0},
        {std::numeric_limits<float>::quiet_NaN(), 0.0},
        {-std::numeric_limits<float>::signaling_NaN(), 0.0},
    };
    for (const Row& row : rows) {
        const double entered = enteredSample(row.in);
        EXPECT_EQ(0, std::memcmp(&entered, &row.out, sizeof entered))
            << row.in << " entered as " << entered << ", not " << row.out;
    }
    // The run form gives the same bits for every row, wherever it falls in a run (runs of the
    // rows repeated, taken from every offset and with every length up to a few vector widths).
    constexpr int kRows = sizeof rows / sizeof rows[0];
    float in[3 * kRows];
    for (int i = 0; i < 3 * kRows; ++i)
        in[i] = rows[(i * 5) % kRows].in;
    for (int offset = 0; offset < 8; ++offset) {
        for (int length = 0; offset + length <= 3 * kRows && length < 12; ++length) {
            double out[3 * kRows];
            enterSamples(in + offset, out, length);
            for (int i = 0; i < length; ++i) {
                const double expected = enteredSample(in[offset + i]);
                ASSERT_EQ(0, std::memcmp(&out[i], &expected, sizeof expected))
                    << in[offset + i] << " in a run at " << offset << " of " << length;
            }
        }
    }
}

} // namespace
} // namespace qv
