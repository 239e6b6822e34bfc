#include "tools/PluginProcessor.h"

#include <algorithm>

namespace qv {

namespace {
constexpr VstInt32 kMaxChannels = 64; // more is taken for a broken record
}

bool PluginProcessor::prepare(AEffect* effect, int maxBlock, std::string& error) {
    plugin_ = nullptr;
    if (!effect || maxBlock < 1) {
        error = "no plug-in to process with";
        return false;
    }
    if (effect->numOutputs < 1 || effect->numOutputs > kMaxChannels || effect->numInputs < 0 ||
        effect->numInputs > kMaxChannels) {
        error = "the plug-in declares " + std::to_string(effect->numInputs) + " inputs and " +
                std::to_string(effect->numOutputs) + " outputs; cannot process audio with it";
        return false;
    }
    const bool replacing = (effect->flags & effFlagsCanReplacing) && effect->processReplacing;
    if (!replacing && !effect->process) {
        error = "the plug-in offers no process function: it is not an effect qvhost can run";
        return false;
    }
    capacity_ = maxBlock;
    inputs_.assign(static_cast<std::size_t>(std::max<VstInt32>(effect->numInputs, 1)),
                   std::vector<float>(static_cast<std::size_t>(maxBlock), 0.0f));
    outputs_.assign(static_cast<std::size_t>(effect->numOutputs),
                    std::vector<float>(static_cast<std::size_t>(maxBlock), 0.0f));
    inputPointers_.clear();
    outputPointers_.clear();
    for (auto& b : inputs_)
        inputPointers_.push_back(b.data());
    for (auto& b : outputs_)
        outputPointers_.push_back(b.data());
    plugin_ = effect;
    return true;
}

void PluginProcessor::process(const float* inLeft, const float* inRight, float* outLeft,
                              float* outRight, int frames) {
    frames = std::min(frames, capacity_);
    if (!plugin_ || frames <= 0) return;
    const auto n = static_cast<std::size_t>(frames);
    if (plugin_->numInputs == 1) {
        for (std::size_t i = 0; i < n; ++i)
            inputs_[0][i] = 0.5f * (inLeft[i] + inRight[i]);
    } else if (plugin_->numInputs >= 2) {
        std::copy(inLeft, inLeft + n, inputs_[0].begin());
        std::copy(inRight, inRight + n, inputs_[1].begin());
        // The plug-in may have written into extra inputs last time.
        for (std::size_t c = 2; c < inputs_.size(); ++c)
            std::fill_n(inputs_[c].begin(), n, 0.0f);
    }
    const bool replacing = (plugin_->flags & effFlagsCanReplacing) && plugin_->processReplacing;
    if (replacing) {
        plugin_->processReplacing(plugin_, inputPointers_.data(), outputPointers_.data(), frames);
    } else {
        for (auto& b : outputs_)
            std::fill_n(b.begin(), n, 0.0f);
        plugin_->process(plugin_, inputPointers_.data(), outputPointers_.data(), frames);
    }
    const std::vector<float>& right = outputs_.size() >= 2 ? outputs_[1] : outputs_[0];
    std::copy_n(outputs_[0].begin(), n, outLeft);
    std::copy_n(right.begin(), n, outRight);
}

} // namespace qv
