#include "dsp/limiter/LimiterGainSmoother.h"

namespace qv {

namespace {
const double kTapStep = 0.025; // 1 / 40
// F(u) = (a u + b) u with (a, b) per shape; shape 5 is the flat kernel.
const double kShapeCurvature[LimiterGainSmoother::kShapes] = {0.4, 0.3, 0.2, 0.1, 0.0};
} // namespace

LimiterGainSmoother::LimiterGainSmoother() {
    for (int s = 0; s < kShapes; ++s) {
        const double a = kShapeCurvature[s], b = 1.0 - a;
        for (int j = 0; j < kTaps; ++j) {
            const double u1 = (j + 1) * kTapStep, u0 = j * kTapStep;
            kernels_[s][j] = a == 0.0 ? kTapStep : (u1 * a + b) * u1 - (u0 * a + b) * u0;
        }
        // F((j+1)/40) - F(j/40) = a (2j + 1) / 1600 + b / 40.
        start_[s] = kernels_[s][0];
        slope_[s] = 2.0 * a * kTapStep * kTapStep;
        reversedStart_[s] = kernels_[s][kTaps - 1];
    }
    fullReset();
}

void LimiterGainSmoother::setClipShape(float normalised) {
    if (normalised < 0.2f)
        shape_ = 0;
    else if (normalised < 0.4f)
        shape_ = 1;
    else if (normalised < 0.6f)
        shape_ = 2;
    else if (normalised < 0.8f)
        shape_ = 3;
    else
        shape_ = 4;
}

double LimiterGainSmoother::kernel(int shape, int tap) const {
    if (shape < 1 || shape > kShapes || tap < 0 || tap >= kTaps) return 0.0;
    return kernels_[shape - 1][tap];
}

LimiterGainSmoother::Sums LimiterGainSmoother::fillHistory(double* history, double value) {
    const double deviation = value - 1.0;
    for (int slot = 0; slot < kHistory; ++slot)
        history[slot] = deviation;
    return Sums{kHistory * deviation, (kHistory * (kHistory + 1) / 2) * deviation};
}

LimiterGainSmoother::Sums LimiterGainSmoother::exactSums(const double* history) {
    // At position 0 the oldest entry h38 is in slot 0 and h0 in the last: slot s holds h(38-s),
    // whose weight is 39 - s.
    Sums sums{0.0, 0.0};
    for (int slot = 0; slot < kHistory; ++slot) {
        sums.plain += history[slot];
        sums.weighted += (kHistory - slot) * history[slot];
    }
    return sums;
}

void LimiterGainSmoother::reset() {
    lastOutput_ = 1.0;
    const Sums filled = fillHistory(history_, 1.0);
    sum_ = filled.plain;
    weightedSum_ = filled.weighted;
    position_ = 0;
    turns_ = 0;
    falling_ = false;
}

void LimiterGainSmoother::fullReset() {
    reset();
    unityCount_ = 0;
}

} // namespace qv
