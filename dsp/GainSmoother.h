#pragma once

namespace qv {

// 32-tap FIR smoother of a band's gain: y[n] = k0 g[n] + k1 g[n-1] + ... + k31 g[n-31] with
// kj = f((j + 1) / 32) - f(j / 32), f(u) = (0.4 u + 0.6) u, so a step reaches its full depth
// after 32 samples (the band's audio is delayed 31). Kept as 32 partial sums, one per tap.
class GainSmoother {
public:
    static constexpr int kTaps = 32;

    // Kernel built, state reset.
    GainSmoother();

    // Audio thread.
    double push(double gain) {
        for (int i = 0; i < kTaps - 1; ++i)
            partial_[i] = gain * kernel_[i] + partial_[i + 1];
        partial_[kTaps - 1] = gain * kernel_[kTaps - 1];
        output_ = partial_[0];
        return output_;
    }

    // Output 0.0, every partial sum 1.0 (so the first outputs after a reset carry 1.0 on top
    // of the convolution until the sums have been replaced); the kernel is kept.
    void reset();

    double output() const { return output_; }
    double kernel(int tap) const { return tap >= 0 && tap < kTaps ? kernel_[tap] : 0.0; }

private:
    double kernel_[kTaps];  // k0..k31, summing to 1
    double partial_[kTaps]; // p1..p32: partial convolution sums still to be completed
    double output_ = 0.0;   // last smoothed gain
};

} // namespace qv
