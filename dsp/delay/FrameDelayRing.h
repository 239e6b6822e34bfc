#pragma once

namespace qv {

// Fixed-length circular delay line of frames of Width doubles sharing one write position (the
// stereo input and reference rings of the loop). Each step writes the new frame and returns the
// one written Length - 1 steps earlier, so a ring of length n delays by n - 1 frames, exactly
// like DelayRing; runs of frames read any delay from frames..Length - 1, so one ring can serve
// several delays of the same signal.
template <int Length, int Width> class FrameDelayRing {
    static_assert(Length >= 1 && Width >= 1, "a frame ring holds at least one value");

public:
    static constexpr int kLength = Length;
    static constexpr int kDelay = Length - 1;
    static constexpr int kWidth = Width;

    FrameDelayRing() { clear(); }

    // Two-value frames (stereo rings).
    void step(double left, double right, double& outLeft, double& outRight) {
        static_assert(Width == 2, "stereo step on a stereo ring only");
        frames_[position_][0] = left;
        frames_[position_][1] = right;
        if (++position_ == Length) position_ = 0;
        outLeft = frames_[position_][0];
        outRight = frames_[position_][1];
    }

    // Stereo rings, a run of frames at once (the loop's chunks): readRun gives, for each of the
    // next frames frames to be written, the frame written delay steps before it (delay
    // frames..Length - 1, so that every frame read lies before the run); writeRun then writes
    // the run and advances past it (frames up to Length - 1).
    void readRun(int delay, double* left, double* right, int frames) const {
        static_assert(Width == 2, "stereo runs on a stereo ring only");
        int p = position_ - delay;
        if (p < 0) p += Length;
        const int first = Length - p < frames ? Length - p : frames; // up to the wrap
        for (int k = 0; k < first; ++k) {
            left[k] = frames_[p + k][0];
            right[k] = frames_[p + k][1];
        }
        for (int k = first; k < frames; ++k) {
            left[k] = frames_[k - first][0];
            right[k] = frames_[k - first][1];
        }
    }
    void writeRun(const double* left, const double* right, int frames) {
        static_assert(Width == 2, "stereo runs on a stereo ring only");
        const int p = position_;
        const int first = Length - p < frames ? Length - p : frames;
        for (int k = 0; k < first; ++k) {
            frames_[p + k][0] = left[k];
            frames_[p + k][1] = right[k];
        }
        for (int k = first; k < frames; ++k) {
            frames_[k - first][0] = left[k];
            frames_[k - first][1] = right[k];
        }
        position_ = p + frames < Length ? p + frames : p + frames - Length;
    }

    // Writes a frame of zeros and advances (the gated loop).
    void stepSilence() {
        for (int i = 0; i < Width; ++i)
            frames_[position_][i] = 0.0;
        if (++position_ == Length) position_ = 0;
    }

    // Zeroes every frame and rewinds the write position.
    void clear() {
        for (auto& frame : frames_)
            for (double& value : frame)
                value = 0.0;
        position_ = 0;
    }

private:
    double frames_[Length][Width]; // the last Length frames written
    int position_ = 0;             // where the next frame is written
};

} // namespace qv
