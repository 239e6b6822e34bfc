// One float buffer per channel of a plug-in and the pointer arrays its process calls take, fed
// from and read back as stereo: a mono plug-in gets the mid signal and its output goes to both
// sides, extra inputs get silence, extra outputs are ignored. The thread that prepares the
// buffers or the one that processes, never both at once.
#pragma once

#include <cstddef>
#include <vector>

namespace qv {

class ChannelBuffers {
public:
    // At least max(inputs, 1) input and `outputs` output buffers of at least max(frames, 1)
    // frames (grown, never shrunk); every pointer points at its own buffer again.
    void prepare(int inputs, int outputs, int frames);
    // The first n frames of the inputs from a stereo pair: a single input takes (L + R) / 2, two or
    // more take L and R, any other input (and the one buffer of a plug-in without inputs) silence.
    void loadStereo(const float* left, const float* right, std::size_t n);
    // Silence in the first n frames of every output buffer (for the accumulating call).
    void clearOutputs(std::size_t n);
    // In-place processing: each output pointer points at the input buffer of its channel.
    void shareInputsAsOutputs();

    float** inputs() { return inputPointers_.data(); }
    float** outputs() { return outputPointers_.data(); }
    std::size_t outputCount() const { return outputPointers_.size(); }
    // What the plug-in wrote for the left and right side (a mono output serves both).
    const float* left() const { return outputPointers_[0]; }
    const float* right() const { return outputPointers_[outputPointers_.size() >= 2 ? 1 : 0]; }

private:
    int declaredInputs_ = 0;                             // inputs the plug-in declares
    std::vector<std::vector<float>> inputs_, outputs_;   // one buffer per plug-in channel
    std::vector<float*> inputPointers_, outputPointers_; // what the plug-in is handed
};

} // namespace qv
