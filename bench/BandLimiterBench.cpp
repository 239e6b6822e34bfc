// Per-sample work of the output limiter (stereo): frame by frame and in the engine's runs.

#include "dsp/limiter/BandLimiter.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

const int kSignalFrames = 8192; // loud random stereo, reused in turn

std::unique_ptr<qv::BandLimiter> makeLimiter(const benchmark::State& state) {
    auto limiter = std::make_unique<qv::BandLimiter>();
    limiter->setCeiling(0.998f);
    limiter->setClipShape(static_cast<float>(state.range(0)) * 0.2f);
    limiter->setAutoRelease(0.40625f);
    limiter->setManualRelease(0.1f);
    return limiter;
}

std::vector<double> loudSignal() {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-2.0, 2.0);
    std::vector<double> signal(kSignalFrames);
    for (double& x : signal)
        x = dist(rng);
    return signal;
}

void BM_LimiterSample(benchmark::State& state) {
    auto limiter = makeLimiter(state);
    const std::vector<double> signal = loudSignal();
    size_t n = 0;
    double outL = 0.0, outR = 0.0;
    for (auto _ : state) {
        limiter->limit(signal[n], signal[(n + 7) & (kSignalFrames - 1)], outL, outR);
        n = (n + 1) & (kSignalFrames - 1);
        benchmark::DoNotOptimize(outL);
        benchmark::DoNotOptimize(outR);
    }
}
BENCHMARK(BM_LimiterSample)->DenseRange(0, 4);

// process over runs of range(1) frames (the engine's chunks are up to 64), in place through a
// copy of the signal that is renewed once it is used up (a copy per 8192 frames, timed too);
// items are frames.
void BM_LimiterBlock(benchmark::State& state) {
    auto limiter = makeLimiter(state);
    const std::vector<double> signal = loudSignal();
    const int run = static_cast<int>(state.range(1));
    std::vector<double> left, right;
    int n = kSignalFrames;
    for (auto _ : state) {
        if (n + run > kSignalFrames) {
            left = signal;
            right.assign(signal.rbegin(), signal.rend());
            n = 0;
        }
        limiter->process(&left[n], &right[n], run);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
        n += run;
    }
    state.SetItemsProcessed(state.iterations() * run);
}
BENCHMARK(BM_LimiterBlock)->ArgsProduct({{0, 2, 4}, {1, 16, 64}});

} // namespace
