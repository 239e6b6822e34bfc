#pragma once

#include "dsp/dynamics/GainSmoother.h"

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#define QV_SMOOTHER_PAIRS 1

namespace qv {

// Two GainSmoothers advanced side by side, the first in the low lane of SSE2 registers and the
// second in the high lane: each lane does the operations of GainSmoother's own loop in the same
// order, so the outputs are bit for bit those of the two smoothers run one after the other, at
// about half the instructions. Only the plain stretches run here; whatever needs the unity
// bookkeeping (a reset's carry, a band at rest, a stretch opening with a unity gain) is left to
// the smoothers themselves. Audio thread.
class GainSmootherPair {
public:
    // Runs up to frames frames if both smoothers are steady, for as long as every turn of
    // either ring opens with gains other than 1.0 (the unity bookkeeping then needs no test per
    // frame); returns the frames run (0: none, the caller runs the next frames through the
    // smoothers one by one). gainsAt(i) gives frame i's two gains (it is called more than once
    // for some frames; outA and outB are none of its inputs); outA[i] and outB[i] get
    // min(cap, output) lane by lane (cap +inf: no cap).
    template <class Source>
    static int run(GainSmoother& a, GainSmoother& b, Source gainsAt, __m128d cap, double* outA,
                   double* outB, int frames) {
        const __m128d one = _mm_set1_pd(1.0);
        const auto unityLanes = [one](__m128d gains) {
            return _mm_movemask_pd(_mm_cmpeq_pd(gains, one));
        };
        if (!a.steady() || !b.steady() || frames <= 0 || unityLanes(gainsAt(0)) != 0) return 0;
        const __m128d taps = _mm_set1_pd(GainSmoother::kTaps);
        const __m128d start = _mm_set_pd(b.kernelStart_, a.kernelStart_);
        const __m128d slope = _mm_set_pd(b.kernelSlope_, a.kernelSlope_);
        __m128d sum = _mm_set_pd(b.sum_, a.sum_);
        __m128d weightedSum = _mm_set_pd(b.weightedSum_, a.weightedSum_);
        __m128d y = _mm_set_pd(b.output_, a.output_);
        Lane laneA{a.history_, a.position_, a.turns_};
        Lane laneB{b.history_, b.position_, b.turns_};
        int i = 0;
        for (;;) {
            // Up to the nearer ring turn: frame i + j writes slot position + j of each ring.
            int count = laneA.room() < laneB.room() ? laneA.room() : laneB.room();
            if (frames - i < count) count = frames - i;
            double* const slotA = laneA.ring + laneA.position;
            double* const slotB = laneB.ring + laneB.position;
            for (int j = 0; j < count; ++j) {
                const __m128d deviation = _mm_sub_pd(gainsAt(i + j), one);
                const __m128d leaving = _mm_loadh_pd(_mm_load_sd(slotA + j), slotB + j);
                _mm_storel_pd(slotA + j, deviation);
                _mm_storeh_pd(slotB + j, deviation);
                weightedSum = _mm_add_pd(weightedSum, _mm_sub_pd(sum, _mm_mul_pd(taps, leaving)));
                sum = _mm_add_pd(sum, _mm_sub_pd(deviation, leaving));
                y = _mm_add_pd(_mm_add_pd(one, _mm_mul_pd(start, sum)),
                               _mm_mul_pd(slope, weightedSum));
                const __m128d capped = _mm_min_pd(cap, y);
                _mm_storel_pd(outA + i + j, capped);
                _mm_storeh_pd(outB + i + j, capped);
            }
            i += count;
            GainSmoother::Sums exact;
            if (laneA.advance(count, exact)) {
                sum = _mm_move_sd(sum, _mm_set_sd(exact.plain));
                weightedSum = _mm_move_sd(weightedSum, _mm_set_sd(exact.weighted));
            }
            if (laneB.advance(count, exact)) {
                sum = _mm_unpacklo_pd(sum, _mm_set_sd(exact.plain));
                weightedSum = _mm_unpacklo_pd(weightedSum, _mm_set_sd(exact.weighted));
            }
            if (i == frames || unityLanes(gainsAt(i)) != 0) break;
        }
        // The unity gains at the end, per lane: the last stretch opened with none.
        int unityA = 0, unityB = 0;
        for (int k = i - 1, open = 3; open != 0; --k) {
            const int unity = unityLanes(gainsAt(k)) & open;
            unityA += unity & 1;
            unityB += unity >> 1;
            open = unity;
        }
        laneA.end(a, unityA, low(sum), low(weightedSum), low(y));
        laneB.end(b, unityB, high(sum), high(weightedSum), high(y));
        return i;
    }

    // Frames the caller runs one by one when run returns 0: as far as the nearer ring turn, so
    // that the next stretch may start on the pair again.
    static int fallbackFrames(const GainSmoother& a, const GainSmoother& b, int frames) {
        const int room = a.room() < b.room() ? a.room() : b.room();
        return frames < room ? frames : room;
    }

private:
    // One smoother's ring position and turns in locals for the loop.
    struct Lane {
        double* ring; // the smoother's history
        int position; // its position_
        int turns;    // its turns_

        int room() const { return GainSmoother::kTaps - position; }
        // count frames written: the position moves on; true, with exact holding the ring's
        // exact sums, where the turn is due for its exact recomputation (as in
        // GainSmoother::run).
        bool advance(int count, GainSmoother::Sums& exact) {
            position += count;
            if (position < GainSmoother::kTaps) return false;
            position = 0;
            if (++turns < GainSmoother::kTurnsPerResum) return false;
            turns = 0;
            exact = GainSmoother::resum(ring);
            return true;
        }
        void end(GainSmoother& s, int unityRun, double sum, double weightedSum, double y) const {
            s.position_ = position;
            s.turns_ = turns;
            s.unityRun_ = unityRun;
            s.sum_ = sum;
            s.weightedSum_ = weightedSum;
            s.output_ = y;
        }
    };

    static double low(__m128d v) { return _mm_cvtsd_f64(v); }
    static double high(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
};

} // namespace qv

#endif
