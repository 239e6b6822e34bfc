#include "tools/ChannelBuffers.h"

#include <algorithm>

namespace qv {

void ChannelBuffers::prepare(int inputs, int outputs, int frames) {
    declaredInputs_ = inputs;
    const auto n = static_cast<std::size_t>(std::max(frames, 1));
    const auto ins = static_cast<std::size_t>(std::max(inputs, 1));
    const auto outs = static_cast<std::size_t>(std::max(outputs, 0));
    if (inputs_.size() != ins || inputs_[0].size() < n) inputs_.assign(ins, std::vector<float>(n));
    if (outputs_.size() != outs || (outs > 0 && outputs_[0].size() < n))
        outputs_.assign(outs, std::vector<float>(n));
    inputPointers_.clear();
    outputPointers_.clear();
    for (auto& b : inputs_)
        inputPointers_.push_back(b.data());
    for (auto& b : outputs_)
        outputPointers_.push_back(b.data());
}

void ChannelBuffers::loadStereo(const float* left, const float* right, std::size_t n) {
    // The plug-in may have written into its inputs last time.
    for (auto& b : inputs_)
        std::fill_n(b.begin(), n, 0.0f);
    if (declaredInputs_ == 1) {
        for (std::size_t i = 0; i < n; ++i)
            inputs_[0][i] = 0.5f * (left[i] + right[i]);
    } else if (declaredInputs_ >= 2) {
        std::copy_n(left, n, inputs_[0].begin());
        std::copy_n(right, n, inputs_[1].begin());
    }
}

void ChannelBuffers::clearOutputs(std::size_t n) {
    for (auto& b : outputs_)
        std::fill_n(b.begin(), n, 0.0f);
}

void ChannelBuffers::shareInputsAsOutputs() {
    const std::size_t shared = std::min(inputPointers_.size(), outputPointers_.size());
    for (std::size_t c = 0; c < shared; ++c)
        outputPointers_[c] = inputPointers_[c];
}

} // namespace qv
