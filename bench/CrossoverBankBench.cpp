// One 512-sample crossover block (one forward and four inverse 1024-point transforms) and one
// filter redesign.

#include "dsp/crossover/CrossoverBank.h"
#include "dsp/crossover/CrossoverBlockFilter.h"
#include "dsp/crossover/CrossoverDesigner.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

void BM_CrossoverBlock(benchmark::State& state) {
    auto designer = std::make_unique<qv::CrossoverDesigner>();
    auto bank = std::make_unique<qv::CrossoverBank>(*designer);
    auto filter = std::make_unique<qv::CrossoverBlockFilter>();
    bank->setFilterType(0.0f);
    bank->setSlope(0.5f);
    const float hundredsOfHz[4] = {87.6f, 38.0f, 5.24f, 0.76f};
    for (int i = 0; i < 4; ++i)
        bank->setCrossover(i + 1, hundredsOfHz[i]);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> in(qv::CrossoverBank::kHop);
    std::vector<double> out[4];
    for (auto& o : out)
        o.resize(qv::CrossoverBank::kHop);
    for (double& x : in)
        x = dist(rng);
    for (auto _ : state) {
        filter->process(*bank, in.data(), out[0].data(), out[1].data(), out[2].data(),
                        out[3].data());
        benchmark::DoNotOptimize(out[3].data());
    }
    state.SetItemsProcessed(state.iterations() * qv::CrossoverBank::kHop);
}
BENCHMARK(BM_CrossoverBlock);

void BM_CrossoverRedesign(benchmark::State& state) {
    auto designer = std::make_unique<qv::CrossoverDesigner>();
    auto bank = std::make_unique<qv::CrossoverBank>(*designer);
    float value = 10.0f;
    for (auto _ : state) {
        bank->setCrossover(2, value);
        value = value == 10.0f ? 11.0f : 10.0f;
        benchmark::DoNotOptimize(bank->filterSpectrum(2));
    }
}
BENCHMARK(BM_CrossoverRedesign)->Unit(benchmark::kMicrosecond);

} // namespace
