#include "tests/dsp/crossover/TestCrossoverBank.h"

#include "dsp/delay/DelayRing.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

const int kHop = CrossoverBank::kHop;
const int kTaps = CrossoverBank::kTapCount;
const int kN = CrossoverBank::kDesignSize;

struct Outputs {
    std::vector<double> lp[4];
    Outputs() {
        for (auto& v : lp)
            v.assign(kHop, 0.0);
    }
};

Outputs runBlock(TestCrossoverBank& bank, const std::vector<double>& in) {
    Outputs out;
    bank.processBlock(in.data(), out.lp[0].data(), out.lp[1].data(), out.lp[2].data(),
                      out.lp[3].data());
    return out;
}

// Settings as the parameter layer passes them: frequencies in hundreds of Hz, descending.
struct Setting {
    float filterType;
    float slope;
    float hundredsOfHz[4];
};

void apply(CrossoverBank& bank, const Setting& s) {
    bank.setFilterType(s.filterType);
    bank.setSlope(s.slope);
    for (int i = 0; i < 4; ++i)
        bank.setCrossover(i + 1, s.hundredsOfHz[i]);
}

const Setting kSettings[] = {
    {1.0f, 1.0f, {87.6f, 38.02f, 5.24f, 0.76f}}, // brick-wall, default frequencies
    {0.0f, 1.0f, {120.0f, 30.0f, 3.0f, 0.4f}},   // 96 dB/oct
    {0.0f, 0.5f, {160.0f, 10.0f, 2.0f, 1.0f}},   // 48 dB/oct
    {0.0f, 0.0f, {50.0f, 20.0f, 8.0f, 0.5f}},    // 24 dB/oct
};

TEST(CrossoverBankTest, BrickWallBinRule) {
    const struct {
        double fs;
        float hundredsOfHz;
        int firstStopBin; // truncate(N / fs * fc) - 1
    } cases[] = {
        {44100.0, 10.0f, 91},    // 1000 Hz: truncate(92.88) - 1
        {44100.0, 0.4f, 2},      // 40 Hz: truncate(3.71) - 1
        {48000.0, 160.0f, 1364}, // 16 kHz: truncate(1365.33) - 1
        {44100.0, 300.0f, 2047}, // limited to 22050 Hz: 2048 - 1
    };
    for (const auto& c : cases) {
        auto bank = std::make_unique<TestCrossoverBank>();
        bank->setSampleRate(c.fs);
        bank->setFilterType(1.0f);
        bank->setCrossover(2, c.hundredsOfHz);
        const double* m = bank->magnitude();
        EXPECT_EQ(m[c.firstStopBin - 1], 1.0) << c.hundredsOfHz;
        EXPECT_EQ(m[c.firstStopBin], 0.00001) << c.hundredsOfHz;
        EXPECT_EQ(m[0], 1.0);
        EXPECT_EQ(m[kN / 2 - 1], c.firstStopBin == 2048 ? 1.0 : 0.00001);
        // Upper half mirrors the lower half.
        for (int j = 0; j < kN / 2; ++j)
            ASSERT_EQ(m[kN / 2 + j], m[kN / 2 - 1 - j]);
    }
}

TEST(CrossoverBankTest, SlopedCurvesFallHundredDecibelsOverTheirTransition) {
    const struct {
        float slope;
        float hundredsOfHz;
        double startHz, endHz; // after the 16 kHz limit of the end
    } cases[] = {
        {1.0f, 120.0f, 9000.0, 16000.0}, // 1.5 * 12 kHz = 18 kHz lowered to 16 kHz
        {1.0f, 10.0f, 750.0, 1500.0},    {0.5f, 10.0f, 500.0, 2000.0},
        {0.4f, 50.0f, 2500.0, 10000.0},  {0.0f, 10.0f, 250.0, 4000.0},
        {0.3f, 60.0f, 1500.0, 16000.0},
    };
    const double fs = 44100.0;
    for (const auto& c : cases) {
        auto bank = std::make_unique<TestCrossoverBank>();
        bank->setFilterType(0.0f);
        bank->setSlope(c.slope);
        bank->setCrossover(3, c.hundredsOfHz);
        const int i0 = static_cast<int>(c.startHz * kN / fs);
        const int i1 = static_cast<int>(c.endHz * kN / fs);
        const double step = 100.0 / (i1 - i0);
        const double* m = bank->magnitude();
        EXPECT_EQ(m[i0 - 1], 1.0);
        EXPECT_EQ(m[i0], 1.0);
        EXPECT_NEAR(m[i0 + 1], std::pow(10.0, -0.05 * step), 1e-12);
        EXPECT_NEAR(20.0 * std::log10(m[i1 - 1]), -100.0 + step, 1e-9);
        EXPECT_EQ(m[i1], 0.00001);
        EXPECT_EQ(m[kN / 2 - 1], 0.00001);
    }
}

TEST(CrossoverBankTest, FrequencyLimits) {
    auto bank = std::make_unique<TestCrossoverBank>();
    bank->setCrossover(1, 300.0f);
    EXPECT_EQ(bank->crossoverHz(1), 22050.0);
    bank->setCrossover(4, 0.2f);
    EXPECT_EQ(bank->crossoverHz(4), 40.0);
    bank->setCrossover(2, 40.0f);
    EXPECT_EQ(bank->crossoverHz(2), 4000.0);
    // A rate that pushes fs / 2 below a crossover limits it only while that rate holds.
    bank->setSampleRate(8000.0);
    EXPECT_EQ(bank->crossoverHz(2), 4000.0);
    EXPECT_EQ(bank->crossoverHz(1), 4000.0);
    bank->setSampleRate(44100.0);
    EXPECT_EQ(bank->crossoverHz(1), 22050.0);
    // Out-of-range indices and non-finite values change nothing.
    bank->setCrossover(0, 10.0f);
    bank->setCrossover(5, 10.0f);
    bank->setCrossover(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(bank->crossoverHz(0), 0.0);
    EXPECT_EQ(bank->filterSpectrum(5), nullptr);
    EXPECT_EQ(bank->crossoverHz(3), 350.0);
}

// The tap window as the design defines it: sin^2(pi j / 509) with a flat top at 255 and 256.
double tapWindow(int j) {
    if (j == 255 || j == 256) return 1.0;
    const double s = std::sin(3.141592653589793 * j / 509.0);
    return s * s;
}

TEST(CrossoverBankTest, ImpulseResponsesAreCentredAndNearlySymmetric) {
    for (const Setting& s : kSettings) {
        auto bank = std::make_unique<TestCrossoverBank>();
        apply(*bank, s);
        std::vector<double> impulse(kHop, 0.0);
        impulse[0] = 1.0;
        const Outputs first = runBlock(*bank, impulse);
        const Outputs second = runBlock(*bank, std::vector<double>(kHop, 0.0));
        for (int f = 0; f < 4; ++f) {
            const std::vector<double>& h = first.lp[f];
            const double peak = h[CrossoverBank::kCentreTap];
            EXPECT_EQ(std::max_element(h.begin(), h.end()) - h.begin(), 256) << f;
            // The window is symmetric about 254.5 while the taps mirror about 256, so the two
            // halves differ by up to |w(256 + m) - w(256 - m)| <= 3 pi / 509 of the peak tap
            // (about 1e-3 for wide filters, approaching 2e-2 for the narrowest); without the
            // window they are equal.
            for (int m = 1; m < 256; ++m)
                ASSERT_NEAR(h[256 + m], h[256 - m], 0.0186 * peak) << "filter " << f << " m " << m;
            for (int m = 1; m <= 250; ++m)
                ASSERT_NEAR(h[256 + m] / tapWindow(256 + m), h[256 - m] / tapWindow(256 - m),
                            1e-10 * peak)
                    << "filter " << f << " m " << m;
            // Taps span 512 samples: nothing is left for the following block.
            for (double v : second.lp[f])
                ASSERT_NEAR(v, 0.0, 1e-15);
        }
    }
}

TEST(CrossoverBankTest, OverlapSaveEqualsDirectConvolution) {
    const Setting& s = kSettings[1];
    auto probe = std::make_unique<TestCrossoverBank>();
    apply(*probe, s);
    std::vector<double> impulse(kHop, 0.0);
    impulse[0] = 1.0;
    const Outputs taps = runBlock(*probe, impulse);

    auto bank = std::make_unique<TestCrossoverBank>();
    apply(*bank, s);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> signal(4 * kHop);
    for (double& x : signal)
        x = dist(rng);
    for (int block = 0; block < 4; ++block) {
        std::vector<double> in(signal.begin() + block * kHop, signal.begin() + (block + 1) * kHop);
        const Outputs out = runBlock(*bank, in);
        for (int f = 0; f < 4; ++f) {
            for (int m = 0; m < kHop; ++m) {
                const int n = block * kHop + m;
                double expected = 0.0;
                for (int k = 0; k < kTaps && k <= n; ++k)
                    expected += taps.lp[f][k] * signal[n - k];
                ASSERT_NEAR(out.lp[f][m], expected, 1e-12) << block << " " << f << " " << m;
            }
        }
    }
}

// The processing loop's use of the bank: collect 512, filter, read during the next 512.
class LoopHarness {
public:
    explicit LoopHarness(TestCrossoverBank& bank) : bank_(bank) {}
    // Returns the reference (input delayed 768) and the five bands.
    void step(double x, double& reference, double bands[5]) {
        reference = ring_.step(x);
        if (position_ == kHop) {
            bank_.processBlock(block_[0], block_[0], block_[1], block_[2], block_[3]);
            position_ = 0;
        }
        const double lp1 = block_[0][position_], lp2 = block_[1][position_];
        const double lp3 = block_[2][position_], lp4 = block_[3][position_];
        block_[0][position_++] = x;
        bands[0] = reference - lp1;
        bands[1] = lp1 - lp2;
        bands[2] = lp2 - lp3;
        bands[3] = lp3 - lp4;
        bands[4] = lp4;
    }

private:
    TestCrossoverBank& bank_;
    DelayRing<CrossoverBank::kLatency + 1> ring_;
    double block_[4][kHop] = {};
    int position_ = 0;
};

TEST(CrossoverBankTest, BandsSumToInputDelayed768ForRandomSettings) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> signal(-1.0, 1.0);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 6; ++trial) {
        auto bank = std::make_unique<TestCrossoverBank>();
        float f[4];
        for (float& v : f)
            v = 0.4f + 159.6f * unit(rng) * unit(rng);
        std::sort(f, f + 4, [](float a, float b) { return a > b; });
        apply(*bank, Setting{unit(rng), unit(rng), {f[0], f[1], f[2], f[3]}});
        LoopHarness loop(*bank);
        std::vector<double> input(4000);
        for (double& x : input)
            x = signal(rng);
        for (size_t n = 0; n < input.size(); ++n) {
            double reference, bands[5];
            loop.step(input[n], reference, bands);
            const double expected = n >= 768 ? input[n - 768] : 0.0;
            ASSERT_NEAR(bands[0] + bands[1] + bands[2] + bands[3] + bands[4], expected, 1e-9);
        }
    }
}

TEST(CrossoverBankTest, LowPassOutputsAreAlignedWithTheReference) {
    // A 200 Hz tone is deep in the passband of every filter: each low-pass output equals the
    // input delayed 768 samples, so band 5 carries it and bands 1..4 are nearly silent.
    auto bank = std::make_unique<TestCrossoverBank>();
    apply(*bank, kSettings[0]);
    bank->setCrossover(4, 20.0f);
    bank->setCrossover(3, 30.0f);
    LoopHarness loop(*bank);
    for (int n = 0; n < 6000; ++n) {
        double reference, bands[5];
        loop.step(std::sin(6.283185307179586 * 200.0 * n / 44100.0), reference, bands);
        if (n < 3000) continue;
        EXPECT_NEAR(bands[4], reference, 2e-3) << n;
        for (int b = 0; b < 4; ++b)
            ASSERT_NEAR(bands[b], 0.0, 2e-3) << n;
    }
}

double responseDb(const Relaxed<double>* spectrum, int bin) {
    const double re = spectrum[2 * bin], im = spectrum[2 * bin + 1];
    return 10.0 * std::log10(re * re + im * im + 1e-300);
}

TEST(CrossoverBankTest, MeasuredMagnitudeResponses) {
    // Filter at 2 kHz, 44.1 kHz; 1024-point spectrum bins are 43.07 Hz apart. The sloped
    // curves fall 100 dB linearly over the bins of their transition band, so its middle sits
    // near -50 dB; the brick-wall filter crosses -6 dB at its edge.
    const struct {
        float filterType, slope;
        double passBelowHz, stopAboveHz, stopDb, midHz, midDb;
    } cases[] = {
        {1.0f, 1.0f, 1500.0, 2600.0, -40.0, 1981.0, -6.0},  // brick-wall at bin 92 (1980 Hz)
        {0.0f, 1.0f, 1400.0, 3300.0, -85.0, 2250.0, -50.0}, // 96 dB/oct: 1.5 .. 3 kHz
        {0.0f, 0.5f, 900.0, 4400.0, -85.0, 2500.0, -50.0},  // 48 dB/oct: 1 .. 4 kHz
        {0.0f, 0.0f, 400.0, 8400.0, -85.0, 4250.0, -50.0},  // 24 dB/oct: 0.5 .. 8 kHz
    };
    const double binHz = 44100.0 / CrossoverBank::kFftSize;
    for (const auto& c : cases) {
        auto bank = std::make_unique<TestCrossoverBank>();
        bank->setFilterType(c.filterType);
        bank->setSlope(c.slope);
        bank->setCrossover(1, 20.0f);
        const auto* h = bank->filterSpectrum(1);
        double worstPass = 0.0, worstStop = -400.0;
        for (int k = 0; k <= CrossoverBank::kFftSize / 2; ++k) {
            const double hz = k * binHz, db = responseDb(h, k);
            if (hz <= c.passBelowHz) worstPass = std::max(worstPass, std::abs(db));
            if (hz >= c.stopAboveHz) worstStop = std::max(worstStop, db);
        }
        EXPECT_LT(worstPass, 0.05) << c.filterType << " " << c.slope;
        EXPECT_LT(worstStop, c.stopDb) << c.filterType << " " << c.slope;
        EXPECT_NEAR(responseDb(h, static_cast<int>(c.midHz / binHz + 0.5)), c.midDb, 4.0)
            << c.filterType << " " << c.slope;
    }
}

TEST(CrossoverBankTest, ExtremeSampleRatesStayInsideTables) {
    const double rates[] = {8000.0, 1000.0, 100.0, 1.0, 1e-6, 1e7, 1e12, 1e300};
    std::vector<double> noise(kHop);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (double& x : noise)
        x = dist(rng);
    for (double fs : rates) {
        for (const Setting& s : kSettings) {
            auto bank = std::make_unique<TestCrossoverBank>();
            bank->setSampleRate(fs);
            EXPECT_EQ(bank->sampleRate(), fs);
            apply(*bank, s);
            bank->setCrossover(1, 160.0f);
            bank->setCrossover(4, 0.4f);
            for (int j = 0; j < kN; ++j)
                ASSERT_TRUE(std::isfinite(bank->magnitude()[j])) << fs;
            for (int block = 0; block < 2; ++block) {
                const Outputs out = runBlock(*bank, noise);
                for (int f = 0; f < 4; ++f)
                    for (double v : out.lp[f])
                        ASSERT_TRUE(std::isfinite(v)) << fs;
            }
        }
    }
}

TEST(CrossoverBankTest, InvalidSampleRatesAreIgnored) {
    auto bank = std::make_unique<TestCrossoverBank>();
    bank->setSampleRate(48000.0);
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {0.0, -44100.0, inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        bank->setSampleRate(bad);
        EXPECT_EQ(bank->sampleRate(), 48000.0);
    }
}

TEST(CrossoverBankTest, ClearForgetsSignalHistory) {
    auto bank = std::make_unique<TestCrossoverBank>();
    apply(*bank, kSettings[2]);
    runBlock(*bank, std::vector<double>(kHop, 0.75));
    bank->clear();
    const Outputs out = runBlock(*bank, std::vector<double>(kHop, 0.0));
    for (int f = 0; f < 4; ++f)
        for (double v : out.lp[f])
            ASSERT_EQ(v, 0.0);
    // Null buffers are refused without touching anything.
    std::vector<double> buffer(kHop, 1.0);
    bank->processBlock(nullptr, buffer.data(), buffer.data(), buffer.data(), buffer.data());
    bank->processBlock(buffer.data(), buffer.data(), nullptr, buffer.data(), buffer.data());
    EXPECT_EQ(buffer[0], 1.0);
}

} // namespace
} // namespace qv
