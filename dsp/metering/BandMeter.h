#pragma once

#include "dsp/Relaxed.h"

#include "dsp/metering/RunExtremes.h"

#include <algorithm>
#include <cmath>

namespace qv {

// Band readings for the editor: per band the peak level of the gained, delayed band signal and
// the extreme applied gain over one meter period, published as floats at its end. What is
// measured follows the editor's state: on the compressor page (A) only the selected band, on
// the band page (B) with the amplitude view every band unless "MeterSW" holds them, elsewhere
// nothing (levels 0, gains 0.1). Setters: any thread (single stores); push: audio thread.
//
// Levels are amplitudes capped at 1.0; gains are published times 0.1 (0.1 = unity gain).
class BandMeter {
public:
    static constexpr int kBands = 5;
    static constexpr float kPageBStart = 0.142857f; // "PanelPage" below: page A (compressor)
    static constexpr float kPageCStart = 0.285714f; // page B (bands) below, from kPageBStart
    static constexpr float kIdleGain = 0.1f;        // published gain of unity
    static constexpr int kStartCount = 1;           // counter after construction and full reset

    BandMeter();

    // Samples per period (at least 1).
    void setPeriod(int samples) { period_ = samples < 1 ? 1 : samples; }
    void setPanelPage(float value) { page_ = value; }
    void setSelectedChannel(float value) { selected_ = value; }
    void setBandView(float value) { bandView_ = value; }
    void setMeterSwitch(float value) { meterSwitch_ = value; }

    // Audio thread, for a run of running frames: bands[b][0], bands[b][1] hold the gained,
    // delayed L and R of band b + 1, applied[b] its applied gain S, ratio[b] its raw "Ratio"
    // (0.5 or less keeps the largest gain, otherwise the smallest), frames values each. Returns
    // true when it published (the caller then asks for a panel refresh).
    bool process(const double* const bands[kBands][2], const double* const applied[kBands],
                 const float ratio[kBands], int frames);
    // One frame: bands[2b], bands[2b + 1] the L and R of band b + 1.
    bool push(const double bands[2 * kBands], const double applied[kBands],
              const float ratio[kBands]) {
        const double* b[kBands][2];
        const double* a[kBands];
        for (int i = 0; i < kBands; ++i) {
            b[i][0] = bands + 2 * i;
            b[i][1] = bands + 2 * i + 1;
            a[i] = applied + i;
        }
        return process(b, a, ratio, 1);
    }
    // Frames the period still measures before the frame that publishes (0: the next frame
    // publishes).
    int framesBeforePublish() const { return counter_ < period_ ? period_ - counter_ : 0; }
    // The factor of a band's applied gain whose largest value gives its extreme gain: +1 for a
    // band that keeps its largest gain ("Ratio" 0.5 or less), -1 for one that keeps its
    // smallest (the largest of -S is minus the smallest S).
    static double gainSign(float ratio) { return ratio <= 0.5f ? 1.0 : -1.0; }
    // Audio thread: a run of frames (1..framesBeforePublish()) whose extremes the caller took:
    // per band the largest max(|L|, |R|) (0 or more) and the largest gainSign(ratio) * S. The
    // same readings as process over the same samples, without the band arrays.
    void addExtremes(const double level[kBands], const double signedGain[kBands],
                     const float ratio[kBands], int frames);
    // Audio thread: the frame that ends a period (framesBeforePublish() is 0), whose extremes
    // are not measured: publishes and restarts the period as process does there, and returns
    // true. While the editor state measures nothing it publishes idle readings, leaves the
    // counter and returns false.
    bool publishPeriod();
    // Engine reset: readings idle, accumulators restarted, counter 0.
    void reset();
    // Full reset: the same with the counter at kStartCount.
    void fullReset();

    // b = 1..5; 0 for other bands.
    float level(int band) const { return valid(band) ? level_[band - 1].load() : 0.0f; }
    float gain(int band) const { return valid(band) ? gain_[band - 1].load() : 0.0f; }
    int counter() const { return counter_; }

private:
    static bool valid(int band) { return band >= 1 && band <= kBands; }
    // Band b over frames frames of its L, R and applied gain.
    void accumulate(int b, const double* left, const double* right, const double* applied,
                    float ratio, int frames) {
        // Levels are capped at full scale: the cap of the largest is the largest of the caps.
        const double level =
            run_extremes::largestMagnitude(left, right, frames, levelAccumulator_[b]);
        levelAccumulator_[b] = std::min(level, 1.0);
        // Expanding (or neutral) bands keep their largest gain, compressing ones the smallest.
        gainAccumulator_[b] = ratio <= 0.5f
                                  ? run_extremes::largest(applied, frames, gainAccumulator_[b])
                                  : run_extremes::smallest(applied, frames, gainAccumulator_[b]);
    }
    // Band b's accumulators after a run with these extremes (see addExtremes).
    void addBandExtremes(int b, double level, double signedGain, float ratio) {
        levelAccumulator_[b] = std::min(std::max(level, levelAccumulator_[b]), 1.0);
        gainAccumulator_[b] = ratio <= 0.5f ? std::max(signedGain, gainAccumulator_[b])
                                            : std::min(-signedGain, gainAccumulator_[b]);
    }
    // Whether the editor state (page as read for this run) measures nothing: readings idle.
    bool idle(float page) const;
    void publish(int b); // band b's accumulators to its readings
    // The end of a period: the readings published (every band's, or the selected one's), the
    // accumulators and the counter restarted.
    void endPeriod(bool allBands, int selected);
    void restartAccumulators();
    void publishIdle();
    int selectedBand() const; // 0..4

    Relaxed<float> level_[kBands];      // published levels (amplitude, capped at 1.0)
    Relaxed<float> gain_[kBands];       // published gains times 0.1
    double levelAccumulator_[kBands];   // peak level this period
    double gainAccumulator_[kBands];    // extreme applied gain this period
    int counter_ = kStartCount;         // frames accumulated this period
    int period_ = 4410;                 // frames per period
    Relaxed<float> page_ = 0.2f;        // raw "PanelPage"
    Relaxed<float> selected_ = 1.0f;    // raw "SelectedChannel": band measured on page A
    Relaxed<float> bandView_ = 1.0f;    // raw "BandView": page B measures above 0.5
    Relaxed<float> meterSwitch_ = 0.0f; // raw "MeterSW": page B holds the meters from 0.5
};

} // namespace qv
