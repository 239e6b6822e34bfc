// The whole engine per stereo frame, in 512-frame blocks: the default program on moderate
// noise, and a heavy setting (every band compressing hard with the soft attack curve, links on,
// the limiter working). Items are stereo frames, so items_per_second gives ns per frame.
//
// --benchmark_filter=BM_EngineHeavy --benchmark_min_time=2000x runs a fixed number of blocks
// (for instruction counts under callgrind).

#include "dsp/MultibandEngine.h"
#include "tests/dsp/EngineSettings.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

const int kBlock = 512;
const int kSignalBlocks = 64; // a signal long enough that meters and blocks wrap

struct Signal {
    std::vector<float> l, r;
};

// Pink-ish noise with slow level changes, so detectors attack and release.
Signal makeSignal(float amplitude) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    Signal s;
    const int n = kBlock * kSignalBlocks;
    s.l.resize(n);
    s.r.resize(n);
    float lowL = 0.0f, lowR = 0.0f;
    for (int i = 0; i < n; ++i) {
        lowL = 0.98f * lowL + 0.1f * unit(rng);
        lowR = 0.98f * lowR + 0.1f * unit(rng);
        const float envelope = (i / 3000) % 2 ? 1.0f : 0.3f;
        s.l[i] = amplitude * envelope * (0.5f * unit(rng) + lowL);
        s.r[i] = amplitude * envelope * (0.5f * unit(rng) + lowR);
    }
    return s;
}

void runEngine(benchmark::State& state, void (*setup)(qv::MultibandEngine&), float amplitude) {
    auto engine = std::make_unique<qv::MultibandEngine>();
    setup(*engine);
    const Signal in = makeSignal(amplitude);
    std::vector<float> outL(kBlock), outR(kBlock);
    int block = 0;
    for (auto _ : state) {
        float* inputs[2] = {const_cast<float*>(in.l.data()) + block * kBlock,
                            const_cast<float*>(in.r.data()) + block * kBlock};
        float* outputs[2] = {outL.data(), outR.data()};
        engine->process(inputs, outputs, kBlock, false);
        benchmark::DoNotOptimize(outL.data());
        block = (block + 1) % kSignalBlocks;
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void BM_EngineDefault(benchmark::State& state) {
    runEngine(state, qv::engine_settings::applyDefaultProgram, 0.5f);
}
BENCHMARK(BM_EngineDefault)->Unit(benchmark::kMicrosecond);

void BM_EngineHeavy(benchmark::State& state) {
    runEngine(state, qv::engine_settings::applyHeavy, 0.9f);
}
BENCHMARK(BM_EngineHeavy)->Unit(benchmark::kMicrosecond);

} // namespace
