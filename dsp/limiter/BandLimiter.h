#pragma once

#include "dsp/Relaxed.h"

#include "dsp/delay/ChunkDelayLine.h"
#include "dsp/dynamics/LevelHistory.h"
#include "dsp/dynamics/PeakHoldDetector.h"
#include "dsp/dynamics/RisingSmoothDetector.h"
#include "dsp/limiter/LimiterGainSmoother.h"

namespace qv {

// Look-ahead output limiter. The detectors see the undelayed mix; the gain they produce is
// smoothed and applied to the mix delayed by kLookahead = 39 samples, then hard-clipped to
// +-0.999999 and scaled by the ceiling. Switched off it only delays, so the latency is 39
// either way. Setters take normalised values (UI/parameter thread); process and limit run on
// the audio thread.
class BandLimiter {
public:
    static constexpr int kLookahead = 39;
    static constexpr double kClipLevel = 0.999999;
    static constexpr int kMaxRun = 256; // frames per pass of the stage loops (the loop's chunk)

    BandLimiter();

    // "lt_Ceiling": 10^((6 v - 6) / 20), exactly 1.0 above -0.01 dB.
    void setCeiling(float normalised);
    // "lt_clip": kernel shape of the gain smoother.
    void setClipShape(float normalised);
    // "lt_RelSW": manual release pair above 0.5, auto pair otherwise.
    void setReleaseSwitch(float normalised) { releaseSwitch_ = normalised; }
    // "lt_LimSW": the limiter runs below 0.5.
    void setLimiterSwitch(float normalised) { limiterSwitch_ = normalised; }
    // "lt_Rel_a": q = (1 - v)^2, auto rise coef40(1 + 49 q).
    void setAutoRelease(float normalised);
    // "lt_Rel_m": manual peak release halfLife((999.99 v^3 + 0.01) ms).
    void setManualRelease(float normalised);
    // Recomputes the followers' coefficients (auto peak 0.5 ms, auto rise 0.5 s, manual rise
    // 50 ms / 0.05 s, manual peak its stored time). Invalid rates are ignored.
    void setSampleRate(double fs);

    // Audio thread: a run of frames of the mix in place, the limited (or, switched off, only
    // delayed) mix out. The same output as limit frame by frame, whatever the run lengths; the
    // switches and the clip shape are read once per kMaxRun frames.
    void process(double* left, double* right, int frames);
    // The same without copies, for a run of up to kMaxRun frames: the caller writes the mix to
    // input(0) (L) and input(1) (R), then processInput writes the limited mix to outL, outR.
    double* input(int channel) { return lookahead_.input(channel == 1 ? 1 : 0); }
    void processInput(int frames, double* outL, double* outR);
    // One frame (for runs, process is several times cheaper per frame).
    void limit(double inL, double inR, double& outL, double& outR) {
        double l = inL, r = inR;
        process(&l, &r, 1);
        outL = l;
        outR = r;
    }

    // Audio thread, gated frames: frames zeros into the look-ahead line; nothing else changes.
    void pushSilence(int frames = 1) { lookahead_.advanceSilence(frames); }

    // Engine reset: smoother output and history 1.0, direction rising, four followers cleared.
    void reset();
    // Full reset: reset(), delay rings zeroed, unity count and bypass latch 0.
    void fullReset();

    double ceiling() const { return ceiling_; }
    bool running() const { return limiterSwitch_ < 0.5f; }
    const LimiterGainSmoother& smoother() const { return smoother_; }

private:
    // The mix delayed by the look-ahead, L and R, for runs of up to kMaxRun frames.
    ChunkDelayLine<kLookahead, 2, kMaxRun> lookahead_;
    PeakHoldDetector autoPeak_;              // instant, release 0.5 ms
    RisingSmoothDetector autoRise_;          // rise 1 + 49 q ms, release 0.5 s
    PeakHoldDetector manualPeak_;            // instant, release from "lt_Rel_m"
    RisingSmoothDetector manualRise_;        // rise 50 ms, release 0.05 s
    LevelHistory autoHistory_{kLookahead};   // levels of the auto pair (their release floor)
    LevelHistory manualHistory_{kLookahead}; // levels of the manual pair
    LimiterGainSmoother smoother_;           // gain target smoothing

    Relaxed<double> ceiling_ = 1.0;       // linear output ceiling
    Relaxed<float> releaseSwitch_ = 0.0f; // raw "lt_RelSW"
    Relaxed<float> limiterSwitch_ = 0.0f; // raw "lt_LimSW"
    bool bypassLatch_ = false;            // state reset once since the limiter was switched off
};

} // namespace qv
