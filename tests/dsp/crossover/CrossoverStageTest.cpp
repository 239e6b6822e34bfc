#include "dsp/crossover/CrossoverStage.h"
#include "tests/dsp/crossover/TestCrossoverBank.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

// Each form of the stage (the one this build vectorises and the one the x87 products run) must
// filter on its own.
template <class Stage> class CrossoverStageTest : public ::testing::Test {};
#if defined(__SSE2_MATH__)
using Forms = ::testing::Types<BasicCrossoverStage<true>, BasicCrossoverStage<false>>;
#else
using Forms = ::testing::Types<CrossoverStage>;
#endif
TYPED_TEST_SUITE(CrossoverStageTest, Forms);

// The stage's packed transforms must give what each channel's own bank gives, whether the two
// channels are designed alike (each transform then filters L + iR by one filter) or not.
template <class Stage> void expectEachBanksOwnBlockFilter(bool alike) {
    SCOPED_TRACE(alike ? "designed alike" : "designed differently");
    auto stage = std::make_unique<Stage>();
    auto refL = std::make_unique<TestCrossoverBank>();
    auto refR = std::make_unique<TestCrossoverBank>();
    const float hz[2][4] = {{87.6f, 38.0f, 5.24f, 0.76f}, {120.0f, 20.0f, 9.0f, 2.0f}};
    TestCrossoverBank* refs[2] = {refL.get(), refR.get()};
    for (int c = 0; c < 2; ++c) {
        const int design = alike ? 0 : c;
        for (CrossoverBank* b : {&stage->bank(c), static_cast<CrossoverBank*>(refs[c])}) {
            b->setFilterType(design == 0 ? 0.0f : 1.0f);
            b->setSlope(0.5f);
            for (int k = 1; k <= 4; ++k)
                b->setCrossover(k, hz[design][k - 1]);
        }
    }
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const int blocks = 5, hop = CrossoverStage::kHop;
    std::vector<double> in[2];
    for (auto& v : in) {
        v.resize(blocks * hop);
        for (double& x : v)
            x = unit(rng);
    }
    // R's first crossover moves for blocks 1 and 2 (designed alike, the stage changes its layout
    // there and back).
    const auto redesignRight = [&](CrossoverBank& bank, int block) {
        if (block == 1 || block == 3)
            bank.setCrossover(1, block == 1 ? 150.0f : hz[alike ? 0 : 1][0]);
    };
    // Reference: the bank's own block filter, outputs read one block later.
    std::vector<double> expected[2][4];
    for (int c = 0; c < 2; ++c) {
        for (auto& e : expected[c])
            e.assign(blocks * hop + hop, 0.0);
        std::vector<double> block(hop), out[4];
        for (auto& o : out)
            o.resize(hop);
        for (int b = 0; b < blocks; ++b) {
            if (c == 1) redesignRight(*refs[1], b);
            std::copy(in[c].begin() + b * hop, in[c].begin() + (b + 1) * hop, block.begin());
            refs[c]->processBlock(block.data(), out[0].data(), out[1].data(), out[2].data(),
                                  out[3].data());
            for (int f = 0; f < 4; ++f)
                std::copy(out[f].begin(), out[f].end(), expected[c][f].begin() + (b + 1) * hop);
        }
    }
    double worst = 0.0;
    for (int n = 0; n < blocks * hop; ++n) {
        double low[2][4];
        if (n % hop == 0 && n > 0) redesignRight(stage->bank(1), n / hop - 1);
        stage->step(in[0][n], in[1][n], low[0], low[1]);
        for (int c = 0; c < 2; ++c)
            for (int f = 0; f < 4; ++f)
                worst = std::max(worst, std::fabs(low[c][f] - expected[c][f][n]));
    }
    EXPECT_LT(worst, 1e-12);
}

TYPED_TEST(CrossoverStageTest, MatchesEachBanksOwnBlockFilter) {
    expectEachBanksOwnBlockFilter<TypeParam>(false);
    expectEachBanksOwnBlockFilter<TypeParam>(true);
}

TYPED_TEST(CrossoverStageTest, SilenceStepsAndResetsZeroTheOutputs) {
    auto stage = std::make_unique<TypeParam>();
    double low[2][4];
    for (int n = 0; n < 1500; ++n)
        stage->step(0.7, -0.7, low[0], low[1]);
    EXPECT_NE(low[0][3], 0.0);
    stage->stepSilence(); // at the block position: zero out, no filtering
    EXPECT_EQ(stage->position(), 1500 % 512 + 1);
    stage->clear();
    for (int n = 0; n < 600; ++n) {
        stage->step(0.0, 0.0, low[0], low[1]);
        for (int f = 0; f < 4; ++f)
            ASSERT_EQ(low[0][f] + low[1][f], 0.0) << n;
    }
    stage->fullReset();
    EXPECT_EQ(stage->position(), 0);
}

TYPED_TEST(CrossoverStageTest, RedesignReachesTheNextBlock) {
    auto stage = std::make_unique<TypeParam>();
    for (int c = 0; c < 2; ++c)
        stage->bank(c).setFilterType(1.0f);
    double low[2][4];
    for (int n = 0; n < 2048; ++n) // a DC input: every low-pass passes it
        stage->step(1.0, 1.0, low[0], low[1]);
    EXPECT_NEAR(low[0][3], 1.0, 0.01);
    // Crossover 1 to 16 kHz, the others to 500 Hz: a 10 kHz tone now passes LP1 only.
    for (int c = 0; c < 2; ++c)
        for (int k = 1; k <= 4; ++k)
            stage->bank(c).setCrossover(k, k == 1 ? 160.0f : 5.0f);
    double peak1 = 0.0, peak4 = 0.0;
    for (int n = 0; n < 4096; ++n) {
        const double x = std::sin(2.0 * 3.141592653589793 * 10000.0 * n / 44100.0);
        stage->step(x, x, low[0], low[1]);
        if (n >= 3000) {
            peak1 = std::max(peak1, std::fabs(low[1][0]));
            peak4 = std::max(peak4, std::fabs(low[1][3]));
        }
    }
    EXPECT_NEAR(peak1, 1.0, 0.01);
    EXPECT_LT(peak4, 1e-3);
}

} // namespace
} // namespace qv
