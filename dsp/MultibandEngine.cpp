#include "dsp/MultibandEngine.h"

#include "dsp/CoefficientMath.h"
#include "dsp/SingleRounding.h"

#include <cmath>

namespace qv {

namespace {
const float kMonitorOn = 0.5f;         // "Monitor" from here outputs the untreated input
const double kMeterSeconds = 0.1;      // meter period
const int kMinMeterPeriod = 2200;      // frames, the period's floor at low rates
const double kRmsSeconds = 0.05;       // RMS window
const double kMaxFrameCount = 1 << 30; // bound of rate-derived lengths before conversion

// truncate(fs * seconds) with the product in single precision, bounded to 0..kMaxFrameCount.
int framesAt(double fs, double seconds) {
    const double product =
        static_cast<double>(roundToSingle(fs)) * static_cast<double>(static_cast<float>(seconds));
    const float frames = roundToSingle(product);
    if (!(frames > 0.0f)) return 0;
    if (frames >= kMaxFrameCount) return static_cast<int>(kMaxFrameCount);
    return static_cast<int>(frames);
}

// Non-finite samples (NaN, infinity) enter as silence; any finite sample passes.
double sanitised(float sample) {
    return std::fabs(sample) <= 3.4028234663852886e38f ? static_cast<double>(sample) : 0.0;
}
} // namespace

MultibandEngine::MultibandEngine(EngineListener* listener) : listener_(listener) {
    setSampleRate(kDefaultSampleRate);
}

void MultibandEngine::setMasterOut(float x) {
    master_ = levelToGain(x);
}

void MultibandEngine::setPanelPage(float x) {
    bandMeter_.setPanelPage(x);
    capture_.setPanelPage(x);
}

void MultibandEngine::setSampleRate(double fs) {
    if (!std::isfinite(fs) || !(fs > 0.0)) return;
    sampleRate_ = fs;
    bandTable_.rebuild(fs);
    const int period = framesAt(fs, kMeterSeconds);
    meterPeriod_ = period < kMinMeterPeriod ? kMinMeterPeriod : period;
    bandMeter_.setPeriod(meterPeriod_);
    outputMeter_.setPeriod(meterPeriod_);
    outputMeter_.setWindowLength(framesAt(fs, kRmsSeconds));
    limiter_.setSampleRate(fs);
    crossover_.bank(0).setSampleRate(fs);
    crossover_.bank(1).setSampleRate(fs);
    for (BandCompressor& c : compressors_)
        c.setSampleRate(fs);
}

void MultibandEngine::engineReset() {
    bandMeter_.reset();
    outputMeter_.reset();
    if (listener_ != nullptr) {
        listener_->requestPanelRefresh();
        listener_->requestOutputRefresh();
    }
    limiter_.reset();
    for (BandCompressor& c : compressors_)
        c.resetDetectors();
    linker_.reset();
    crossover_.clear();
    referenceRing_.clear();
    capture_.clear();
    if (listener_ != nullptr) listener_->captureAnalysis();
}

void MultibandEngine::fullReset() {
    bandMeter_.fullReset();
    outputMeter_.fullReset();
    gate_.close();
    crossover_.fullReset();
    capture_.clear();
    inputRing_.clear();
    referenceRing_.clear();
    lookaheadRing_.clear();
    limiter_.fullReset();
    for (BandCompressor& c : compressors_)
        c.fullReset();
    linker_.reset();
}

void MultibandEngine::process(float* const* inputs, float* const* outputs, int frames,
                              bool accumulate) {
    if (inputs == nullptr || outputs == nullptr || frames <= 0) return;
    const float* inL = inputs[0];
    const float* inR = inputs[1];
    float* outL = outputs[0];
    float* outR = outputs[1];
    if (inL == nullptr || inR == nullptr || outL == nullptr || outR == nullptr) return;
    if (accumulate)
        run<true>(inL, inR, outL, outR, frames);
    else
        run<false>(inL, inR, outL, outR, frames);
}

template <bool Accumulate>
void MultibandEngine::run(const float* inL, const float* inR, float* outL, float* outR,
                          int frames) {
    for (int i = 0; i < frames; ++i) {
        const double xL = sanitised(inL[i]);
        const double xR = sanitised(inR[i]);
        const bool active = gate_.push(xL, xR);
        double mL, mR, dL, dR;
        inputRing_.step(xL, xR, mL, mR);
        const double* dry = inputRing_.frameBefore(kDryDelay);
        dL = dry[0];
        dR = dry[1];
        if (!active) {
            if (gate_.takeReset()) engineReset();
            silenceFrame();
            if (!Accumulate) {
                outL[i] = 0.0f;
                outR[i] = 0.0f;
            }
            continue;
        }
        double yL, yR;
        processFrame(xL, xR, mL, mR, dL, dR, yL, yR);
        if (Accumulate) {
            outL[i] += static_cast<float>(yL);
            outR[i] += static_cast<float>(yR);
        } else {
            outL[i] = static_cast<float>(yL);
            outR[i] = static_cast<float>(yR);
        }
    }
}

// Gated frame: every ring and the crossover block advance over zeros, nothing else runs.
void MultibandEngine::silenceFrame() {
    inputRing_.stepSilence();
    referenceRing_.stepSilence();
    lookaheadRing_.stepSilence();
    limiter_.pushSilence();
    crossover_.stepSilence();
}

void MultibandEngine::processFrame(double xL, double xR, double mL, double mR, double dL, double dR,
                                   double& yL, double& yR) {
    double rL, rR;
    referenceRing_.step(xL, xR, rL, rR);
    double lowL[CrossoverStage::kFilters], lowR[CrossoverStage::kFilters];
    crossover_.step(xL, xR, lowL, lowR);

    // Band split: band 1 = r - LP1, band b = LP(b-1) - LPb, band 5 = LP4; then the input gain.
    // Local frames (not pointers into the ring) let the compiler keep members in registers.
    double current[2 * kBands]; // (L, R) per band
    const double upperL[kBands] = {rL, lowL[0], lowL[1], lowL[2], lowL[3]};
    const double upperR[kBands] = {rR, lowR[0], lowR[1], lowR[2], lowR[3]};
    const double lowerL[kBands] = {lowL[0], lowL[1], lowL[2], lowL[3], 0.0};
    const double lowerR[kBands] = {lowR[0], lowR[1], lowR[2], lowR[3], 0.0};
    for (int b = 0; b < kBands; ++b) {
        const double g = compressors_[b].inputGain();
        current[2 * b] = (upperL[b] - lowerL[b]) * g;
        current[2 * b + 1] = (upperR[b] - lowerR[b]) * g;
    }
    double* slot = lookaheadRing_.slot();
    for (int i = 0; i < 2 * kBands; ++i)
        slot[i] = current[i];
    const double* delayed = lookaheadRing_.advance();

    // Detection and gain computation on the current signals.
    double raw[kBands];
    bool linked[kBands], capped[kBands];
    float ratio[kBands];
    for (int b = 0; b < kBands; ++b) {
        BandCompressor& c = compressors_[b];
        raw[b] = c.push(current[2 * b], current[2 * b + 1]);
        linked[b] = c.linked();
        capped[b] = c.capsAtUnity();
        ratio[b] = c.ratioValue();
    }
    double smoothed[kBands];
    linker_.process(raw, linked, capped, smoothed);

    // Output gains on the delayed bands; a band switched off is silenced.
    double applied[kBands];
    double gained[2 * kBands]; // (L, R) per band
    for (int b = 0; b < kBands; ++b) {
        const BandCompressor& c = compressors_[b];
        applied[b] = smoothed[b] * c.outputGain();
        const bool off = c.bandOff();
        gained[2 * b] = (off ? 0.0 : delayed[2 * b]) * applied[b];
        gained[2 * b + 1] = (off ? 0.0 : delayed[2 * b + 1]) * applied[b];
    }
    if (bandMeter_.push(gained, applied, ratio) && listener_ != nullptr)
        listener_->requestPanelRefresh();
    double sumL = 0.0, sumR = 0.0;
    for (int b = 0; b < kBands; ++b) {
        sumL += gained[2 * b];
        sumR += gained[2 * b + 1];
    }

    const double mixL = (sumL * wet_ + dL * dry_) * master_;
    const double mixR = (sumR * wet_ + dR * dry_) * master_;
    double lL, lR;
    limiter_.limit(mixL, mixR, lL, lR);

    const bool monitoring = monitor_ >= kMonitorOn;
    yL = monitoring ? mL : lL;
    yR = monitoring ? mR : lR;
    if (outputMeter_.push(yL, yR) && listener_ != nullptr) listener_->requestOutputRefresh();
    if (capture_.push(yL, yR) && listener_ != nullptr) listener_->captureAnalysis();
}

} // namespace qv
