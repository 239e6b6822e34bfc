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
    const auto detect = [&](int i, double level, double floor) {
        const double peakLevel = p.push(level, floor);
        const double riseLevel = r.push(level, floor);
        out[i] = finish(peakLevel > riseLevel ? peakLevel : riseLevel);
    };
    const auto levelAt = [left, right](int i) {
        const double magnitudeL = std::fabs(left[i]), magnitudeR = std::fabs(right[i]);
        return magnitudeL > magnitudeR ? magnitudeL : magnitudeR;
    };
    // In runs up to the history's last slot, where the ring position needs no wrap test: frame
    // i + j writes slot position + j and reads the next (one index for the ring and the
    // arrays).
    for (int i = 0; i < frames;) {
        const int count = h.stepsBeforeEnd(frames - i);
        double* const slot = h.ring + h.position;
        for (int j = 0; j < count; ++j) {
            const double level = levelAt(i + j);
            slot[j] = level;
            detect(i + j, level, slot[j + 1]);
        }
        i += count;
        h.position += count;
        if (i == frames) break;
        const double level = levelAt(i);
        detect(i, level, h.step(level));
        ++i;
    }
    history.end(h);
    peak.end(p);
    rise.end(r);
}

} // namespace qv
