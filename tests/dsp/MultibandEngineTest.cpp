#include "dsp/MultibandEngine.h"

#include "tests/dsp/EngineSettings.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qv {
namespace {

using namespace engine_settings;

const double kPi = 3.14159265358979323846;
const int kLatency = 838;

struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(int n = 0, float fill = 0.0f) : l(n, fill), r(n, fill) {}
    int size() const { return static_cast<int>(l.size()); }
};

Stereo noise(int n, float amplitude, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    Stereo s(n);
    for (int i = 0; i < n; ++i) {
        s.l[i] = amplitude * unit(rng);
        s.r[i] = amplitude * unit(rng);
    }
    return s;
}

Stereo tone(int n, double hz, double amplitude, double fs = 44100.0) {
    Stereo s(n);
    for (int i = 0; i < n; ++i)
        s.l[i] = s.r[i] = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * i / fs));
    return s;
}

// Runs the input through the engine in blocks of blockSize frames into out (which keeps its
// contents where the engine does not write).
void run(MultibandEngine& e, const Stereo& in, Stereo& out, int blockSize, bool accumulate) {
    for (int start = 0; start < in.size(); start += blockSize) {
        const int frames = std::min(blockSize, in.size() - start);
        float* inputs[2] = {const_cast<float*>(in.l.data()) + start,
                            const_cast<float*>(in.r.data()) + start};
        float* outputs[2] = {out.l.data() + start, out.r.data() + start};
        e.process(inputs, outputs, frames, accumulate);
    }
}

Stereo processed(MultibandEngine& e, const Stereo& in, int blockSize = 512) {
    Stereo out(in.size(), 12345.0f); // replaced everywhere
    run(e, in, out, blockSize, false);
    return out;
}

std::unique_ptr<MultibandEngine> makeEngine(void (*setup)(MultibandEngine&),
                                            EngineListener* listener = nullptr) {
    auto e = std::make_unique<MultibandEngine>(listener);
    setup(*e);
    return e;
}

double rms(const std::vector<float>& v, int from) {
    double sum = 0.0;
    for (int i = from; i < static_cast<int>(v.size()); ++i)
        sum += static_cast<double>(v[i]) * v[i];
    return std::sqrt(sum / (v.size() - from));
}

class RecordingListener : public EngineListener {
public:
    struct Call {
        char kind; // 'P' panel, 'O' output, 'A' analysis
        int frame;
    };
    void requestPanelRefresh() override { calls.push_back({'P', frame}); }
    void requestOutputRefresh() override { calls.push_back({'O', frame}); }
    void captureAnalysis() override {
        calls.push_back({'A', frame});
        if (engine != nullptr)
            for (int c = 0; c < 2; ++c)
                captured[c].assign(engine->liveAnalysis(c),
                                   engine->liveAnalysis(c) + MultibandEngine::kAnalysisLength);
    }
    std::vector<int> framesOf(char kind) const {
        std::vector<int> f;
        for (const Call& c : calls)
            if (c.kind == kind) f.push_back(c.frame);
        return f;
    }
    std::vector<Call> calls;
    int frame = 0;
    MultibandEngine* engine = nullptr;
    std::vector<float> captured[2];
};

// Frame by frame, so the listener knows the frame of each call.
Stereo processedFrames(MultibandEngine& e, RecordingListener& listener, const Stereo& in) {
    Stereo out(in.size());
    for (int i = 0; i < in.size(); ++i) {
        listener.frame = i;
        float* inputs[2] = {const_cast<float*>(&in.l[i]), const_cast<float*>(&in.r[i])};
        float* outputs[2] = {&out.l[i], &out.r[i]};
        e.process(inputs, outputs, 1, false);
    }
    return out;
}

// --- Latency-aligned identities -------------------------------------------------------------

struct IdentityCase {
    const char* name;
    void (*setup)(MultibandEngine&);
    double tolerance;
};

void transparentWet(MultibandEngine& e) {
    applyTransparent(e);
}
void dryOnly(MultibandEngine& e) {
    applyTransparent(e);
    BandSettings s; // compressors running: the dry path must not care
    applyAllBands(e, s);
    e.setWetOut(0.0f);
    e.setDryOut(1.0f);
}
void monitorOverHeavy(MultibandEngine& e) {
    applyHeavy(e);
    e.setMonitor(0.5f);
}
void brickWallTransparent(MultibandEngine& e) {
    applyTransparent(e);
    for (int c = 0; c < 2; ++c)
        e.crossover(c).setFilterType(1.0f);
}

TEST(MultibandEngineTest, OutputIsTheInputDelayedByTheLatency) {
    const IdentityCase cases[] = {
        {"all bands bypassed, unity gains, limiter off", transparentWet, 1e-6},
        {"the same with brick-wall filters", brickWallTransparent, 1e-6},
        {"dry only", dryOnly, 0.0},
        {"monitor over heavy processing", monitorOverHeavy, 0.0},
    };
    const Stereo in = noise(6000, 0.9f, 7);
    for (const IdentityCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto e = makeEngine(c.setup);
        const Stereo out = processed(*e, in);
        double worst = 0.0;
        for (int i = 0; i < in.size(); ++i) {
            const float expectL = i >= kLatency ? in.l[i - kLatency] : 0.0f;
            const float expectR = i >= kLatency ? in.r[i - kLatency] : 0.0f;
            worst = std::max(worst, std::fabs(static_cast<double>(out.l[i]) - expectL));
            worst = std::max(worst, std::fabs(static_cast<double>(out.r[i]) - expectR));
        }
        EXPECT_LE(worst, c.tolerance);
    }
}

TEST(MultibandEngineTest, LimiterAloneCapsTheDelayedMix) {
    auto e = makeEngine(applyTransparent);
    LimiterSettings l; // limiter on, ceiling 0.998 (-0.012 dB)
    applyLimiter(*e, l);
    const Stereo in = noise(4000, 0.99f, 3);
    e->setMasterOut(0.75f); // +12 dB: the mix reaches about 4
    const Stereo out = processed(*e, in);
    const double bound = 0.999999 * e->limiter().ceiling();
    for (int i = 0; i < in.size(); ++i) {
        EXPECT_LE(std::fabs(out.l[i]), bound + 1e-7);
        EXPECT_LE(std::fabs(out.r[i]), bound + 1e-7);
    }
    EXPECT_GT(rms(out.l, kLatency), 0.3); // limited, not silenced
}

// --- Silence gate ---------------------------------------------------------------------------

TEST(MultibandEngineTest, SilenceGivesExactZerosAndStartValuesFromItsFrame1025) {
    RecordingListener listener;
    auto e = makeEngine(applyHeavy, &listener);
    const int loud = 5000, silent = 3000;
    Stereo in = noise(loud + silent, 0.8f, 11);
    for (int i = loud; i < in.size(); ++i)
        in.l[i] = in.r[i] = (i % 2 ? 1e-6f : -1e-6f) * 0.5f; // below the gate threshold
    const Stereo out = processedFrames(*e, listener, in);

    const int firstZero = loud + SilenceGate::kSilentLimit; // the 1025th silent frame
    EXPECT_NE(out.l[firstZero - 1], 0.0f) << "the delayed signal still plays before";
    for (int i = firstZero; i < in.size(); ++i) {
        ASSERT_EQ(out.l[i], 0.0f) << i;
        ASSERT_EQ(out.r[i], 0.0f) << i;
    }
    EXPECT_FALSE(e->gateActive());
    // The reset ran once, on the closing frame, telling the editor in this order.
    std::string resetCalls;
    for (const auto& call : listener.calls)
        if (call.frame == firstZero) resetCalls += call.kind;
    EXPECT_EQ(resetCalls, "POA");
    for (const auto& call : listener.calls)
        EXPECT_LE(call.frame, firstZero) << "nothing is published while gated";

    for (int b = 1; b <= 5; ++b) {
        EXPECT_EQ(e->bandLevel(b), 0.0f);
        EXPECT_EQ(e->bandGain(b), 0.1f);
        const BandDetector& d = e->compressor(b).detector();
        EXPECT_EQ(d.softAutoPeak().envelope(), 0.0);
        EXPECT_EQ(d.softAutoRise().envelope(), 0.0);
        EXPECT_EQ(d.attackSmoother().state(), 0.0);
        EXPECT_EQ(e->linker().smoother(b - 1).output(), 0.0);
    }
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(e->outPeak(c), 0.0f);
        EXPECT_EQ(e->outRms(c), 0.0f);
        for (int i = 0; i < MultibandEngine::kAnalysisLength; ++i)
            ASSERT_EQ(e->liveAnalysis(c)[i], 0.0f);
    }
    EXPECT_EQ(e->limiter().smoother().lastOutput(), 1.0);
    EXPECT_EQ(e->bandMeter().counter(), 0);
    EXPECT_EQ(e->outputMeter().counter(), 0);
}

TEST(MultibandEngineTest, GateReopensOnTheFirstFrameAboveTheThreshold) {
    auto e = makeEngine(applyDefaultProgram);
    Stereo silence(1100);
    processed(*e, silence);
    ASSERT_FALSE(e->gateActive());

    Stereo quiet(1);
    quiet.r[0] = 1.0e-6f; // 9.99999997e-7 as a float: still silence
    processed(*e, quiet);
    EXPECT_FALSE(e->gateActive());

    Stereo first(1);
    first.r[0] = -1.1e-6f;
    processed(*e, first);
    EXPECT_TRUE(e->gateActive());
}

TEST(MultibandEngineTest, GatedStretchLeavesNoTrace) {
    // A gated stretch longer than the latency flushes every ring and resets the rest, so what
    // follows sounds exactly as from a freshly reset engine.
    auto a = makeEngine(applyHeavy);
    auto b = makeEngine(applyHeavy);
    const Stereo before = noise(3000, 0.7f, 5);
    Stereo silence(SilenceGate::kSilentLimit + 1 + kLatency + 1);
    processed(*a, before);
    processed(*a, silence);
    b->fullReset();
    processed(*b, silence);
    const Stereo after = noise(4000, 0.7f, 6);
    const Stereo outA = processed(*a, after);
    const Stereo outB = processed(*b, after);
    // The crossover block position differs, so the results agree up to rounding.
    for (int i = 0; i < after.size(); ++i) {
        ASSERT_NEAR(outA.l[i], outB.l[i], 1e-6) << i;
        ASSERT_NEAR(outA.r[i], outB.r[i], 1e-6) << i;
    }
}

// --- Accumulating and replacing -------------------------------------------------------------

TEST(MultibandEngineTest, ProcessAddsWhereProcessReplacingReplaces) {
    auto replacing = makeEngine(applyHeavy);
    auto adding = makeEngine(applyHeavy);
    Stereo in = noise(6000, 0.8f, 21);
    for (int i = 2000; i < 3500; ++i) // a gated stretch in between
        in.l[i] = in.r[i] = 0.0f;
    const Stereo existing = noise(in.size(), 0.3f, 22);

    const Stereo replaced = processed(*replacing, in);
    Stereo added = existing;
    run(*adding, in, added, 512, true);
    for (int i = 0; i < in.size(); ++i) {
        ASSERT_EQ(added.l[i], existing.l[i] + replaced.l[i]) << i;
        ASSERT_EQ(added.r[i], existing.r[i] + replaced.r[i]) << i;
    }
    // While gated, process adds nothing and processReplacing writes exact zeros.
    EXPECT_EQ(replaced.l[3400], 0.0f);
    EXPECT_EQ(added.l[3400], existing.l[3400]);
}

TEST(MultibandEngineTest, NothingHappensWithoutBuffersOrFrames) {
    auto e = makeEngine(applyDefaultProgram);
    float inL[4] = {0.5f, 0.5f, 0.5f, 0.5f}, inR[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    float outL[4] = {7, 7, 7, 7}, outR[4] = {7, 7, 7, 7};
    float* inputs[2] = {inL, inR};
    float* outputs[2] = {outL, outR};
    float* noLeft[2] = {nullptr, inR};
    float* noRight[2] = {outL, nullptr};
    e->process(inputs, outputs, 0, false);
    e->process(inputs, outputs, -5, false);
    e->process(nullptr, outputs, 4, false);
    e->process(inputs, nullptr, 4, false);
    e->process(noLeft, outputs, 4, false);
    e->process(inputs, noRight, 4, false);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(outL[i], 7.0f);
        EXPECT_EQ(outR[i], 7.0f);
    }
    EXPECT_EQ(e->outputMeter().counter(), OutputMeter::kStartCount); // no frame was run
}

// --- Block-size independence ----------------------------------------------------------------

TEST(MultibandEngineTest, BlockSizeDoesNotChangeTheOutput) {
    Stereo in = noise(14000, 0.9f, 31);
    for (int i = 5000; i < 6600; ++i) // gate closes and reopens
        in.l[i] = in.r[i] = 0.0f;
    for (int i = 9000; i < 10000; ++i) // a loud stretch for the limiter
        in.l[i] *= 4.0f;
    auto reference = makeEngine(applyHeavy);
    const Stereo expected = processed(*reference, in, 1);
    for (int block : {7, 511, 512, 513, 4096}) {
        SCOPED_TRACE(block);
        auto e = makeEngine(applyHeavy);
        const Stereo out = processed(*e, in, block);
        ASSERT_EQ(0, std::memcmp(out.l.data(), expected.l.data(), in.size() * sizeof(float)));
        ASSERT_EQ(0, std::memcmp(out.r.data(), expected.r.data(), in.size() * sizeof(float)));
    }
}

// --- Band switches --------------------------------------------------------------------------

// Crossovers at 12000, 6000, 2500 and 800 Hz with brick-wall filters; one tone per band.
void separatedBands(MultibandEngine& e) {
    applyTransparent(e);
    const double hz[4] = {12000.0, 6000.0, 2500.0, 800.0};
    for (int k = 1; k <= 4; ++k)
        setCrossoverHz(e, k, hz[k - 1]);
    for (int c = 0; c < 2; ++c)
        e.crossover(c).setFilterType(1.0f);
}

TEST(MultibandEngineTest, BandSwitchedOffContributesNothing) {
    const double toneHz[5] = {17000.0, 8500.0, 4000.0, 1500.0, 200.0}; // bands 1..5
    for (int band = 1; band <= 5; ++band) {
        SCOPED_TRACE(band);
        const Stereo in = tone(6000, toneHz[band - 1], 0.5);
        for (int off = 1; off <= 5; ++off) {
            auto e = makeEngine(separatedBands);
            BandSettings s;
            s.compSw = 1.0f;
            s.pwsw = 1.0f;
            applyBand(*e, off, s);
            const double level = rms(processed(*e, in).l, kLatency + 100);
            if (off == band)
                EXPECT_LT(level, 0.005) << "band " << off << " off";
            else
                EXPECT_NEAR(level, 0.5 / std::sqrt(2.0), 0.01) << "band " << off << " off";
        }
    }
    auto e = makeEngine(separatedBands);
    BandSettings s;
    s.pwsw = 1.0f;
    applyAllBands(*e, s);
    const Stereo out = processed(*e, noise(3000, 0.9f, 2));
    for (float v : out.l)
        ASSERT_EQ(v, 0.0f);
}

// --- Metering -------------------------------------------------------------------------------

TEST(MultibandEngineTest, FullScaleSineReadsPeakAndApproximateRms) {
    auto e = makeEngine(applyTransparent);
    Stereo in(12000);
    const float quarter[4] = {0.0f, 1.0f, 0.0f, -1.0f}; // fs / 4 at full scale
    for (int i = 0; i < in.size(); ++i)
        in.l[i] = in.r[i] = quarter[i % 4];
    processed(*e, in);
    for (int c = 0; c < 2; ++c) {
        EXPECT_FLOAT_EQ(e->outPeak(c), 0.1f);
        // mean square 0.5 -> approxSqrt 0.75 (a true RMS would read 0.0707)
        EXPECT_NEAR(e->outRms(c), 0.075f, 1e-4);
    }
}

void compressingBand3(MultibandEngine& e) {
    separatedBands(e);
    BandSettings s; // ratio 1.0, threshold -20 dB: everything above 0.1 comes down to 0.1
    s.ratio = 1.0f;
    s.thresh = 0.5f;
    applyAllBands(e, s);
    applyLinks(e, 0.0f);  // no reduction pulled into the neighbours
    e.setPanelPage(0.2f); // band page
    e.setBandView(1.0f);
}

TEST(MultibandEngineTest, BandMetersReadLevelAndGainReduction) {
    const Stereo in = tone(4 * 4411, 4000.0, 1.0); // band 3, at full scale
    {
        auto e = makeEngine(compressingBand3);
        processed(*e, in);
        EXPECT_NEAR(e->bandGain(3), 0.01f, 0.0005f) << "20 dB of reduction";
        EXPECT_NEAR(e->bandLevel(3), 0.1f, 0.005f) << "level after the gain";
        for (int b : {1, 2, 4, 5}) {
            EXPECT_FLOAT_EQ(e->bandGain(b), 0.1f) << b;
            EXPECT_LT(e->bandLevel(b), 0.002f) << b;
        }
    }
    {
        auto e = makeEngine(compressingBand3);
        e->setMeterSwitch(1.0f); // held meters
        processed(*e, in);
        for (int b = 1; b <= 5; ++b) {
            EXPECT_EQ(e->bandLevel(b), 0.0f);
            EXPECT_EQ(e->bandGain(b), 0.1f);
        }
    }
    {
        auto e = makeEngine(compressingBand3);
        e->setPanelPage(0.1f);        // compressor page
        e->setSelectedChannel(0.45f); // band 3
        processed(*e, in);
        EXPECT_NEAR(e->bandGain(3), 0.01f, 0.0005f);
        e->setSelectedChannel(0.65f); // band 2 only from now on
        processed(*e, in);
        EXPECT_EQ(e->bandGain(3), 0.1f);
        EXPECT_EQ(e->bandLevel(3), 0.0f);
        EXPECT_FLOAT_EQ(e->bandGain(2), 0.1f);
    }
    {
        auto e = makeEngine(compressingBand3);
        e->setPanelPage(0.5f); // page D: nothing measured
        processed(*e, in);
        EXPECT_EQ(e->bandGain(3), 0.1f);
        EXPECT_EQ(e->bandLevel(3), 0.0f);
    }
}

// --- Hand-over to the editor ----------------------------------------------------------------

TEST(MultibandEngineTest, ReadingsAreHandedOverOncePerPeriod) {
    RecordingListener listener;
    auto e = makeEngine(applyDefaultProgram, &listener);
    const Stereo in = noise(3 * 4411 + 10, 0.5f, 41);
    processedFrames(*e, listener, in);
    // Output counter starts at 11, band counter at 1; each then runs 4410 frames and publishes
    // on the next.
    EXPECT_EQ(listener.framesOf('O'), (std::vector<int>{4399, 8810, 13221}));
    EXPECT_EQ(listener.framesOf('P'), (std::vector<int>{4409, 8820, 13231}));
    EXPECT_TRUE(listener.framesOf('A').empty()) << "analyser page not shown";
}

TEST(MultibandEngineTest, AnalyserCaptureHandsOverTheLast4096OutputFrames) {
    RecordingListener listener;
    auto e = makeEngine(applyDefaultProgram, &listener);
    listener.engine = e.get();
    e->setPanelPage(0.6f); // spectrum page
    const Stereo in = noise(2 * 4096 + 100, 0.5f, 43);
    const Stereo out = processedFrames(*e, listener, in);
    EXPECT_EQ(listener.framesOf('A'), (std::vector<int>{4095, 8191}));
    EXPECT_TRUE(listener.framesOf('P').empty()) << "no band readings off pages A and B";
    for (int i = 0; i < 4096; ++i) {
        ASSERT_EQ(listener.captured[0][i], out.l[4096 + i]);
        ASSERT_EQ(listener.captured[1][i], out.r[4096 + i]);
    }

    RecordingListener off;
    auto e2 = makeEngine(applyDefaultProgram, &off);
    e2->setPanelPage(0.6f);
    e2->setAnalyserPower(0.5f); // not above 0.5
    processedFrames(*e2, off, in);
    EXPECT_TRUE(off.framesOf('A').empty());
}

// Host blocks run as chunks of many frames: a capture that completes inside a chunk must be
// handed over before the chunk's later frames start the next one.
TEST(MultibandEngineTest, CaptureCompletedInsideABlockIsHandedOverIntact) {
    const int kStart = 300; // the capture starts off the 512-frame grid of the crossover
    for (int block : {100, 512, 5000}) {
        SCOPED_TRACE(block);
        RecordingListener listener;
        auto e = makeEngine(applyDefaultProgram, &listener);
        listener.engine = e.get();
        const Stereo in = noise(kStart + 4096 + 3000, 0.5f, 44);
        Stereo head(kStart), tail(in.size() - kStart);
        Stereo inHead(kStart), inTail(in.size() - kStart);
        for (int i = 0; i < in.size(); ++i) {
            Stereo& part = i < kStart ? inHead : inTail;
            const int j = i < kStart ? i : i - kStart;
            part.l[j] = in.l[i];
            part.r[j] = in.r[i];
        }
        run(*e, inHead, head, kStart, false);
        e->setPanelPage(0.6f);
        run(*e, inTail, tail, block, false);
        ASSERT_EQ(listener.framesOf('A').size(), 1u);
        for (int i = 0; i < 4096; ++i) {
            ASSERT_EQ(listener.captured[0][i], tail.l[i]) << i;
            ASSERT_EQ(listener.captured[1][i], tail.r[i]) << i;
        }
    }
}

// --- Sample rate ----------------------------------------------------------------------------

TEST(MultibandEngineTest, SampleRateSetsMeterPeriodRmsLengthAndAnalyserBands) {
    struct Case {
        double fs;
        int period, rmsLength, firstBand, lastBand;
    };
    const Case cases[] = {
        {44100.0, 4410, 2205, 2, 1871}, {48000.0, 4800, 2400, 2, 1719},
        {22050.0, 2205, 1102, 4, 2047}, {16000.0, 2200, 800, 6, 2047},
        {96000.0, 9600, 4800, 1, 859},
    };
    auto e = makeEngine(applyDefaultProgram);
    EXPECT_EQ(e->meterPeriod(), 4410);
    EXPECT_EQ(e->rmsLength(), 2205);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fs);
        e->setSampleRate(c.fs);
        EXPECT_EQ(e->sampleRate(), c.fs);
        EXPECT_EQ(e->meterPeriod(), c.period);
        EXPECT_EQ(e->rmsLength(), c.rmsLength);
        EXPECT_EQ(e->analyserBands()[0], c.firstBand);
        EXPECT_EQ(e->analyserBands()[87], c.lastBand);
        EXPECT_EQ(e->crossover(0).sampleRate(), c.fs);
        EXPECT_EQ(e->crossover(1).sampleRate(), c.fs);
    }
}

TEST(MultibandEngineTest, RateChangeRetunesTheFollowers) {
    auto e = makeEngine(applyDefaultProgram);
    const double before = e->compressor(2).detector().hardAutoRise().riseCoef();
    e->setSampleRate(96000.0);
    const double after = e->compressor(2).detector().hardAutoRise().riseCoef();
    // coef40 = exp(ln 0.01 / samples): the same time spans more samples at the higher rate.
    EXPECT_NEAR(std::log(after) / std::log(before), 44100.0 / 96000.0, 1e-9);
}

TEST(MultibandEngineTest, InvalidRatesChangeNothing) {
    auto e = makeEngine(applyDefaultProgram);
    e->setSampleRate(48000.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double fs : {nan, inf, -inf, 0.0, -48000.0}) {
        e->setSampleRate(fs);
        EXPECT_EQ(e->sampleRate(), 48000.0);
        EXPECT_EQ(e->meterPeriod(), 4800);
        EXPECT_EQ(e->rmsLength(), 2400);
        EXPECT_EQ(e->crossover(0).sampleRate(), 48000.0);
    }
}

TEST(MultibandEngineTest, AbsurdRatesStayInsideEveryTable) {
    for (double fs : {1e-30, 1.0, 100.0, 7999.0, 3.0e6, 1e12, 3.4e38}) {
        SCOPED_TRACE(fs);
        auto e = makeEngine(applyHeavy);
        e->setSampleRate(fs);
        EXPECT_GE(e->rmsLength(), 1);
        EXPECT_LE(e->rmsLength(), RmsWindow::kMaxLength);
        EXPECT_GE(e->meterPeriod(), 2200);
        for (int i = 0; i < MultibandEngine::kAnalyserBands; ++i) {
            EXPECT_GE(e->analyserBands()[i], 0);
            EXPECT_LE(e->analyserBands()[i], 2047);
        }
        const Stereo out = processed(*e, noise(3000, 0.9f, 9));
        for (int i = 0; i < out.size(); ++i)
            ASSERT_TRUE(std::isfinite(out.l[i]) && std::isfinite(out.r[i])) << i;
    }
}

// --- Full reset -----------------------------------------------------------------------------

TEST(MultibandEngineTest, FullResetRestartsFromSilenceLikeANewEngine) {
    RecordingListener listener;
    auto used = makeEngine(applyHeavy, &listener);
    processed(*used, noise(7000, 0.9f, 51));
    used->fullReset();
    EXPECT_FALSE(used->gateActive());
    EXPECT_EQ(used->bandMeter().counter(), BandMeter::kStartCount);
    EXPECT_EQ(used->outputMeter().counter(), OutputMeter::kStartCount);
    for (int b = 1; b <= 5; ++b) {
        EXPECT_EQ(used->bandLevel(b), 0.0f);
        EXPECT_EQ(used->bandGain(b), 0.1f);
    }
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(used->outPeak(c), 0.0f);
        EXPECT_EQ(used->outRms(c), 0.0f);
    }

    // Silence after the reset is gated from the first frame (and resets once more).
    listener.calls.clear();
    const Stereo quiet = processed(*used, Stereo(10));
    for (float v : quiet.l)
        EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(listener.calls.size(), 3u);

    // The first loud frame opens the gate; from there on the engine is indistinguishable from a
    // new one taken through the same reset and silence.
    auto fresh = makeEngine(applyHeavy);
    fresh->fullReset();
    processed(*fresh, Stereo(10));
    Stereo in = noise(9000, 0.9f, 52);
    in.l[0] = 0.5f;
    const Stereo a = processed(*used, in);
    const Stereo b = processed(*fresh, in);
    ASSERT_EQ(0, std::memcmp(a.l.data(), b.l.data(), in.size() * sizeof(float)));
    ASSERT_EQ(0, std::memcmp(a.r.data(), b.r.data(), in.size() * sizeof(float)));
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(used->bandGain(band), fresh->bandGain(band));
}

// --- Bad input ------------------------------------------------------------------------------

TEST(MultibandEngineTest, NonFiniteInputCountsAsSilenceHugeInputAsTheLimit) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Stereo in = noise(6000, 0.8f, 61);
    Stereo cleaned = in;
    const int bad[] = {10, 900, 901, 2500, 4000};
    for (int i : bad) {
        in.l[i] = nan;
        in.r[i] = i % 2 ? inf : -inf;
        cleaned.l[i] = cleaned.r[i] = 0.0f;
    }
    const int huge[] = {0, 1500, 5999};
    for (int i : huge) {
        in.l[i] = 1e30f;
        in.r[i] = -1e6f;
        cleaned.l[i] = 1000.0f;
        cleaned.r[i] = -1000.0f;
    }
    auto a = makeEngine(applyHeavy);
    auto b = makeEngine(applyHeavy);
    const Stereo outA = processed(*a, in);
    const Stereo outB = processed(*b, cleaned);
    ASSERT_EQ(0, std::memcmp(outA.l.data(), outB.l.data(), in.size() * sizeof(float)));
    ASSERT_EQ(0, std::memcmp(outA.r.data(), outB.r.data(), in.size() * sizeof(float)));
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(std::isfinite(a->outPeak(c)));
        EXPECT_TRUE(std::isfinite(a->outRms(c)));
    }
}

TEST(MultibandEngineTest, HugeFiniteInputKeepsTheMetersFinite) {
    auto e = makeEngine(applyTransparent);
    e->setMonitor(1.0f); // the meters see the raw input
    Stereo in = noise(10000, 1.0f, 71);
    for (int i = 0; i < in.size(); i += 97)
        in.l[i] = 3.0e38f;
    processed(*e, in);
    processed(*e, noise(5000, 0.5f, 72));
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(std::isfinite(e->outRms(c)));
        EXPECT_LE(e->outPeak(c), 1.0f);
    }
}

// The whole plug-in instance is one allocation and the engine is most of it: it must stay well
// under 1 MiB (the design scratch is shared by both channels, transforms carry tables of their
// own size only).
TEST(MultibandEngineTest, EngineFitsTheInstanceBudget) {
    const std::size_t kEngineBudget = 800 * 1024;
    EXPECT_LT(sizeof(MultibandEngine), kEngineBudget);
}

} // namespace
} // namespace qv
