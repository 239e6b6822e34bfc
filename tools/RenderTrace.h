// Levels and band reductions of a render over time, in slices of equal length, for the plot:
// per slice the peak and mean square of each channel of the input and the output, and the
// largest gain reduction each band's meter showed. Audio thread of the render (plain data).
#pragma once

#include "tools/BandReductionProbe.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

class RenderTrace {
public:
    static constexpr int kMaxSlices = 800; // about one per pixel column of the plot

    struct Slice {
        float peak[2] = {0.0f, 0.0f};   // largest |sample| per channel
        double squares[2] = {0.0, 0.0}; // sum of squares per channel
        std::uint32_t frames = 0;       // frames added
    };
    using Reductions = std::array<float, BandReductionProbe::kBands>; // dB per band, >= 0

    // Clears and sizes the trace for `totalFrames` frames at `sampleRate` Hz.
    void start(std::uint64_t totalFrames, unsigned sampleRate);
    // The next frames of the input or output; non-finite samples are left out.
    void addInput(const float* left, const float* right, std::size_t frames);
    void addOutput(const float* left, const float* right, std::size_t frames);
    // Band reductions read after the first `framesFed` frames went through the plug-in.
    void addReductions(std::uint64_t framesFed, const Reductions& db);

    std::size_t slices() const { return input_.size(); }
    double sliceSeconds() const { return static_cast<double>(sliceFrames_) / rate_; }
    double totalSeconds() const { return static_cast<double>(total_) / rate_; }
    const std::vector<Slice>& inputSlices() const { return input_; }
    const std::vector<Slice>& outputSlices() const { return output_; }
    const std::vector<Reductions>& reductions() const { return reduction_; }
    bool hasReductions() const { return reductionsSeen_; }

    // dBFS of a slice, `floor` for silence.
    static double peakDb(const Slice& s, int channel, double floor);
    static double rmsDb(const Slice& s, int channel, double floor);

private:
    void add(std::vector<Slice>& into, std::uint64_t& position, const float* left,
             const float* right, std::size_t frames);

    std::uint64_t total_ = 0;           // frames the trace is sized for
    unsigned rate_ = 44100;             // Hz
    std::uint64_t sliceFrames_ = 1;     // frames per slice
    std::uint64_t inputPosition_ = 0;   // input frames added
    std::uint64_t outputPosition_ = 0;  // output frames added
    std::vector<Slice> input_, output_; // one per slice
    std::vector<Reductions> reduction_; // one per slice
    bool reductionsSeen_ = false;       // addReductions was called
};

} // namespace qv
