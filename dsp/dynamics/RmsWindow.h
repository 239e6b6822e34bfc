#pragma once

#include <memory>

namespace qv {

// Mean square of the last N samples (N = 50 ms of audio) by a running single-precision sum over
// a ring of squares. Once per turn of the ring the sum is formed afresh from the ring, so the
// rounding residue that a loud passage leaves in a running float sum cannot linger. The ring is the
// only engine state on the heap: its length follows the sample rate, so it is replaced by setLength
// (construction and rate changes, never on the audio thread). push and clear: audio thread.
class RmsWindow {
public:
    static constexpr int kMaxLength = 1 << 20; // 4 MB of squares, 50 ms up to 21 MHz
    // Amplitudes beyond this are counted at this size: the readout saturates long before, and a
    // single-precision square of any larger sample could overflow and turn the sum into NaN.
    static constexpr float kMaxAmplitude = 1.0e4f;
    static constexpr float kSilence = 1e-5f; // mean squares at or below read as 0

    // Length 1 until setLength.
    RmsWindow();

    // length is bounded to 1..kMaxLength; ring, sum and positions start from zero. Returns false
    // (and keeps the previous length and contents) if the new ring cannot be allocated.
    bool setLength(int length);

    // Audio thread: adds x to the window and returns the mean square before the oldest sample
    // leaves (0 at or below kSilence).
    float push(float x) {
        if (x > kMaxAmplitude)
            x = kMaxAmplitude;
        else if (x < -kMaxAmplitude)
            x = -kMaxAmplitude;
        else if (x != x)
            x = 0.0f;
        return pushBounded(x);
    }

    // The same for a sample the caller has already bounded to +-kMaxAmplitude (and that is not
    // NaN).
    float pushBounded(float x) {
        float mean;
        process(&x, &mean, 1);
        return mean;
    }
    // pushBounded for a run of frames samples: meanSquares[i] is what it would return for
    // x[i]. Sum and positions live in locals for the loop.
    void process(const float* x, float* meanSquares, int frames) {
        float* const ring = ring_.get();
        const int length = length_;
        const float scale = scale_;
        float sum = sum_;
        int writePosition = writePosition_;
        for (int i = 0; i < frames; ++i) {
            const float square = x[i] * x[i];
            ring[writePosition] = square;
            sum += square;
            float mean = sum * scale;
            if (mean <= kSilence) mean = 0.0f;
            meanSquares[i] = mean;
            int readPosition = writePosition + 1;
            if (readPosition >= length) readPosition -= length;
            sum -= ring[readPosition];
            if (++writePosition == length) {
                sum = resummed();
                writePosition = 0;
            }
        }
        sum_ = sum;
        writePosition_ = writePosition;
    }
    // Ring and sum zeroed, positions 0.
    void clear();

    int length() const { return length_; }
    float scale() const { return scale_; }

private:
    float resummed() const; // at the end of a turn: the sum of every square but the oldest

    std::unique_ptr<float[]> ring_; // the last length_ squares
    int length_ = 0;                // N, 1..kMaxLength
    float scale_ = 1.0f;            // 1 / N
    float sum_ = 0.0f;              // running sum of the squares in the ring
    int writePosition_ = 0;         // next slot to write, 0..length_ - 1
};

} // namespace qv
