#include "dsp/MultibandEngine.h"

#include "dsp/math/LargerOf.h"

#include "dsp/InputSample.h"
#include "dsp/OutputSample.h"
#include "dsp/math/CoefficientMath.h"
#include "dsp/math/SingleRounding.h"

#include <cmath>

#if defined(__SSE2__) && defined(__SSE2_MATH__)
#include <emmintrin.h>
#define QV_ENGINE_SSE2 1
#endif

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

// Where doubles live in SSE2 registers the split forms each band's level max(|L|, |R|) on pairs
// of frames, cheaper than the detector forming it a frame at a time; on the x87 unit the split's
// extra streams cost more than they save, and the detector forms the levels from L and R.
#if defined(QV_ENGINE_SSE2)
constexpr bool kLevelsInSplit = true;
#else
constexpr bool kLevelsInSplit = false;
#endif

// One channel's five band signals, frame by frame, from the reference r and the four low-pass
// outputs (every array distinct, so the loop runs on pairs).
void splitChannel(const double* __restrict r, const double* __restrict lp1,
                  const double* __restrict lp2, const double* __restrict lp3,
                  const double* __restrict lp4, const double (&gain)[5], double* __restrict b1,
                  double* __restrict b2, double* __restrict b3, double* __restrict b4,
                  double* __restrict b5, int n) {
    const double g1 = gain[0], g2 = gain[1], g3 = gain[2], g4 = gain[3], g5 = gain[4];
    for (int k = 0; k < n; ++k) {
        const double x = r[k], a = lp1[k], b = lp2[k], c = lp3[k], d = lp4[k];
        b1[k] = (x - a) * g1;
        b2[k] = (a - b) * g2;
        b3[k] = (b - c) * g3;
        b4[k] = (c - d) * g4;
        b5[k] = (d - 0.0) * g5;
    }
}

// One band's L and R, frame by frame, as the difference of two neighbouring outputs of the
// split (upper - lower; the lowest band has no lower one) times the band's input gain, and its
// level max(|L|, |R|) for the detector (every array distinct, so the loop runs on pairs).
template <bool Lowest>
void splitBand(const double* __restrict upperL, const double* __restrict lowerL,
               const double* __restrict upperR, const double* __restrict lowerR, double gain,
               double* __restrict bandL, double* __restrict bandR, double* __restrict level,
               int n) {
    for (int k = 0; k < n; ++k) {
        const double l = (upperL[k] - (Lowest ? 0.0 : lowerL[k])) * gain;
        const double r = (upperR[k] - (Lowest ? 0.0 : lowerR[k])) * gain;
        bandL[k] = l;
        bandR[k] = r;
        const double magnitudeL = std::fabs(l), magnitudeR = std::fabs(r);
        level[k] = magnitudeL > magnitudeR ? magnitudeL : magnitudeR;
    }
}

constexpr int kBands = MultibandEngine::kBands;

// The output mix of the band sum and the dry signal, with the factors read once per chunk.
struct Mix {
    const double* dryL; // dry signal, L
    const double* dryR; // dry signal, R
    double wet;         // "Wet out" factor
    double dry;         // "Dry out" factor
    double master;      // "MasterOut" gain
    double of(double sum, double drySample) const { return (sum * wet + drySample * dry) * master; }
};

// One band's pass of the band sum on the x87 unit (see applyAndMeasure): gain, output gain,
// extremes, the sum so far in outL/outR; the first band starts the sums at zero (0.0 + l, so a
// -0.0 becomes +0.0 as in a sum started at zero), the last one forms the output mix.
template <bool First, bool Last>
void bandPassX87(const double* smoothed, const double* dl, const double* dr, double outputGain,
                 double sign, const Mix& mix, double* __restrict outL, double* __restrict outR,
                 double& level, double& signedGain, int n) {
    // The running largest of |l| and of |r| in turn: the same extreme as the largest
    // max(|l|, |r|).
    double lv = 0.0, gv = -HUGE_VAL;
    for (int j = 0; j < n; ++j) {
        const double s = smoothed[j] * outputGain;
        const double l = dl[j] * s, r = dr[j] * s;
        const double sumL = (First ? 0.0 : outL[j]) + l, sumR = (First ? 0.0 : outR[j]) + r;
        outL[j] = Last ? mix.of(sumL, mix.dryL[j]) : sumL;
        outR[j] = Last ? mix.of(sumR, mix.dryR[j]) : sumR;
        lv = largerOf(std::fabs(l), lv);
        lv = largerOf(std::fabs(r), lv);
        gv = largerOf(sign * s, gv);
    }
    level = lv;
    signedGain = gv;
}

// The usual case of the band sum: frame by frame across the five bands, band b's smoothed gain
// times its output gain applied to its delayed L and R (delayed[2 b], delayed[2 b + 1]) and
// summed into the output in band order, with the band meters' extremes taken on the way:
// level[b] the largest max(|l|, |r|) (0 or more), signedGain[b] the largest sign[b] times the
// applied gain. The sums leave mixed with the dry signal (mix.of). Where
// doubles live in SSE2 registers two frames go at a time.
void applyAndMeasure(const double (*smoothed)[MultibandEngine::kChunk],
                     const double* const (&delayed)[2 * kBands], const double (&outputGain)[kBands],
                     const double (&sign)[kBands], const Mix& mix, double* __restrict outL,
                     double* __restrict outR, double (&level)[kBands], double (&signedGain)[kBands],
                     int from, int to) {
    int k = from;
#if defined(QV_ENGINE_SSE2)
    const __m128d signBit = _mm_set1_pd(-0.0);
    __m128d levels[kBands], gains[kBands];
    for (int b = 0; b < kBands; ++b) {
        levels[b] = _mm_setzero_pd();
        gains[b] = _mm_set1_pd(-HUGE_VAL);
    }
    for (; k + 1 < to; k += 2) {
        __m128d sumL = _mm_setzero_pd(), sumR = _mm_setzero_pd();
        for (int b = 0; b < kBands; ++b) {
            const __m128d s = _mm_mul_pd(_mm_loadu_pd(smoothed[b] + k), _mm_set1_pd(outputGain[b]));
            const __m128d l = _mm_mul_pd(_mm_loadu_pd(delayed[2 * b] + k), s);
            const __m128d r = _mm_mul_pd(_mm_loadu_pd(delayed[2 * b + 1] + k), s);
            sumL = _mm_add_pd(sumL, l);
            sumR = _mm_add_pd(sumR, r);
            const __m128d magnitude =
                _mm_max_pd(_mm_andnot_pd(signBit, l), _mm_andnot_pd(signBit, r));
            levels[b] = _mm_max_pd(magnitude, levels[b]);
            gains[b] = _mm_max_pd(_mm_mul_pd(s, _mm_set1_pd(sign[b])), gains[b]);
        }
        const __m128d wet = _mm_set1_pd(mix.wet), dry = _mm_set1_pd(mix.dry),
                      master = _mm_set1_pd(mix.master);
        const __m128d dryL = _mm_mul_pd(_mm_loadu_pd(mix.dryL + k), dry);
        const __m128d dryR = _mm_mul_pd(_mm_loadu_pd(mix.dryR + k), dry);
        _mm_storeu_pd(outL + k, _mm_mul_pd(_mm_add_pd(_mm_mul_pd(sumL, wet), dryL), master));
        _mm_storeu_pd(outR + k, _mm_mul_pd(_mm_add_pd(_mm_mul_pd(sumR, wet), dryR), master));
    }
    for (int b = 0; b < kBands; ++b) {
        const __m128d l = _mm_max_sd(levels[b], _mm_unpackhi_pd(levels[b], levels[b]));
        const __m128d g = _mm_max_sd(gains[b], _mm_unpackhi_pd(gains[b], gains[b]));
        level[b] = _mm_cvtsd_f64(l);
        signedGain[b] = _mm_cvtsd_f64(g);
    }
#else
    // On the x87 unit band after band: a band's gains and extremes then stay on the register
    // stack, where frame by frame across the five bands ten extremes spill to memory every
    // frame. The sums go through the output arrays, in the same band order.
    const int n = to - from;
    const Mix run{mix.dryL + from, mix.dryR + from, mix.wet, mix.dry, mix.master};
    bandPassX87<true, false>(smoothed[0] + from, delayed[0] + from, delayed[1] + from,
                             outputGain[0], sign[0], run, outL + from, outR + from, level[0],
                             signedGain[0], n);
    for (int b = 1; b < kBands - 1; ++b)
        bandPassX87<false, false>(smoothed[b] + from, delayed[2 * b] + from,
                                  delayed[2 * b + 1] + from, outputGain[b], sign[b], run,
                                  outL + from, outR + from, level[b], signedGain[b], n);
    bandPassX87<false, true>(smoothed[kBands - 1] + from, delayed[2 * kBands - 2] + from,
                             delayed[2 * kBands - 1] + from, outputGain[kBands - 1],
                             sign[kBands - 1], run, outL + from, outR + from, level[kBands - 1],
                             signedGain[kBands - 1], n);
    k = to;
#endif
    for (; k < to; ++k) {
        double sumL = 0.0, sumR = 0.0;
        for (int b = 0; b < kBands; ++b) {
            const double s = smoothed[b][k] * outputGain[b];
            const double l = delayed[2 * b][k] * s;
            const double r = delayed[2 * b + 1][k] * s;
            sumL += l;
            sumR += r;
            const double magnitude = std::fabs(l) > std::fabs(r) ? std::fabs(l) : std::fabs(r);
            level[b] = magnitude > level[b] ? magnitude : level[b];
            const double g = sign[b] * s;
            signedGain[b] = g > signedGain[b] ? g : signedGain[b];
        }
        outL[k] = mix.of(sumL, mix.dryL[k]);
        outR[k] = mix.of(sumR, mix.dryR[k]);
    }
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
    lookahead_.clear();
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

// The frames go through the pipeline in runs: running frames in chunks of up to kChunk frames,
// unit after unit (each unit's loop keeps its state in registers), never across a crossover
// block boundary; gated frames in runs of their own. Every unit sees the same samples in the
// same order as frame by frame, so the output does not depend on how the host cuts the stream.
template <bool Accumulate>
void MultibandEngine::run(const float* inL, const float* inR, float* outL, float* outR,
                          int frames) {
    // The next frame, already counted by the gate.
    double xL = enteredSample(inL[0]);
    double xR = enteredSample(inR[0]);
    bool active = gate_.push(xL, xR);
    int i = 0;
    while (i < frames) {
        if (!active) {
            // A gated run: the first gated frame resets the engine once; every gated frame
            // feeds the input ring and then moves all rings and the crossover block on over
            // zeros.
            if (gate_.takeReset()) engineReset();
            int g = 0;
            for (;;) {
                double mL, mR;
                inputRing_.step(xL, xR, mL, mR);
                inputRing_.stepSilence();
                if (!Accumulate) {
                    outL[i] = 0.0f;
                    outR[i] = 0.0f;
                }
                ++g;
                if (++i == frames) break;
                xL = enteredSample(inL[i]);
                xR = enteredSample(inR[i]);
                if ((active = gate_.push(xL, xR))) break;
            }
            silence(g);
            continue;
        }
        // A chunk of running frames, until it is full, the host's block ends, the crossover
        // block is due, or the gate closes.
        const int room = crossover_.beginRun();
        const int limit = room < kChunk ? room : kChunk;
        const int n = gatherChunk(inL, inR, i, frames, limit, xL, xR, active);
        processChunk(n);
        const double* yL = chunk_.outL;
        const double* yR = chunk_.outR;
        if (Accumulate) {
            for (int k = 0; k < n; ++k) {
                outL[i + k] += static_cast<float>(yL[k]);
                outR[i + k] += static_cast<float>(yR[k]);
            }
        } else {
            narrowSamples(yL, yR, outL + i, outR + i, n);
        }
        i += n;
    }
}

// The chunk's frames from frame i on (xL, xR: frame i, already counted by the gate), until it
// holds limit frames, the host's block ends or the gate closes; returns their count. Leaves
// the next frame, counted by the gate, in xL, xR and whether the engine runs for it in active.
int MultibandEngine::gatherChunk(const float* inL, const float* inR, int i, int frames, int limit,
                                 double& xL, double& xR, bool& active) {
    chunk_.inL = inputRing_.runArea(0);
    chunk_.inR = inputRing_.runArea(1);
    chunk_.inL[0] = xL;
    chunk_.inR[0] = xR;
    int n = 1;
    const int ahead = (frames - i < limit ? frames - i : limit) - 1; // frames after i
    if (ahead <= gate_.roomBeforeClosing()) {
        // The gate cannot close within the chunk: the frames after the first are taken in one
        // pass per channel and counted by the gate afterwards, from the last loud one (music
        // finds it at the end).
        enterSamples(inL + i + 1, chunk_.inL + 1, ahead);
        enterSamples(inR + i + 1, chunk_.inR + 1, ahead);
        int lastLoud = ahead;
        while (lastLoud > 0 && !SilenceGate::loud(chunk_.inL[lastLoud], chunk_.inR[lastLoud]))
            --lastLoud;
        gate_.passOpen(ahead, lastLoud > 0 ? ahead - lastLoud : ahead);
        n = ahead + 1;
    } else {
        // Frame by frame, each through the gate.
        for (; n <= ahead; ++n) {
            xL = enteredSample(inL[i + n]);
            xR = enteredSample(inR[i + n]);
            if (!gate_.push(xL, xR)) {
                active = false;
                return n;
            }
            chunk_.inL[n] = xL;
            chunk_.inR[n] = xR;
        }
    }
    if (i + n < frames) {
        xL = enteredSample(inL[i + n]);
        xR = enteredSample(inR[i + n]);
        active = gate_.push(xL, xR);
    }
    return n;
}

// g gated frames (after their input ring steps): the other rings and the crossover block move
// on over zeros, nothing else runs.
void MultibandEngine::silence(int g) {
    for (int k = 0; k < g; ++k) {
        referenceRing_.stepSilence();
        crossover_.stepSilence();
    }
    limiter_.pushSilence(g);
    lookahead_.advanceSilence(g);
}

// n running frames (1..kChunk) from chunk_.inL/inR to chunk_.outL/outR, within one crossover
// block (crossover_.beginRun has run).
void MultibandEngine::processChunk(int n) {
    readDelayedInputs(n);
    splitBands(n);
    float ratio[kBands]; // each band's ratio control, for the band meter
    computeBandGains(n, ratio);
    const bool mixed = applyAndSumBands(n, ratio);
    mixAndLimit(n, mixed);
    meterAndCapture(n);
}

void MultibandEngine::readDelayedInputs(int n) {
    Chunk& c = chunk_;
    // Monitor and dry inputs from the input ring, the reference from its own, read in place
    // (every delay is longer than a chunk, so the frames read all lie before it, and the rings
    // keep them through the chunk's write; the chunk's input is already in the input ring's run
    // area). "Monitor" is read once per chunk, here.
    c.monitorOn = monitor_ >= kMonitorOn;
    c.monitorL = inputRing_.delayedRun(0, kLatency);
    c.monitorR = inputRing_.delayedRun(1, kLatency);
    c.dryL = inputRing_.delayedRun(0, kDryDelay);
    c.dryR = inputRing_.delayedRun(1, kDryDelay);
    inputRing_.commitRun(n);
    c.refL = referenceRing_.delayedRun(0, kReferenceDelay);
    c.refR = referenceRing_.delayedRun(1, kReferenceDelay);
    referenceRing_.writeRun(c.inL, c.inR, n);
}

void MultibandEngine::splitBands(int n) {
    Chunk& c = chunk_;
    // Band 1 = r - LP1, band b = LP(b-1) - LPb, band 5 = LP4; then the input gain. The current
    // band signals go into the look-ahead line (and, with kLevelsInSplit, their levels to the
    // detectors).
    static_assert(kBands == 5, "five bands from four low-pass outputs");
    // kLevelsInSplit is a constant: the other form is compiled but never runs.
    if (kLevelsInSplit) {
        for (int b = 0; b < kBands; ++b) {
            const double gain = compressors_[b].inputGain();
            const double* upperL = b == 0 ? c.refL : crossover_.lowPass(0, b - 1);
            const double* upperR = b == 0 ? c.refR : crossover_.lowPass(1, b - 1);
            if (b == kBands - 1)
                splitBand<true>(upperL, nullptr, upperR, nullptr, gain, lookahead_.input(2 * b),
                                lookahead_.input(2 * b + 1), c.level[b], n);
            else
                splitBand<false>(upperL, crossover_.lowPass(0, b), upperR, crossover_.lowPass(1, b),
                                 gain, lookahead_.input(2 * b), lookahead_.input(2 * b + 1),
                                 c.level[b], n);
        }
    } else {
        double gain[kBands];
        for (int b = 0; b < kBands; ++b)
            gain[b] = compressors_[b].inputGain();
        for (int ch = 0; ch < kChannels; ++ch)
            splitChannel(ch == 0 ? c.refL : c.refR, crossover_.lowPass(ch, 0),
                         crossover_.lowPass(ch, 1), crossover_.lowPass(ch, 2),
                         crossover_.lowPass(ch, 3), gain, lookahead_.input(ch),
                         lookahead_.input(2 + ch), lookahead_.input(4 + ch),
                         lookahead_.input(6 + ch), lookahead_.input(8 + ch), n);
    }
    crossover_.store(c.inL, c.inR, n);
}

void MultibandEngine::computeBandGains(int n, float (&ratio)[kBands]) {
    Chunk& c = chunk_;
    // Detection and gain computation on the current band signals, band after band, then the
    // linking between neighbours and the gain smoothing.
    const double* raw[kBands];
    double* smoothed[kBands];
    bool linked[kBands], capped[kBands];
    for (int b = 0; b < kBands; ++b) {
        BandCompressor& comp = compressors_[b];
        if (kLevelsInSplit)
            comp.processLevels(c.level[b], c.gain[b], n);
        else
            comp.process(lookahead_.input(2 * b), lookahead_.input(2 * b + 1), c.gain[b], n);
        raw[b] = c.gain[b];
        smoothed[b] = c.smoothed[b];
        linked[b] = comp.linked();
        capped[b] = comp.capsAtUnity();
        ratio[b] = comp.ratioValue();
    }
    linker_.process(raw, linked, capped, smoothed, n);
}

bool MultibandEngine::applyAndSumBands(int n, const float (&ratio)[kBands]) {
    Chunk& c = chunk_;
    // Output gains (the smoothed gains become the applied ones) on the band signals of 31 frames
    // before; a band switched off is silenced. The gained bands are summed into the limiter's
    // input on the way, band after band.
    // The settings are read once: the automation thread may change them meanwhile.
    double outputGain[kBands];
    bool bandOff[kBands];
    bool anyOff = false;
    for (int b = 0; b < kBands; ++b) {
        outputGain[b] = compressors_[b].outputGain();
        bandOff[b] = compressors_[b].bandOff();
        anyOff = anyOff || bandOff[b];
    }
    double* const sumL = limiter_.input(0);
    double* const sumR = limiter_.input(1);
    if (!anyOff) {
        // The usual case: the band meters take the extremes measured on the way instead of the
        // band arrays, in runs up to each period's end; the frame that ends a period publishes
        // and is not measured.
        double sign[kBands], level[kBands], signedGain[kBands];
        for (int b = 0; b < kBands; ++b)
            sign[b] = BandMeter::gainSign(ratio[b]);
        const double* delayed[2 * kBands];
        for (int w = 0; w < 2 * kBands; ++w)
            delayed[w] = lookahead_.output(w);
        const Mix mix{c.dryL, c.dryR, wet_, dry_, master_};
        bool published = false;
        for (int done = 0; done < n;) {
            int run = bandMeter_.framesBeforePublish();
            bool measured = true;
            if (run == 0) {
                if (bandMeter_.publishPeriod()) {
                    published = true;
                    run = 1;
                    measured = false;
                } else {
                    run = n; // the meters measure nothing: one run
                }
            }
            if (run > n - done) run = n - done;
            applyAndMeasure(c.smoothed, delayed, outputGain, sign, mix, sumL, sumR, level,
                            signedGain, done, done + run);
            if (measured) bandMeter_.addExtremes(level, signedGain, ratio, run);
            done += run;
        }
        lookahead_.advance(n);
        if (published && listener_ != nullptr) listener_->requestPanelRefresh();
        return true; // mixed on the way
    }
    // A band switched off: band after band into the band arrays, which the meters then read.
    for (int k = 0; k < n; ++k) {
        sumL[k] = 0.0;
        sumR[k] = 0.0;
    }
    for (int b = 0; b < kBands; ++b) {
        const double og = outputGain[b];
        const bool off = bandOff[b];
        const double* delayedL = lookahead_.output(2 * b);
        const double* delayedR = lookahead_.output(2 * b + 1);
        double* gain = c.smoothed[b];
        double* gainedL = c.band[b][0];
        double* gainedR = c.band[b][1];
        for (int k = 0; k < n; ++k) {
            const double s = gain[k] * og;
            gain[k] = s;
            const double l = (off ? 0.0 : delayedL[k]) * s, r = (off ? 0.0 : delayedR[k]) * s;
            gainedL[k] = l;
            gainedR[k] = r;
            sumL[k] += l;
            sumR[k] += r;
        }
    }
    const double* bands[kBands][kChannels];
    const double* applied[kBands];
    for (int b = 0; b < kBands; ++b) {
        bands[b][0] = c.band[b][0];
        bands[b][1] = c.band[b][1];
        applied[b] = c.smoothed[b];
    }
    lookahead_.advance(n);
    if (bandMeter_.process(bands, applied, ratio, n) && listener_ != nullptr)
        listener_->requestPanelRefresh();
    return false;
}

void MultibandEngine::mixAndLimit(int n, bool mixed) {
    Chunk& c = chunk_;
    // (sum of the bands * wet + dry * dry factor) * master into the limiter, unless the band sum
    // has already put it there; the limited mix comes back in the output arrays.
    if (!mixed) {
        const Mix mix{c.dryL, c.dryR, wet_, dry_, master_};
        double* mixL = limiter_.input(0);
        double* mixR = limiter_.input(1);
        for (int k = 0; k < n; ++k) {
            mixL[k] = mix.of(mixL[k], c.dryL[k]);
            mixR[k] = mix.of(mixR[k], c.dryR[k]);
        }
    }
    limiter_.processInput(n, c.outL, c.outR);
    // The monitor switch outputs the input of 838 frames before instead.
    if (c.monitorOn) {
        for (int k = 0; k < n; ++k) {
            c.outL[k] = c.monitorL[k];
            c.outR[k] = c.monitorR[k];
        }
    }
}

void MultibandEngine::meterAndCapture(int n) {
    Chunk& c = chunk_;
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
