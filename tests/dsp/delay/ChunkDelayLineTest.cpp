#include "dsp/delay/ChunkDelayLine.h"

#include "dsp/delay/DelayRing.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace qv {
namespace {

// Chunks of every size from 1 to the maximum, and silent runs shorter and longer than the
// delay, against one DelayRing per signal stepped sample by sample.
TEST(ChunkDelayLineTest, ChunksAndSilentRunsDelayLikeARingPerSample) {
    constexpr int kDelay = 31, kWidth = 3, kMaxChunk = 64;
    auto line = std::make_unique<ChunkDelayLine<kDelay, kWidth, kMaxChunk>>();
    auto reference = std::make_unique<DelayRing<kDelay + 1>[]>(kWidth);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> chunkSize(1, kMaxChunk);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    const int silentRuns[] = {1, 5, 30, 31, 32, 100};
    int sample = 0;
    for (int round = 0; round < 60; ++round) {
        if (round % 10 == 9) {
            const int g = silentRuns[(round / 10) % 6];
            line->advanceSilence(g);
            for (int w = 0; w < kWidth; ++w)
                for (int k = 0; k < g; ++k)
                    reference[w].step(0.0);
            continue;
        }
        const int n = round < kMaxChunk ? round % kMaxChunk + 1 : chunkSize(rng);
        for (int w = 0; w < kWidth; ++w) {
            double* in = line->input(w);
            for (int k = 0; k < n; ++k)
                in[k] = value(rng);
            for (int k = 0; k < n; ++k)
                ASSERT_EQ(line->output(w)[k], reference[w].step(in[k]))
                    << "sample " << sample + k << " signal " << w;
        }
        line->advance(n);
        sample += n;
    }
}

TEST(ChunkDelayLineTest, ClearForgetsTheHistory) {
    ChunkDelayLine<4, 1, 8> line;
    for (int k = 0; k < 8; ++k)
        line.input(0)[k] = k + 1.0;
    line.advance(8);
    line.clear();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(line.output(0)[k], 0.0);
}

} // namespace
} // namespace qv
