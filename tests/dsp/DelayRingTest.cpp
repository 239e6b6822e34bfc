#include "dsp/DelayRing.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

template <int Length> void expectDelay() {
    DelayRing<Length> ring;
    for (int n = 0; n < 3 * Length + 5; ++n) {
        const double out = ring.step(n + 1.0);
        const double expected = n >= Length - 1 ? n + 1.0 - (Length - 1) : 0.0;
        ASSERT_EQ(out, expected) << "length " << Length << " step " << n;
    }
}

TEST(DelayRingTest, DelaysByLengthMinusOne) {
    expectDelay<1>();
    expectDelay<2>();
    expectDelay<32>();
    expectDelay<40>();
    expectDelay<769>();
}

TEST(DelayRingTest, ClearZeroesHistory) {
    DelayRing<4> ring;
    for (int n = 0; n < 7; ++n)
        ring.step(5.0);
    ring.clear();
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(ring.step(1.0), 0.0);
    EXPECT_EQ(ring.step(1.0), 1.0);
}

} // namespace
} // namespace qv
