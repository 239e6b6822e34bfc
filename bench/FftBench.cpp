// FFT speed: our radix-4 transform and the planar transform of the block convolution against
// the textbook radix-2 FFT and the O(N^2) DFT that serve as test oracles.

#include "dsp/fft/Fft.h"
#include "dsp/fft/PlanarFft.h"

#include "tests/dsp/fft/ReferenceFft.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

std::vector<double> noise(int size) {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(2 * size);
    for (double& x : v)
        x = dist(rng);
    return v;
}

void BM_FftForward(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto fft = std::make_unique<qv::Fft>(n);
    std::vector<double> data = noise(n);
    for (auto _ : state) {
        fft->forward(data.data());
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FftForward)->Arg(1024)->Arg(4096);

void BM_FftInverse(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto fft = std::make_unique<qv::Fft>(n);
    std::vector<double> data = noise(n);
    for (auto _ : state) {
        fft->inverse(data.data());
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FftInverse)->Arg(1024)->Arg(4096);

// The planar transforms repeated on the same arrays: the values grow to inf and NaN, which cost
// SSE2 arithmetic nothing extra.
void BM_PlanarForward(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto fft = std::make_unique<qv::PlanarFft>(n);
    std::vector<double> data = noise(n);
    for (auto _ : state) {
        fft->forward(data.data(), data.data() + n);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlanarForward)->Arg(1024)->Arg(4096);

// What the block convolution runs four times per block.
void BM_PlanarInverseUpperHalf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto fft = std::make_unique<qv::PlanarFft>(n);
    std::vector<double> data = noise(n);
    for (auto _ : state) {
        fft->inverseUpperHalf(data.data(), data.data() + n);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlanarInverseUpperHalf)->Arg(1024)->Arg(4096);

void BM_Radix2OracleForward(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> data = noise(n);
    for (auto _ : state) {
        qv::reference::radix2Fft(data.data(), n, false);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Radix2OracleForward)->Arg(1024)->Arg(4096);

void BM_Radix2OracleInverse(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> data = noise(n);
    for (auto _ : state) {
        qv::reference::radix2Fft(data.data(), n, true);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Radix2OracleInverse)->Arg(1024);

void BM_NaiveDftForward(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> data = noise(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::reference::dft(data, false));
}
BENCHMARK(BM_NaiveDftForward)->Arg(1024)->Unit(benchmark::kMillisecond);

} // namespace
