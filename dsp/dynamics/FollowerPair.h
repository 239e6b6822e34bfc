#pragma once

#include "dsp/dynamics/HeldEnvelope.h"
#include "dsp/dynamics/LevelHistory.h"
#include "dsp/math/LargerOf.h"

#include <cmath>

namespace qv {

// The level a follower pair takes from a band's L and R: max(|L[i]|, |R[i]|).
struct StereoMagnitude {
    const double* left;  // L samples
    const double* right; // R samples
    double operator()(int i) const {
        // Which channel is the larger changes from frame to frame: a select, not a branch.
        return largerOf(std::fabs(left[i]), std::fabs(right[i]));
    }
};
// Levels a stage before has already formed (not negative).
struct GivenLevels {
    const double* levels; // one per frame
    double operator()(int i) const { return levels[i]; }
};

// Two hold-and-release followers side by side on the levels levelAt(i) of a run of frames
// (StereoMagnitude or GivenLevels), with the level history they share (their release floor):
// the larger of their outputs is the detected level, and out[i] = finish(detected level of
// frame i). The band detectors and the limiter run their pairs through this; the state lives
// in locals for the loop. out may be an array levelAt reads (each level is read before its
// frame's output is written). FixedLength: see HoldRelease::fall. Audio thread.
template <int FixedLength = 0, class LevelAt, class Finish>
void runFollowerPair(LevelHistory& history, HeldEnvelope& peak, HeldEnvelope& rise, LevelAt levelAt,
                     double* out, int frames, Finish finish) {
    LevelHistory::Run h = history.begin();
    HeldEnvelope::Run p = peak.begin();
    HeldEnvelope::Run r = rise.begin();
    const auto detect = [&](int i, double level, double floor) {
        const double peakLevel = p.push<FixedLength>(level, floor);
        const double riseLevel = r.push<FixedLength>(level, floor);
        out[i] = finish(peakLevel > riseLevel ? peakLevel : riseLevel);
    };
    // In runs of up to LevelHistory::kMaxRun frames, each frame's floor and level at plain
    // indices of the history's array.
    for (int start = 0; start < frames; start += LevelHistory::kMaxRun) {
        const int count =
            frames - start < LevelHistory::kMaxRun ? frames - start : LevelHistory::kMaxRun;
        const double* const floors = h.levels;
        double* const levels = h.levels + (h.length - 1);
        // Eight frames per pass: fewer loop tests, and on the x87 unit fewer register exchanges
        // where the paths of the followers join.
#pragma GCC unroll 8
        for (int j = 0; j < count; ++j) {
            // The floor loaded before the level is formed: on the x87 unit the level is then on
            // top of the register stack where the comparisons want it, without an exchange.
            const double floor = floors[j];
            const double level = levelAt(start + j);
            levels[j] = level;
            detect(start + j, level, floor);
        }
        history.end(count);
    }
    peak.end(p);
    rise.end(r);
}

} // namespace qv
