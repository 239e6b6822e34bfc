#include "dsp/dynamics/RisingSmoothDetector.h"

#include "dsp/math/CoefficientMath.h"

namespace qv {

namespace {
const double kRiseSpanMs = 49.0; // added to the base time, scaled by q for the auto kinds
}

RisingSmoothDetector::RisingSmoothDetector(int ringLength, RiseShape shape)
    : HeldEnvelope(ringLength), shape_(shape) {}

void RisingSmoothDetector::setSampleRate(double fs) {
    if (!acceptSampleRate(fs)) return;
    setRiseCoefficient(coef40(riseTimeMs_, sampleRate()));
}

void RisingSmoothDetector::setBaseTime(float baseMs) {
    baseMs_ = baseMs;
    updateRise();
}

void RisingSmoothDetector::setShape(float q) {
    shapeQ_ = q;
    updateRise();
}

void RisingSmoothDetector::updateRise() {
    const double base = baseMs_;
    const double q = shapeQ_;
    switch (shape_) {
    case RiseShape::Manual:
        riseTimeMs_ = base + kRiseSpanMs;
        break;
    case RiseShape::ManualSoft:
        riseTimeMs_ = 2.0 * base + kRiseSpanMs;
        break;
    case RiseShape::Auto:
        riseTimeMs_ = base + kRiseSpanMs * q;
        break;
    case RiseShape::AutoSoft:
        riseTimeMs_ = base + (base + kRiseSpanMs) * q;
        break;
    }
    setRiseCoefficient(coef40(riseTimeMs_, sampleRate()));
}

} // namespace qv
