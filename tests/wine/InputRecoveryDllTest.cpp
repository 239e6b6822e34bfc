// One absurd input sample (a corrupt file) must cost no more than a +60 dBFS peak: through both
// DLLs, the output after a single 1e30 or 1e6 sample, and after a burst at +60 dBFS, comes back
// to that of a clean instance within a bounded time, and no later after the single samples than
// after the burst.
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kBlock = 512;
constexpr int kFrames = 8 * 44100;          // rendered after the event
constexpr int kEventFrame = 4410;           // where the bad input starts
constexpr int kBurstFrames = 441;           // 10 ms of +60 dBFS noise
constexpr float kPeak60Db = 1000.0f;        // +60 dBFS
constexpr float kTolerance = 1e-4f;         // output difference counted as recovered
constexpr double kMaxRecoverySeconds = 6.0; // a +60 dBFS burst takes about 4.7 s

struct BadInput {
    const char* name;
    float value; // the sample's magnitude
    int frames;  // how many frames carry it (left channel, random signs)
};

const BadInput kCases[] = {
    {"one 1e30 sample", 1e30f, 1},
    {"one 1e6 sample", 1e6f, 1},
    {"a +60 dBFS burst", kPeak60Db, kBurstFrames},
};
constexpr int kNumCases = sizeof(kCases) / sizeof(kCases[0]);
constexpr int kBurstCase = 2;

// Tones in several bands, each well below every threshold of the default program.
float cleanSample(int frame, int channel) {
    const double kPi = 3.14159265358979323846;
    const double hz[] = {80.0, 700.0, 3000.0, 9000.0};
    double sum = 0.0;
    for (double f : hz)
        sum += 0.08 * std::sin(2.0 * kPi * f * frame / kSampleRate + channel);
    return static_cast<float>(sum);
}

class InputRecoveryDllTest : public ::testing::TestWithParam<const char*> {};

TEST_P(InputRecoveryDllTest, BadSamplesCostNoMoreThanAPeakAt60Dbfs) {
    // Instance 0 hears the clean signal, instance 1 + c the clean signal with case c.
    std::unique_ptr<PluginHost> hosts[1 + kNumCases];
    for (auto& host : hosts) {
        host = std::make_unique<PluginHost>();
        std::string error;
        ASSERT_TRUE(host->load(pluginPath(GetParam()), error)) << error;
        host->start(kSampleRate, kBlock);
    }
    std::mt19937 rng(11);
    std::vector<float> signs(kBurstFrames);
    for (float& s : signs)
        s = rng() % 2 ? 1.0f : -1.0f;

    int lastDifference[kNumCases] = {};
    std::vector<float> clean[2], in[2], out[1 + kNumCases][2];
    for (int ch = 0; ch < 2; ++ch) {
        clean[ch].resize(kBlock);
        for (auto& o : out)
            o[ch].resize(kBlock);
    }
    for (int start = 0; start < kEventFrame + kFrames; start += kBlock) {
        for (int i = 0; i < kBlock; ++i)
            for (int ch = 0; ch < 2; ++ch)
                clean[ch][i] = cleanSample(start + i, ch);
        for (int h = 0; h <= kNumCases; ++h) {
            in[0] = clean[0];
            in[1] = clean[1];
            if (h > 0) {
                const BadInput& bad = kCases[h - 1];
                for (int i = 0; i < kBlock; ++i) {
                    const int k = start + i - kEventFrame;
                    if (k >= 0 && k < bad.frames) in[0][i] = bad.value * signs[k];
                }
            }
            float* inputs[2] = {in[0].data(), in[1].data()};
            float* outputs[2] = {out[h][0].data(), out[h][1].data()};
            AEffect* e = hosts[h]->effect();
            e->processReplacing(e, inputs, outputs, kBlock);
        }
        for (int c = 0; c < kNumCases; ++c)
            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < kBlock; ++i)
                    if (!(std::fabs(out[1 + c][ch][i] - out[0][ch][i]) <= kTolerance))
                        lastDifference[c] = start + i;
    }

    double recoverySeconds[kNumCases];
    for (int c = 0; c < kNumCases; ++c) {
        recoverySeconds[c] = (lastDifference[c] - kEventFrame) / kSampleRate;
        EXPECT_LT(recoverySeconds[c], kMaxRecoverySeconds) << kCases[c].name;
        EXPECT_GT(lastDifference[c], kEventFrame) << kCases[c].name << " changed nothing";
    }
    for (int c = 0; c < kNumCases; ++c)
        EXPECT_LE(recoverySeconds[c], recoverySeconds[kBurstCase])
            << kCases[c].name << " takes longer to recover than " << kCases[kBurstCase].name;
}

INSTANTIATE_TEST_SUITE_P(BothDlls, InputRecoveryDllTest, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv
