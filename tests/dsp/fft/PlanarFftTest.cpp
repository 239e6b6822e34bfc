#include "dsp/fft/PlanarFft.h"

#include "tests/dsp/fft/ReferenceFft.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

std::vector<double> randomComplex(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> v(2 * n);
    for (double& x : v)
        x = unit(rng);
    return v;
}

// Every size runs its own sequence of stages (radix 4 and 8 above the 16-point codelets), and
// the codelets come in two forms: the one this build vectorises and the one the x87 products
// run. Each form must be the transform on its own.
template <class Fft> class PlanarFftFormTest : public ::testing::Test {};
#if defined(__SSE2_MATH__)
using Forms = ::testing::Types<SizedPlanarFft<4096, true>, SizedPlanarFft<4096, false>>;
#else
using Forms = ::testing::Types<PlanarFft>;
#endif
TYPED_TEST_SUITE(PlanarFftFormTest, Forms);

TYPED_TEST(PlanarFftFormTest, ForwardMatchesTheDftInBitReversedOrder) {
    for (int n : {16, 64, 256, 1024, 4096}) {
        SCOPED_TRACE(n);
        auto fft = std::make_unique<TypeParam>(n);
        ASSERT_EQ(fft->size(), n);
        const std::vector<double> x = randomComplex(n, n);
        const std::vector<double> expected = reference::dft(x, false);
        std::vector<double> re(n), im(n);
        for (int i = 0; i < n; ++i) {
            re[i] = x[2 * i];
            im[i] = x[2 * i + 1];
        }
        fft->forward(re.data(), im.data());
        double worst = 0.0;
        for (int k = 0; k < n; ++k) {
            const int p = fft->bitReversed(k);
            worst = std::max(worst, std::fabs(re[p] - expected[2 * k]));
            worst = std::max(worst, std::fabs(im[p] - expected[2 * k + 1]));
        }
        EXPECT_LT(worst, 1e-12 * n);
    }
}

TYPED_TEST(PlanarFftFormTest, InverseOfBitReversedSpectrumMatchesTheInverseDft) {
    for (int n : {16, 64, 256, 1024}) {
        SCOPED_TRACE(n);
        auto fft = std::make_unique<TypeParam>(n);
        const std::vector<double> spectrum = randomComplex(n, 7 * n);
        // Unscaled inverse: the reference scales by 1/N.
        const std::vector<double> expected = reference::dft(spectrum, true);
        std::vector<double> re(n), im(n);
        for (int k = 0; k < n; ++k) {
            re[fft->bitReversed(k)] = spectrum[2 * k];
            im[fft->bitReversed(k)] = spectrum[2 * k + 1];
        }
        fft->inverse(re.data(), im.data());
        double worst = 0.0;
        for (int i = 0; i < n; ++i) {
            worst = std::max(worst, std::fabs(re[i] / n - expected[2 * i]));
            worst = std::max(worst, std::fabs(im[i] / n - expected[2 * i + 1]));
        }
        EXPECT_LT(worst, 1e-14 * n);
    }
}

TYPED_TEST(PlanarFftFormTest, InverseUndoesForwardUpToTheFactorN) {
    const int n = TypeParam::kMaxSize;
    auto fft = std::make_unique<TypeParam>(n);
    const std::vector<double> x = randomComplex(n, 3);
    std::vector<double> re(n), im(n);
    for (int i = 0; i < n; ++i) {
        re[i] = x[2 * i];
        im[i] = x[2 * i + 1];
    }
    fft->forward(re.data(), im.data());
    fft->inverse(re.data(), im.data());
    double worst = 0.0;
    for (int i = 0; i < n; ++i) {
        worst = std::max(worst, std::fabs(re[i] / n - x[2 * i]));
        worst = std::max(worst, std::fabs(im[i] / n - x[2 * i + 1]));
    }
    EXPECT_LT(worst, 1e-13);
}

// The overlap-save caller keeps only the upper half: it must equal the full inverse's bit for
// bit, in every size (each size ends on a different stage).
TYPED_TEST(PlanarFftFormTest, UpperHalfInverseMatchesTheFullInverseExactly) {
    for (int n : {16, 64, 256, 1024, 4096}) {
        SCOPED_TRACE(n);
        auto fft = std::make_unique<TypeParam>(n);
        const std::vector<double> x = randomComplex(n, 11 * n);
        std::vector<double> re(x.begin(), x.begin() + n), im(x.begin() + n, x.end());
        std::vector<double> re2 = re, im2 = im;
        fft->inverse(re.data(), im.data());
        fft->inverseUpperHalf(re2.data(), im2.data());
        for (int i = n / 2; i < n; ++i) {
            ASSERT_EQ(re[i], re2[i]) << i;
            ASSERT_EQ(im[i], im2[i]) << i;
        }
    }
}

// The product formed by the first pass: the same upper half as the product written first and
// then transformed, bit for bit where doubles are rounded at every operation; null factors
// leave the output alone.
TYPED_TEST(PlanarFftFormTest, UpperHalfOfProductMatchesTheProductTransformedExactly) {
    for (int n : {16, 64, 256, 1024, 4096}) {
        SCOPED_TRACE(n);
        auto fft = std::make_unique<TypeParam>(n);
        const std::vector<double> x = randomComplex(n, 3 * n), g = randomComplex(n, 5 * n);
        std::vector<double> re(n), im(n), re2(n), im2(n);
        for (int k = 0; k < n; ++k) {
            re[k] = x[k] * g[k] - x[n + k] * g[n + k];
            im[k] = x[k] * g[n + k] + x[n + k] * g[k];
        }
        fft->inverseUpperHalf(re.data(), im.data());
        fft->inverseUpperHalfOfProduct(x.data(), x.data() + n, g.data(), g.data() + n, re2.data(),
                                       im2.data());
        for (int i = n / 2; i < n; ++i) {
            ASSERT_EQ(re[i], re2[i]) << i;
            ASSERT_EQ(im[i], im2[i]) << i;
        }
        fft->inverseUpperHalfOfProduct(nullptr, x.data() + n, g.data(), g.data() + n, re2.data(),
                                       im2.data());
        EXPECT_EQ(re2[n - 1], re[n - 1]);
    }
}

TEST(PlanarFftTest, UnusableSizesDoNothing) {
    for (int n : {0, 8, 32, 512, 2048, 8192, -16}) {
        PlanarFft fft(n);
        EXPECT_EQ(fft.size(), 0) << n;
        double re[4] = {1, 2, 3, 4}, im[4] = {5, 6, 7, 8};
        fft.forward(re, im);
        fft.inverse(re, im);
        EXPECT_EQ(re[1], 2.0);
        EXPECT_EQ(im[3], 8.0);
        EXPECT_EQ(fft.bitReversed(1), 0);
    }
    PlanarFft fft(16);
    fft.forward(nullptr, nullptr); // ignored
    EXPECT_EQ(fft.bitReversed(1), 8);
    EXPECT_EQ(fft.bitReversed(16), 0);
}

// Tables sized for 1024 points: the same values as the 4096-point variant, larger sizes refused.
TEST(PlanarFftTest, SmallTablesGiveTheSameTransform) {
    for (int n : {16, 256, 1024}) {
        auto small = std::make_unique<SizedPlanarFft<1024>>(n);
        auto full = std::make_unique<PlanarFft>(n);
        const std::vector<double> x = randomComplex(n, 5);
        std::vector<double> re(x.begin(), x.begin() + n), im(x.begin() + n, x.end());
        std::vector<double> re2 = re, im2 = im;
        small->forward(re.data(), im.data());
        full->forward(re2.data(), im2.data());
        ASSERT_EQ(re, re2) << n;
        ASSERT_EQ(im, im2) << n;
        small->inverse(re.data(), im.data());
        full->inverse(re2.data(), im2.data());
        ASSERT_EQ(re, re2) << n;
        ASSERT_EQ(im, im2) << n;
        for (int k = 0; k < n; ++k)
            ASSERT_EQ(small->bitReversed(k), full->bitReversed(k));
    }
    SizedPlanarFft<1024> tooLarge(4096);
    EXPECT_EQ(tooLarge.size(), 0);
}

// The block convolution's object: its upper-half inverse, null arrays ignored and an unusable
// size writing nothing.
TEST(PlanarFftTest, SmallTablesUpperHalfInverse) {
    auto small = std::make_unique<SizedPlanarFft<1024>>(1024);
    const std::vector<double> x = randomComplex(1024, 2);
    std::vector<double> re(x.begin(), x.begin() + 1024), im(x.begin() + 1024, x.end());
    std::vector<double> re2 = re, im2 = im;
    small->inverse(re.data(), im.data());
    small->inverseUpperHalf(re2.data(), im2.data());
    EXPECT_TRUE(std::equal(re.begin() + 512, re.end(), re2.begin() + 512));
    EXPECT_TRUE(std::equal(im.begin() + 512, im.end(), im2.begin() + 512));
    small->inverseUpperHalf(nullptr, im2.data()); // ignored
    PlanarFft unusable(12);
    unusable.inverseUpperHalf(re2.data(), im2.data()); // size 0: nothing written
    EXPECT_TRUE(std::equal(im.begin() + 512, im.end(), im2.begin() + 512));
}

} // namespace
} // namespace qv
