#include "dsp/crossover/CrossoverDesigner.h"
#include "dsp/crossover/CrossoverBank.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace qv {
namespace {

const int kSpectrumDoubles = 2 * CrossoverDesigner::kFftSize;

void expectSameSpectra(const CrossoverBank& a, const CrossoverBank& b) {
    for (int f = 1; f <= CrossoverBank::kFilterCount; ++f)
        for (int i = 0; i < kSpectrumDoubles; ++i)
            ASSERT_EQ(a.filterSpectrum(f)[i], b.filterSpectrum(f)[i]) << "filter " << f << " " << i;
}

// Two banks sharing one designer, with the other bank designing different filters in between,
// end up with exactly the spectra of a bank that has a designer of its own: no design leaves
// state behind in the shared scratch.
TEST(CrossoverDesignerTest, SharedDesignerLeavesNoTraceBetweenBanks) {
    auto shared = std::make_unique<CrossoverDesigner>();
    auto own = std::make_unique<CrossoverDesigner>();
    auto left = std::make_unique<CrossoverBank>(*shared);
    auto right = std::make_unique<CrossoverBank>(*shared);
    auto alone = std::make_unique<CrossoverBank>(*own);

    right->setSampleRate(22050.0);
    right->setFilterType(1.0f);
    const float hundredsOfHz[4] = {87.6f, 38.02f, 5.24f, 0.76f};
    for (CrossoverBank* bank : {left.get(), alone.get()}) {
        bank->setFilterType(0.0f);
        bank->setSlope(0.5f);
    }
    for (int k = 1; k <= 4; ++k) {
        left->setCrossover(k, hundredsOfHz[k - 1]);
        right->setCrossover(k, 160.0f); // a different design between each of left's
        alone->setCrossover(k, hundredsOfHz[k - 1]);
    }
    expectSameSpectra(*left, *alone);
    EXPECT_NE(left->filterSpectrum(1)[2], right->filterSpectrum(1)[2]);

    // The designer's magnitude curve is that of the last design, whichever bank made it.
    right->setCrossover(2, 10.0f);
    EXPECT_EQ(left->magnitude(), right->magnitude());
    EXPECT_EQ(right->magnitude()[0], 1.0);
}

TEST(CrossoverDesignerTest, WindowIsAHannShapeWithAFlatTop) {
    auto designer = std::make_unique<CrossoverDesigner>();
    EXPECT_EQ(designer->window(255), 1.0);
    EXPECT_EQ(designer->window(256), 1.0);
    EXPECT_NEAR(designer->window(0), 0.0, 1e-15);
    // sin^2(pi j / 509)
    for (int j : {1, 100, 254, 257, 400, 511})
        EXPECT_NEAR(designer->window(j), std::pow(std::sin(3.141592653589793 * j / 509.0), 2),
                    1e-12)
            << j;
    EXPECT_EQ(designer->window(-1), 0.0);
    EXPECT_EQ(designer->window(512), 0.0);
}

} // namespace
} // namespace qv
