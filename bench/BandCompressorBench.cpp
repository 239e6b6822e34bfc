// Per-sample work of one band: detection and gain computation, then linking and smoothing.

#include "dsp/dynamics/BandCompressor.h"
#include "dsp/dynamics/ReductionLinker.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

std::vector<double> programme(int length) {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(length);
    for (int n = 0; n < length; ++n)
        v[n] = dist(rng) * (n % 4096 < 2048 ? 0.9 : 0.05);
    return v;
}

void BM_BandCompressorSample(benchmark::State& state) {
    auto band = std::make_unique<qv::BandCompressor>();
    band->setThreshold(0.5f);
    band->setRatio(0.75f);
    band->setAttack(0.099941f);
    band->setManualRelease(0.500189f);
    band->setAutoRelease(0.258503f);
    band->setAutoReleaseType(1.0f);
    band->setAttackCurve(static_cast<float>(state.range(0)));
    band->setReleaseMode(static_cast<float>(state.range(1)));
    const std::vector<double> signal = programme(8192);
    size_t n = 0;
    for (auto _ : state) {
        const double x = signal[n];
        n = (n + 1) & 8191;
        benchmark::DoNotOptimize(band->push(x, -x));
    }
}
// (attack curve, release mode): hard/soft x auto/manual
BENCHMARK(BM_BandCompressorSample)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1});

void BM_LinkAndSmoothFiveBands(benchmark::State& state) {
    qv::ReductionLinker linker;
    for (int j = 1; j <= 4; ++j)
        linker.setLink(j, 0.5f);
    const bool linked[5] = {true, true, true, true, true};
    const bool cap[5] = {true, true, true, true, true};
    double gains[5] = {0.9, 0.7, 1.0, 0.5, 0.8};
    double out[5];
    for (auto _ : state) {
        linker.process(gains, linked, cap, out);
        gains[0] = out[4] * 0.5 + 0.45; // keep the input changing
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_LinkAndSmoothFiveBands);

// The same in runs of 128 frames, as the engine calls it (bands side by side where the unit
// allows); per frame.
void BM_LinkAndSmoothFiveBandRuns(benchmark::State& state) {
    const int kRun = 128;
    qv::ReductionLinker linker;
    for (int j = 1; j <= 4; ++j)
        linker.setLink(j, 0.5f);
    const bool linked[5] = {true, true, true, true, true};
    const bool cap[5] = {true, true, true, true, true};
    std::mt19937 rng(2);
    std::uniform_real_distribution<double> gain(0.3, 1.0);
    std::vector<double> raw(5 * 4096), out(5 * kRun);
    for (double& g : raw)
        g = gain(rng);
    size_t offset = 0;
    for (auto _ : state) {
        const double* in[5];
        double* smoothed[5];
        for (int b = 0; b < 5; ++b) {
            in[b] = raw.data() + b * 4096 + offset;
            smoothed[b] = out.data() + b * kRun;
        }
        linker.process(in, linked, cap, smoothed, kRun);
        offset = (offset + kRun) & 4095;
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kRun);
}
BENCHMARK(BM_LinkAndSmoothFiveBandRuns);

} // namespace
