#include "dsp/GainSmoother.h"

namespace qv {

namespace {
const double kTapStep = 0.03125; // 1 / 32
double shape(double u) {
    return (0.4 * u + 0.6) * u;
}
} // namespace

GainSmoother::GainSmoother() {
    for (int j = 0; j < kTaps; ++j)
        kernel_[j] = shape((j + 1) * kTapStep) - shape(j * kTapStep);
    reset();
}

void GainSmoother::reset() {
    for (double& p : partial_)
        p = 1.0;
    output_ = 0.0;
}

} // namespace qv
