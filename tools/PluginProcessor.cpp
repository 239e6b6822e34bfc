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
    buffers_.prepare(effect->numInputs, effect->numOutputs, maxBlock);
    plugin_ = effect;
    return true;
}

void PluginProcessor::process(const float* inLeft, const float* inRight, float* outLeft,
                              float* outRight, int frames) {
    frames = std::min(frames, capacity_);
    if (!plugin_ || frames <= 0) return;
    const auto n = static_cast<std::size_t>(frames);
    buffers_.loadStereo(inLeft, inRight, n);
    const bool replacing = (plugin_->flags & effFlagsCanReplacing) && plugin_->processReplacing;
    if (replacing) {
        plugin_->processReplacing(plugin_, buffers_.inputs(), buffers_.outputs(), frames);
    } else {
        buffers_.clearOutputs(n);
        plugin_->process(plugin_, buffers_.inputs(), buffers_.outputs(), frames);
    }
    std::copy_n(buffers_.left(), n, outLeft);
    std::copy_n(buffers_.right(), n, outRight);
}

} // namespace qv
