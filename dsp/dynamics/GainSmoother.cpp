#include "dsp/dynamics/GainSmoother.h"

namespace qv {

namespace {
const double kTapStep = 0.03125; // 1 / 32
// Age of each ring slot right after a full turn.
const double kAge[GainSmoother::kTaps] = {31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21,
                                          20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10,
                                          9,  8,  7,  6,  5,  4,  3,  2,  1,  0};
double shape(double u) {
    return (0.4 * u + 0.6) * u;
}
} // namespace

GainSmoother::GainSmoother() {
    for (int j = 0; j < kTaps; ++j)
        kernel_[j] = shape((j + 1) * kTapStep) - shape(j * kTapStep);
    kernelStart_ = kernel_[0];
    // f((j+1)/32) - f(j/32) = 0.4 (2j + 1) / 1024 + 0.6 / 32: the slope is 0.8 / 1024.
    kernelSlope_ = 0.4 * 2.0 * kTapStep * kTapStep;
    reset();
}

GainSmoother::Sums GainSmoother::resum(const double* history) {
    // At position 0 the newest gain is in the last slot: the age of slot i is kTaps - 1 - i.
    // Unrolled: the loop's counter and branch would cost as much as its two sums.
    double plain = 0.0, weighted = 0.0;
#pragma GCC unroll 32
    for (int i = 0; i < kTaps; ++i) {
        plain += history[i];
        weighted += kAge[i] * history[i];
    }
    return {plain, weighted};
}

void GainSmoother::reset() {
    // Zero gains: deviation -1 everywhere.
    for (double& g : history_)
        g = -1.0;
    sum_ = -kTaps;
    weightedSum_ = -(kTaps * (kTaps - 1) / 2);
    position_ = 0;
    turns_ = 0;
    resetCarry_ = kTaps - 1;
    unityRun_ = 0;
    output_ = 0.0;
}

} // namespace qv
