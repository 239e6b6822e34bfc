#include "dsp/SilenceGate.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(SilenceGateTest, ClosesOnThe1025thSilentFrameAndAsksForOneReset) {
    SilenceGate gate;
    EXPECT_TRUE(gate.push(0.5, 0.0));
    for (int n = 1; n <= SilenceGate::kSilentLimit; ++n)
        ASSERT_TRUE(gate.push(0.0, -1e-6)) << n; // 1e-6 itself counts as silence
    EXPECT_FALSE(gate.push(0.0, 0.0));
    EXPECT_TRUE(gate.takeReset());
    EXPECT_FALSE(gate.takeReset()) << "once per closed stretch";
    for (int n = 0; n < 100000; ++n)
        gate.push(0.0, 0.0);
    EXPECT_EQ(gate.silentCount(), SilenceGate::kSilentLimit + 1) << "saturates";
    EXPECT_FALSE(gate.takeReset());
}

TEST(SilenceGateTest, EitherChannelAboveTheThresholdOpensAtOnce) {
    for (int channel = 0; channel < 2; ++channel) {
        SilenceGate gate;
        for (int n = 0; n < 2000; ++n)
            gate.push(0.0, 0.0);
        ASSERT_FALSE(gate.active());
        gate.takeReset();
        const double loud = -1.0000001e-6;
        EXPECT_TRUE(channel == 0 ? gate.push(loud, 0.0) : gate.push(0.0, loud));
        EXPECT_EQ(gate.silentCount(), 0);
        // The next closing asks for a reset again.
        for (int n = 0; n <= SilenceGate::kSilentLimit; ++n)
            gate.push(0.0, 0.0);
        EXPECT_TRUE(gate.takeReset());
    }
}

TEST(SilenceGateTest, CloseStartsClosedUntilTheFirstLoudFrame) {
    SilenceGate gate;
    gate.close();
    EXPECT_FALSE(gate.active());
    EXPECT_FALSE(gate.push(0.0, 0.0)) << "silence after a full reset stays gated";
    EXPECT_TRUE(gate.takeReset());
    EXPECT_TRUE(gate.push(0.1, 0.0));
}

} // namespace
} // namespace qv
