#include "dsp/dynamics/BandCompressor.h"

#include "dsp/math/CoefficientMath.h"

#include <cmath>

namespace qv {

BandCompressor::BandCompressor() {
    updateGainComputer();
}

void BandCompressor::setThreshold(float normalised) {
    threshold_ = thresholdToLinear(normalised);
    updateGainComputer();
}

void BandCompressor::setRatio(float normalised) {
    ratio_ = normalised;
    updateGainComputer();
}

void BandCompressor::setInputLevel(float normalised) {
    inputGain_ = levelToGain(normalised);
}

void BandCompressor::setOutputLevel(float normalised) {
    outputGain_ = levelToGain(normalised);
}

void BandCompressor::setBandSwitch(float normalised) {
    bandSwitch_ = normalised;
    bandOff_ = normalised > 0.5f;
    running_ = !bandOff_ && !compOff_;
    linked_ = bandSwitch_ < 0.5f && compSwitch_ < 0.5f;
}

void BandCompressor::setCompSwitch(float normalised) {
    compSwitch_ = normalised;
    compOff_ = normalised > 0.5f;
    running_ = !bandOff_ && !compOff_;
    linked_ = bandSwitch_ < 0.5f && compSwitch_ < 0.5f;
}

// Output amplitude above T: expansion y = T k + (1 - k) level; compression y = T + B (level - T),
// the line from (T, T) to (1, Y) with Y = T^k.
void BandCompressor::updateGainComputer() {
    const double t = threshold_;
    const double k = ratioSlope(ratio_);
    double ceilingGain; // Y
    if (t > 0.0) {
        const double thresholdDb = 20.0 * std::log10(t);
        ceilingDb_ = thresholdDb - thresholdDb * (1.0 - k);
        ceilingGain = std::pow(10.0, ceilingDb_ / 20.0);
    } else {
        // A threshold flushed to 0: the limit of T^k as T falls to 0 (log10 would give -inf
        // and the coefficients NaN).
        ceilingGain = k > 0.0 ? 0.0 : 1.0;
        ceilingDb_ = k > 0.0 ? -HUGE_VAL : 0.0;
    }
    const double b = (ceilingGain - t) / (1.0 - t);
    if (ratio_ < 0.5f) {
        gainScale_ = t * k;
        gainOffset_ = 1.0 - k;
    } else {
        gainScale_ = (1.0 - b) * t;
        gainOffset_ = b;
    }
    capsAtUnity_ = ratio_ >= 0.5f;
    slope_ = k;
}

void BandCompressor::fullReset() {
    detector_.clear();
    detector_.resetCurveLatch();
    mutedLatch_ = false;
    bypassedLatch_ = false;
}

} // namespace qv
