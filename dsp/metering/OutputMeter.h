#pragma once

#include "dsp/Relaxed.h"

#include "dsp/dynamics/RmsWindow.h"

namespace qv {

// Output readings for the editor: per channel the peak and the largest 50 ms mean square of the
// output over one meter period, published times 0.1 (0.1 = full scale) at its end; the RMS
// readout is the approximate square root of the mean square. Setters: construction and rate
// changes; push and resets: audio thread.
class OutputMeter {
public:
    static constexpr int kChannels = 2;
    static constexpr int kStartCount = 11; // counter after construction and full reset

    // Period 4410, windows of 2205 samples (44100 Hz).
    OutputMeter();

    // Samples per period (at least 1).
    void setPeriod(int samples) { period_ = samples < 1 ? 1 : samples; }
    // Window length of both channels (see RmsWindow::setLength); contents zeroed.
    void setWindowLength(int samples);

    // Audio thread, for a run of frames the loop outputs. Returns true when it published (the
    // caller then asks for an output refresh).
    bool process(const double* left, const double* right, int frames);
    // One frame.
    bool push(double left, double right) { return process(&left, &right, 1); }
    // Engine reset: accumulators, readings and counter 0, windows cleared.
    void reset();
    // Full reset: the same with the counter at kStartCount.
    void fullReset();

    // channel 0 = L, 1 = R; 0 for others.
    float peak(int channel) const { return valid(channel) ? peak_[channel].load() : 0.0f; }
    float rms(int channel) const { return valid(channel) ? rms_[channel].load() : 0.0f; }
    int counter() const { return counter_; }
    const RmsWindow& window(int channel) const { return windows_[channel == 1 ? 1 : 0]; }

private:
    static bool valid(int channel) { return channel >= 0 && channel < kChannels; }
    // The samples of a measured run: each channel's through its window, into its peak and
    // largest mean square.
    void accumulate(const double* left, const double* right, int frames);

    RmsWindow windows_[kChannels];           // 50 ms mean square per channel
    double peakAccumulator_[kChannels];      // largest |sample| this period, capped at 10
    float meanSquareAccumulator_[kChannels]; // largest mean square this period, capped at 10
    Relaxed<float> peak_[kChannels];         // published peaks times 0.1
    Relaxed<float> rms_[kChannels];          // published RMS times 0.1
    int counter_ = kStartCount;              // frames accumulated this period
    int period_ = 4410;                      // frames per period
};

} // namespace qv
