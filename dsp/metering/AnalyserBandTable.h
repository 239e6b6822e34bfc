#pragma once

namespace qv {

// FFT bin of each of the 88 analyser bands (nine per octave, 25 Hz to 20151 Hz) for a
// kTransformLength-point transform at the current sample rate. Entries are bounded to the bins
// the editor's analyser reads (0..kMaxBin): at 32000 Hz and below the top bands lie above
// fs / 2. rebuild: construction and rate changes; entries: any thread.
class AnalyserBandTable {
public:
    static constexpr int kBands = 88;
    static constexpr int kTransformLength = 4096;
    static constexpr int kMaxBin = kTransformLength / 2 - 1;

    // Built for 44100 Hz.
    AnalyserBandTable();

    // entry i = truncate(F[i] * (4096 / fs)), the product in single precision. Rates that are
    // not finite and positive are ignored.
    void rebuild(double sampleRate);

    const int* entries() const { return bins_; }
    static float centreHz(int band); // 0 outside 0..87

private:
    int bins_[kBands]; // FFT bin per band, 0..kMaxBin
};

} // namespace qv
