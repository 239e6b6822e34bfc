#include "dsp/LimiterGainSmoother.h"

namespace qv {

namespace {
const double kTapStep = 0.025; // 1 / 40
// F(u) = (a u + b) u with (a, b) per shape; shape 5 is the flat kernel.
const double kShapeCurvature[LimiterGainSmoother::kShapes] = {0.4, 0.3, 0.2, 0.1, 0.0};
const int kUnityRunLength = 40; // more consecutive unity targets than this give exactly 1.0
} // namespace

LimiterGainSmoother::LimiterGainSmoother() {
    for (int s = 0; s < kShapes; ++s) {
        const double a = kShapeCurvature[s], b = 1.0 - a;
        for (int j = 0; j < kTaps; ++j) {
            const double u1 = (j + 1) * kTapStep, u0 = j * kTapStep;
            kernels_[s][j] = a == 0.0 ? kTapStep : (u1 * a + b) * u1 - (u0 * a + b) * u0;
        }
        for (int j = 0; j < kTaps; ++j)
            reversed_[s][j] = kernels_[s][kTaps - 1 - j];
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

void LimiterGainSmoother::fillHistory(double value) {
    for (double& h : history_)
        h = value;
}

double LimiterGainSmoother::push(double target) {
    // The count saturates: it only needs to tell "more than 40", and must not overflow in a
    // long unity run.
    if (target < 1.0)
        unityCount_ = 0;
    else if (unityCount_ <= kUnityRunLength)
        ++unityCount_;
    if (unityCount_ > kUnityRunLength) return 1.0;

    const double* k;
    if (lastOutput_ < target) { // gain rising: release
        if (falling_) {
            fillHistory(lastOutput_);
            falling_ = false;
        }
        k = kernels_[shape_];
    } else { // gain falling or equal: attack
        if (!falling_) {
            fillHistory(lastOutput_);
            falling_ = true;
        }
        k = reversed_[shape_];
    }
    const double* h = history_ + position_;
    double y = k[0] * target;
    for (int i = 0; i < kHistory; ++i)
        y += k[i + 1] * h[i];

    position_ = position_ == 0 ? kHistory - 1 : position_ - 1;
    history_[position_] = target;
    history_[position_ + kHistory] = target;
    lastOutput_ = y;
    return y;
}

void LimiterGainSmoother::reset() {
    lastOutput_ = 1.0;
    fillHistory(1.0);
    position_ = 0;
    falling_ = false;
}

void LimiterGainSmoother::fullReset() {
    reset();
    unityCount_ = 0;
}

} // namespace qv
