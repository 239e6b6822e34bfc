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

// The running frames go through the pipeline in chunks of up to kChunk frames, unit after
// unit (each unit's loop keeps its state in registers), never across a crossover block
// boundary or a gated frame. Every unit sees the same samples in the same order as frame by
// frame, so the output does not depend on how the host or the gate cuts the stream.
template <bool Accumulate>
void MultibandEngine::run(const float* inL, const float* inR, float* outL, float* outR,
                          int frames) {
    int i = 0;
    while (i < frames) {
        // Gather running frames until the chunk is full, the host's block ends, the crossover
        // block is due, or the gate closes.
        const int room = crossover_.beginRun();
        const int limit = room < kChunk ? room : kChunk;
        int n = 0;
        bool gated = false;
        double xL = 0.0, xR = 0.0;
        while (n < limit && i + n < frames) {
            xL = sanitised(inL[i + n]);
            xR = sanitised(inR[i + n]);
            if (!gate_.push(xL, xR)) {
                gated = true;
                break;
            }
            chunk_.inL[n] = xL;
            chunk_.inR[n] = xR;
            ++n;
        }
        if (n > 0) {
            processChunk(n);
            const double* yL = chunk_.outL;
            const double* yR = chunk_.outR;
            for (int k = 0; k < n; ++k) {
                if (Accumulate) {
                    outL[i + k] += static_cast<float>(yL[k]);
                    outR[i + k] += static_cast<float>(yR[k]);
                } else {
                    outL[i + k] = static_cast<float>(yL[k]);
                    outR[i + k] = static_cast<float>(yR[k]);
                }
            }
            i += n;
        }
        if (gated) {
            // The gate has counted this frame already: it only feeds the rings.
            double mL, mR;
            inputRing_.step(xL, xR, mL, mR);
            if (gate_.takeReset()) engineReset();
            silenceFrame();
            if (!Accumulate) {
                outL[i] = 0.0f;
                outR[i] = 0.0f;
            }
            ++i;
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

// n running frames (1..kChunk) from chunk_.inL/inR to chunk_.outL/outR, within one crossover
// block (crossover_.beginRun has run).
void MultibandEngine::processChunk(int n) {
    Chunk& c = chunk_;
    // Monitor and dry copies from the input ring, the reference from its own.
    for (int k = 0; k < n; ++k) {
        inputRing_.step(c.inL[k], c.inR[k], c.monitorL[k], c.monitorR[k]);
        const double* dry = inputRing_.frameBefore(kDryDelay);
        c.dryL[k] = dry[0];
        c.dryR[k] = dry[1];
        referenceRing_.step(c.inL[k], c.inR[k], c.refL[k], c.refR[k]);
    }

    // Band split: band 1 = r - LP1, band b = LP(b-1) - LPb, band 5 = LP4; then the input gain.
    for (int ch = 0; ch < kChannels; ++ch) {
        const double* upper = ch == 0 ? c.refL : c.refR;
        for (int b = 0; b < kBands; ++b) {
            const double g = compressors_[b].inputGain();
            double* band = c.band[b][ch];
            if (b < kBands - 1) {
                const double* lower = crossover_.lowPass(ch, b);
                for (int k = 0; k < n; ++k)
                    band[k] = (upper[k] - lower[k]) * g;
                upper = lower;
            } else {
                for (int k = 0; k < n; ++k)
                    band[k] = (upper[k] - 0.0) * g;
            }
        }
    }
    crossover_.store(c.inL, c.inR, n);

    // Detection and gain computation on the current band signals, band after band.
    const double* raw[kBands];
    double* smoothed[kBands];
    bool linked[kBands], capped[kBands];
    float ratio[kBands];
    for (int b = 0; b < kBands; ++b) {
        BandCompressor& comp = compressors_[b];
        comp.process(c.band[b][0], c.band[b][1], c.gain[b], n);
        raw[b] = c.gain[b];
        smoothed[b] = c.smoothed[b];
        linked[b] = comp.linked();
        capped[b] = comp.capsAtUnity();
        ratio[b] = comp.ratioValue();
    }
    linker_.process(raw, linked, capped, smoothed, n);

    // The band look-ahead: the gains apply to the band signals of 31 frames before, which
    // replace the current ones in the chunk.
    for (int k = 0; k < n; ++k) {
        double* slot = lookaheadRing_.slot();
        for (int b = 0; b < kBands; ++b) {
            slot[2 * b] = c.band[b][0][k];
            slot[2 * b + 1] = c.band[b][1][k];
        }
        const double* delayed = lookaheadRing_.advance();
        for (int b = 0; b < kBands; ++b) {
            c.band[b][0][k] = delayed[2 * b];
            c.band[b][1][k] = delayed[2 * b + 1];
        }
    }

    // Output gains on the delayed bands (the smoothed gains become the applied ones); a band
    // switched off is silenced. Then the band meters and the sum of the bands.
    const double* bands[kBands][kChannels];
    const double* applied[kBands];
    for (int b = 0; b < kBands; ++b) {
        const BandCompressor& comp = compressors_[b];
        const double outputGain = comp.outputGain();
        const bool off = comp.bandOff();
        double* gain = c.smoothed[b];
        for (int k = 0; k < n; ++k)
            gain[k] *= outputGain;
        for (int ch = 0; ch < kChannels; ++ch) {
            double* band = c.band[b][ch];
            if (off)
                for (int k = 0; k < n; ++k)
                    band[k] = 0.0 * gain[k];
            else
                for (int k = 0; k < n; ++k)
                    band[k] *= gain[k];
            bands[b][ch] = band;
        }
        applied[b] = gain;
    }
    if (bandMeter_.process(bands, applied, ratio, n) && listener_ != nullptr)
        listener_->requestPanelRefresh();

    // Mix: (sum of the bands * wet + dry * dry factor) * master, into the output arrays.
    const double wet = wet_, dryFactor = dry_, master = master_;
    for (int ch = 0; ch < kChannels; ++ch) {
        double* mix = ch == 0 ? c.outL : c.outR;
        const double* dry = ch == 0 ? c.dryL : c.dryR;
        for (int k = 0; k < n; ++k)
            mix[k] = 0.0;
        for (int b = 0; b < kBands; ++b) {
            const double* band = c.band[b][ch];
            for (int k = 0; k < n; ++k)
                mix[k] += band[k];
        }
        for (int k = 0; k < n; ++k)
            mix[k] = (mix[k] * wet + dry[k] * dryFactor) * master;
    }

    for (int k = 0; k < n; ++k)
        limiter_.limit(c.outL[k], c.outR[k], c.outL[k], c.outR[k]);

    // The monitor switch outputs the input of 838 frames before instead.
    if (monitor_ >= kMonitorOn) {
        for (int k = 0; k < n; ++k) {
            c.outL[k] = c.monitorL[k];
            c.outR[k] = c.monitorR[k];
        }
    }
    if (outputMeter_.process(c.outL, c.outR, n) && listener_ != nullptr)
        listener_->requestOutputRefresh();
    // A completed capture is handed over at once, before later frames overwrite it.
    for (int k = 0; k < n;) {
        bool complete;
        k += capture_.process(c.outL + k, c.outR + k, n - k, complete);
        if (complete && listener_ != nullptr) listener_->captureAnalysis();
    }
}

} // namespace qv
