#pragma once

#include "dsp/delay/CopySamples.h"

namespace qv {

// Delays Width signals by Delay samples for a loop that runs in chunks of up to MaxChunk frames.
// Each signal's line holds its last Delay samples followed by the chunk's, so within a chunk both
// the new samples and the delayed ones are plain arrays: the chunk's samples go to input(w)[k],
// and output(w)[k] is the sample of Delay frames before. advance(n) then keeps the last Delay
// samples for the next chunk. Audio thread; the line starts zeroed.
template <int Delay, int Width, int MaxChunk> class ChunkDelayLine {
    static_assert(Delay >= 1 && Width >= 1 && MaxChunk >= 1, "a delay line holds something");

public:
    static constexpr int kDelay = Delay;

    ChunkDelayLine() { clear(); }

    // Signal w (0..Width-1): where the chunk's samples go, and the delayed samples.
    double* input(int w) { return line_[w] + Delay; }
    const double* output(int w) const { return line_[w]; }

    // After a chunk of n frames (1..MaxChunk) was written to every input.
    // (Chunks at least as long as the delay copy without overlap, 16 bytes at a time in the SSE
    // build.)
    void advance(int n) {
        for (auto& line : line_)
            if (n >= Delay)
                copySamples(line + n, line, Delay);
            else
                for (int j = 0; j < Delay; ++j) // forward: the source lies ahead of the target
                    line[j] = line[j + n];
    }

    // n frames of silence (any n >= 0): the history moves on over zeros.
    void advanceSilence(int n) {
        if (n <= 0) return;
        const int kept = n < Delay ? Delay - n : 0;
        for (auto& line : line_) {
            for (int j = 0; j < kept; ++j)
                line[j] = line[j + n];
            for (int j = kept; j < Delay; ++j)
                line[j] = 0.0;
        }
    }

    // History zeroed.
    void clear() {
        for (auto& line : line_)
            for (double& value : line)
                value = 0.0;
    }

private:
    double line_[Width][Delay + MaxChunk]; // per signal: the history, then the chunk
};

} // namespace qv
