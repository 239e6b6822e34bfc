#pragma once

#include "dsp/Relaxed.h"

namespace qv {

// Collects kLength consecutive output frames for the editor's spectrum analyser while the
// analyser is switched on and the spectrum page (E) is shown; any other frame restarts the
// collection. Setters: any thread (single stores); push and clear: audio thread.
class AnalyserCapture {
public:
    static constexpr int kChannels = 2;
    static constexpr int kLength = 4096;
    static constexpr float kPageEStart = 0.571428f; // "PanelPage" strictly between these
    static constexpr float kPageEEnd = 0.714285f;   // bounds shows the spectrum page

    AnalyserCapture();

    void setPanelPage(float value) { page_ = value; }
    void setAnalyserPower(float value) { power_ = value; }

    // Audio thread, for a run of frames the loop outputs: collects frames until kLength are
    // complete and returns how many it took. complete tells whether the last frame taken
    // completed the capture (the caller then hands the buffers over before it collects more;
    // collection restarts).
    int process(const double* left, const double* right, int frames, bool& complete) {
        complete = false;
        const float page = page_;
        if (!(power_ > 0.5f && page > kPageEStart && page < kPageEEnd)) {
            position_ = 0;
            count_ = 0;
            return frames;
        }
        const int due = kLength - count_;
        const int run = frames < due ? frames : due;
        for (int i = 0; i < run; ++i) {
            live_[0][position_ + i] = static_cast<float>(bounded(left[i]));
            live_[1][position_ + i] = static_cast<float>(bounded(right[i]));
        }
        position_ += run;
        count_ += run;
        if (count_ < kLength) return run;
        position_ = 0;
        count_ = 0;
        complete = true;
        return run;
    }
    // One frame: true when it completed the capture.
    bool push(double left, double right) {
        bool complete;
        process(&left, &right, 1, complete);
        return complete;
    }

    // Buffers zeroed, position and count 0.
    void clear();

    // channel 0 = L, 1 = R (others read L): kLength floats.
    const float* live(int channel) const { return live_[channel == 1 ? 1 : 0]; }
    int count() const { return count_; }

private:
    // Limited to the float range, so that narrowing is defined for any double.
    static double bounded(double x) {
        const double kMax = 3.4028234663852886e38; // largest float
        return x > kMax ? kMax : (x < -kMax ? -kMax : x);
    }

    float live_[kChannels][kLength]; // frames collected so far
    int position_ = 0;               // next frame to write, 0..kLength-1
    int count_ = 0;                  // frames collected, 0..kLength-1
    Relaxed<float> page_ = 0.2f;     // raw "PanelPage"
    Relaxed<float> power_ = 1.0f;    // raw "AnalyserPower": collects above 0.5
};

} // namespace qv
