#include "dsp/fft/Fft.h"

#include "tests/dsp/fft/ReferenceFft.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

std::vector<double> randomSignal(int size, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(2 * size);
    for (double& x : v)
        x = dist(rng);
    return v;
}

double maxAbsDifference(const std::vector<double>& a, const std::vector<double>& b) {
    double worst = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

class FftSizeTest : public ::testing::TestWithParam<int> {};

TEST_P(FftSizeTest, MatchesNaiveDftInBothDirections) {
    const int n = GetParam();
    auto fft = std::make_unique<Fft>(n);
    ASSERT_EQ(fft->size(), n);
    for (unsigned seed = 1; seed <= 2; ++seed) {
        const std::vector<double> x = randomSignal(n, seed * 17 + n);

        std::vector<double> ours = x;
        fft->forward(ours.data());
        // Entries of a random spectrum are about sqrt(N) in size; allow a few ulps per stage.
        EXPECT_LT(maxAbsDifference(ours, reference::dft(x, false)), 1e-11 * n);

        std::vector<double> back = x;
        fft->inverse(back.data());
        EXPECT_LT(maxAbsDifference(back, reference::dft(x, true)), 1e-14 * n);
    }
}

TEST_P(FftSizeTest, RoundTripRestoresInput) {
    const int n = GetParam();
    auto fft = std::make_unique<Fft>(n);
    const std::vector<double> x = randomSignal(n, 99);
    std::vector<double> y = x;
    fft->forward(y.data());
    fft->inverse(y.data());
    EXPECT_LT(maxAbsDifference(x, y), 1e-14);
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, FftSizeTest,
                         ::testing::Values(4, 8, 32, 512, 1024, 2048, 4096));

TEST(FftTest, SingleToneLandsInItsBin) {
    // A cosine at bin 5 of a 1024-point transform: N/2 in bins 5 and N-5, ~0 elsewhere. This
    // pins the sign convention (and catches a wrong permutation the DFT check would also see).
    const int n = 1024;
    auto fft = std::make_unique<Fft>(n);
    std::vector<double> x(2 * n, 0.0);
    for (int i = 0; i < n; ++i)
        x[2 * i] =
            std::cos(6.283185307179586 * 5 * i / n) + std::sin(6.283185307179586 * 9 * i / n);
    fft->forward(x.data());
    for (int k = 0; k < n; ++k) {
        const double re = x[2 * k], im = x[2 * k + 1];
        const double expectRe = (k == 5 || k == n - 5) ? n / 2.0 : 0.0;
        const double expectIm = k == 9 ? -n / 2.0 : (k == n - 9 ? n / 2.0 : 0.0);
        EXPECT_NEAR(re, expectRe, 1e-9) << k;
        EXPECT_NEAR(im, expectIm, 1e-9) << k;
    }
}

TEST(FftTest, AgreesWithRadix2Oracle) {
    const int n = 4096;
    auto fft = std::make_unique<Fft>(n);
    std::vector<double> x = randomSignal(n, 5);
    std::vector<double> y = x;
    fft->forward(x.data());
    reference::radix2Fft(y.data(), n, false);
    EXPECT_LT(maxAbsDifference(x, y), 1e-9);
}

TEST(FftTest, InvalidSizesGiveInertTransform) {
    for (int bad : {0, -8, 1, 2, 3, 1000, 8192}) {
        auto fft = std::make_unique<Fft>(bad);
        EXPECT_EQ(fft->size(), 0) << bad;
        double data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        fft->forward(data);
        fft->inverse(data);
        EXPECT_EQ(data[0], 1.0);
        EXPECT_EQ(data[7], 8.0);
    }
    auto fft = std::make_unique<Fft>(1024);
    fft->forward(nullptr);
    fft->inverse(nullptr);
}

// A transform with tables sized for 1024 points computes the same values as the 4096-point
// variant at the sizes it takes, and refuses larger ones.
TEST(FftTest, SmallTablesGiveTheSameTransform) {
    for (int n : {4, 8, 512, 1024}) {
        auto small = std::make_unique<SizedFft<1024>>(n);
        auto full = std::make_unique<Fft>(n);
        std::vector<double> a = randomSignal(n, 11), b = a;
        small->forward(a.data());
        full->forward(b.data());
        ASSERT_EQ(a, b) << n;
        small->inverse(a.data());
        full->inverse(b.data());
        ASSERT_EQ(a, b) << n;
    }
    for (int n : {2048, 4096}) {
        SizedFft<1024> small(n);
        EXPECT_EQ(small.size(), 0) << n;
    }
}

} // namespace
} // namespace qv
