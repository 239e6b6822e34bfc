// Per-sample work of the output limiter (stereo).

#include "dsp/BandLimiter.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

void BM_LimiterSample(benchmark::State& state) {
    auto limiter = std::make_unique<qv::BandLimiter>();
    limiter->setCeiling(0.998f);
    limiter->setClipShape(static_cast<float>(state.range(0)) * 0.2f);
    limiter->setAutoRelease(0.40625f);
    limiter->setManualRelease(0.1f);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-2.0, 2.0);
    std::vector<double> signal(8192);
    for (double& x : signal)
        x = dist(rng);
    size_t n = 0;
    double outL = 0.0, outR = 0.0;
    for (auto _ : state) {
        limiter->limit(signal[n], signal[(n + 7) & 8191], outL, outR);
        n = (n + 1) & 8191;
        benchmark::DoNotOptimize(outL);
        benchmark::DoNotOptimize(outR);
    }
}
BENCHMARK(BM_LimiterSample)->DenseRange(0, 4);

} // namespace
