#include "dsp/delay/DelayRing.h"

#include <gtest/gtest.h>
#include <vector>

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

// The block form over runs of assorted lengths (crossing the wrap-around at every offset) gives
// what step gives sample by sample; the shaped form sees each delayed sample with its index.
template <int Length> void expectBlockMatchesSteps() {
    DelayRing<Length> stepped, block, shaped;
    const int runs[] = {1, 3, Length - 1, Length, Length + 1, 64, 2, 5 * Length + 3};
    double next = 1.0;
    for (int round = 0; round < 3; ++round) {
        for (int frames : runs) {
            if (frames <= 0) continue;
            std::vector<double> expected(frames), plain(frames), scaled(frames);
            for (int i = 0; i < frames; ++i, next += 1.0) {
                expected[i] = stepped.step(next);
                plain[i] = next;
                scaled[i] = next;
            }
            block.process(plain.data(), frames);
            shaped.process(scaled.data(), frames,
                           [](int i, double delayed) { return delayed * 2.0 + i; });
            for (int i = 0; i < frames; ++i) {
                ASSERT_EQ(plain[i], expected[i]) << "length " << Length << " run " << frames;
                ASSERT_EQ(scaled[i], expected[i] * 2.0 + i) << "length " << Length;
            }
        }
    }
}

TEST(DelayRingTest, BlockFormMatchesSteps) {
    expectBlockMatchesSteps<1>();
    expectBlockMatchesSteps<2>();
    expectBlockMatchesSteps<7>();
    expectBlockMatchesSteps<40>();
}

} // namespace
} // namespace qv
