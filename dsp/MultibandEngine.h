#pragma once

#include "dsp/Relaxed.h"

#include "dsp/EngineListener.h"
#include "dsp/SilenceGate.h"
#include "dsp/crossover/CrossoverBank.h"
#include "dsp/crossover/CrossoverStage.h"
#include "dsp/delay/ChunkDelayLine.h"
#include "dsp/delay/FrameDelayRing.h"
#include "dsp/dynamics/BandCompressor.h"
#include "dsp/dynamics/ReductionLinker.h"
#include "dsp/limiter/BandLimiter.h"
#include "dsp/metering/AnalyserBandTable.h"
#include "dsp/metering/AnalyserCapture.h"
#include "dsp/metering/BandMeter.h"
#include "dsp/metering/OutputMeter.h"

namespace qv {

// The whole signal path of one effect instance: per frame the silence gate, the latency-aligned
// monitor, dry and reference copies, the five-band linear-phase split, per-band detection and
// gain computation, reduction linking and smoothing, output gains, band meters, the wet/dry/
// master mix, the look-ahead limiter, output meters and analyser capture, and the monitor
// switch. Latency 838 samples: crossover 768 + band look-ahead 31 + limiter look-ahead 39.
//
// All state is held in members (the effect embeds one engine); only the two RMS window rings
// live on the heap, allocated at construction and by setSampleRate. The audio path allocates
// nothing, takes no lock and calls no system function.
//
// Threads: setters and the processing objects' setters run on the parameter/UI thread as plain
// stores; setSampleRate, engineReset and fullReset expect processing to be stopped (the host
// calls them around suspend/resume); process runs on the audio thread and calls the listener.
// process runs the frames in chunks of up to kChunk, each unit reading its settings once per
// chunk: a value stored by another thread during a process call takes effect within one chunk
// (2.9 ms at 44.1 kHz); between process calls, the usual case, at once.
class MultibandEngine {
public:
    static constexpr int kBands = 5;
    static constexpr int kChannels = 2;
    static constexpr int kBandLookahead = 31;
    static constexpr int kReferenceDelay = CrossoverStage::kLatency;     // 768
    static constexpr int kDryDelay = kReferenceDelay + kBandLookahead;   // 799
    static constexpr int kLatency = kDryDelay + BandLimiter::kLookahead; // 838
    static constexpr int kAnalysisLength = AnalyserCapture::kLength;     // 4096
    static constexpr int kAnalyserBands = AnalyserBandTable::kBands;     // 88
    static constexpr double kDefaultSampleRate = 44100.0;
    static constexpr int kChunk =
        256; // frames run through the pipeline unit after unit (half a crossover block)
    static_assert(kChunk <= kReferenceDelay, "the input rings read a whole chunk before writing");
    static_assert(kChunk <= BandLimiter::kMaxRun, "the limiter takes a chunk in one run");

    explicit MultibandEngine(EngineListener* listener = nullptr);
    MultibandEngine(const MultibandEngine&) = delete;
    MultibandEngine& operator=(const MultibandEngine&) = delete;

    void setListener(EngineListener* listener) { listener_ = listener; }

    // The processing objects the parameter setters configure directly. band 1..5 (1 = highest;
    // others are limited to that range), channel 0 = L, 1 = R.
    BandCompressor& compressor(int band) { return compressors_[bandIndex(band)]; }
    CrossoverBank& crossover(int channel) { return crossover_.bank(channel); }
    ReductionLinker& linker() { return linker_; }
    BandLimiter& limiter() { return limiter_; }

    // Normalised values as the parameter catalogue passes them.
    void setDryOut(float x) { dry_ = x; }      // linear factor
    void setWetOut(float x) { wet_ = x; }      // linear factor
    void setMasterOut(float x);                // level dB -> gain
    void setMonitor(float x) { monitor_ = x; } // input to the output from 0.5
    void setMeterSwitch(float x) { bandMeter_.setMeterSwitch(x); }
    // Editor state read by metering and capture (parameters 87, 88, 90, 91).
    void setPanelPage(float x);
    void setSelectedChannel(float x) { bandMeter_.setSelectedChannel(x); }
    void setBandView(float x) { bandMeter_.setBandView(x); }
    void setAnalyserPower(float x) { capture_.setAnalyserPower(x); }

    // The whole rate change in its order (analyser table, meter period, RMS windows, limiter,
    // crossover, band followers). Rates that are not finite and positive change nothing.
    void setSampleRate(double fs);
    // The loop's reset (first gated frame): meters, detectors, smoothers, crossover history,
    // reference ring, analyser buffers; tells the listener.
    void engineReset();
    // Suspend/resume: everything back to its start state, every ring zeroed, the gate closed.
    void fullReset();

    // Audio thread. accumulate = false replaces the output (processReplacing), true adds to it
    // (process). Null buffers or frames <= 0 do nothing. Non-finite input samples count as 0;
    // finite ones beyond kInputSampleLimit (+60 dBFS) enter as that limit (InputSample.h).
    void process(float* const* inputs, float* const* outputs, int frames, bool accumulate);

    // Published readings (amplitudes; output readings and band gains times 0.1).
    float bandLevel(int band) const { return bandMeter_.level(band); }
    float bandGain(int band) const { return bandMeter_.gain(band); }
    float outPeak(int channel) const { return outputMeter_.peak(channel); }
    float outRms(int channel) const { return outputMeter_.rms(channel); }
    // kAnalysisLength floats of the capture in progress; channel 0 = L, 1 = R.
    const float* liveAnalysis(int channel) const { return capture_.live(channel); }
    // kAnalyserBands FFT bins, one per analyser band.
    const int* analyserBands() const { return bandTable_.entries(); }

    int meterPeriod() const { return meterPeriod_; }
    int rmsLength() const { return outputMeter_.window(0).length(); }
    double sampleRate() const { return sampleRate_; }
    bool gateActive() const { return gate_.active(); }
    const BandMeter& bandMeter() const { return bandMeter_; }
    const OutputMeter& outputMeter() const { return outputMeter_; }

private:
    static int bandIndex(int band) {
        return band < 1 ? 0 : (band > kBands ? kBands - 1 : band - 1);
    }
    template <bool Accumulate>
    void run(const float* inL, const float* inR, float* outL, float* outR, int frames);
    // The next chunk's input frames into chunk_.inL/inR, through the gate; returns their count.
    int gatherChunk(const float* inL, const float* inR, int i, int frames, int limit, double& xL,
                    double& xR, bool& active);
    // One chunk of the loop (the chunk's input frames are in chunk_.inL/inR), in its steps:
    void processChunk(int frames);
    // the monitor, dry and reference copies from the input rings;
    void readDelayedInputs(int frames);
    // the five band signals with their input gains, into the look-ahead line;
    void splitBands(int frames);
    // the detectors, gain computers, linking and gain smoothing (ratio: each band's control);
    void computeBandGains(int frames, float (&ratio)[kBands]);
    // the smoothed gains on the delayed bands, summed into the output, and the band meters
    // (returns true when the sum went straight into the limiter's input, already mixed);
    bool applyAndSumBands(int frames, const float (&ratio)[kBands]);
    // wet, dry and master mix (unless mixed), the limiter and the monitor switch;
    void mixAndLimit(int frames, bool mixed);
    // the output meters and the analyser capture.
    void meterAndCapture(int frames);
    void silence(int frames);

    // Working arrays of one chunk of running frames, unit outputs feeding the next unit.
    struct Chunk {
        double* inL = nullptr; // sanitised input, written straight into the input ring
        double* inR = nullptr;
        // The delayed inputs, read in place from the input rings (valid for the chunk):
        const double* monitorL = nullptr; // input delayed kLatency
        const double* monitorR = nullptr;
        const double* dryL = nullptr; // input delayed kDryDelay
        const double* dryR = nullptr;
        const double* refL = nullptr; // input delayed kReferenceDelay
        const double* refR = nullptr;
        double band[kBands][kChannels][kChunk]; // gained, delayed band signals
        double level[kBands][kChunk];           // max(|L|, |R|) of the current bands (SSE2)
        double gain[kBands][kChunk];            // band gains from the gain computers
        double smoothed[kBands][kChunk];        // linked and smoothed band gains
        double outL[kChunk], outR[kChunk];      // output frames
        bool monitorOn = false;                 // "Monitor" on for this chunk
    };

    EngineListener* listener_ = nullptr; // told about new readings; may be null

    SilenceGate gate_; // switches the loop off in silence
    // Input for the monitor output (delay kLatency) and the dry mix (delay kDryDelay, read
    // from the same ring: both see the same writes, the input and, in gated frames, a zero).
    FrameDelayRing<kLatency + 1, 2, kChunk> inputRing_;
    FrameDelayRing<kReferenceDelay + 1, 2, kChunk>
        referenceRing_; // input aligned with the crossover
    // The band signals, 2 b + channel for band b + 1 (current in, 31 frames before out).
    ChunkDelayLine<kBandLookahead, 2 * kBands, kChunk> lookahead_;
    CrossoverStage crossover_;           // the four low-pass outputs per channel
    BandCompressor compressors_[kBands]; // band 1 (highest) .. band 5
    ReductionLinker linker_;             // links and smooths the band gains
    BandLimiter limiter_;                // output limiter with its look-ahead ring
    BandMeter bandMeter_;                // band readings
    OutputMeter outputMeter_;            // output readings
    AnalyserCapture capture_;            // analyser capture of the output
    AnalyserBandTable bandTable_;        // analyser band bins
    Chunk chunk_;                        // the chunk in progress (audio thread only)

    double sampleRate_ = kDefaultSampleRate; // Hz
    int meterPeriod_ = 4410;                 // frames per meter period
    Relaxed<double> dry_ = 0.0;              // "Dry out" factor
    Relaxed<double> wet_ = 1.0;              // "Wet out" factor
    Relaxed<double> master_ = 1.0;           // "MasterOut" gain
    Relaxed<float> monitor_ = 0.0f;          // raw "Monitor": input to the output from 0.5
};

} // namespace qv
