#pragma once

#include "dsp/dynamics/HeldEnvelope.h"
#include "dsp/dynamics/LevelHistory.h"

#include <cmath>

namespace qv {

// Two hold-and-release followers side by side on the levels max(|L|, |R|) of a run of frames,
// with the level history they share (their release floor): the larger of their outputs is the
// detected level, and out[i] = finish(detected level of frame i). The band detectors and the
// limiter run their pairs through this; the state lives in locals for the loop. out may be
// left or right. Audio thread.
template <class Finish>
void runFollowerPair(LevelHistory& history, HeldEnvelope& peak, HeldEnvelope& rise,
                     const double* left, const double* right, double* out, int frames,
                     Finish finish) {
    LevelHistory::Run h = history.begin();
    HeldEnvelope::Run p = peak.begin();
    HeldEnvelope::Run r = rise.begin();
    for (int i = 0; i < frames; ++i) {
        const double magnitudeL = std::fabs(left[i]), magnitudeR = std::fabs(right[i]);
        const double level = magnitudeL > magnitudeR ? magnitudeL : magnitudeR;
        const double floor = h.step(level);
        const double peakLevel = p.push(level, floor);
        const double riseLevel = r.push(level, floor);
        out[i] = finish(peakLevel > riseLevel ? peakLevel : riseLevel);
    }
    history.end(h);
    peak.end(p);
    rise.end(r);
}

} // namespace qv
