#include "tools/validate/TestInstance.h"

#include <algorithm>

namespace qv {

TestInstance::TestInstance(const PluginLibrary& library) : effect_(library.instantiate()) {
    if (effect_) dispatch(effOpen);
}

TestInstance::~TestInstance() {
    if (effect_) effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
}

bool TestInstance::canProcess() const {
    if (!effect_ || effect_->numOutputs < 1 || effect_->numOutputs > kMaxChannels ||
        effect_->numInputs < 0 || effect_->numInputs > kMaxChannels)
        return false;
    return effect_->process || hasReplacing();
}

bool TestInstance::hasReplacing() const {
    return effect_ && (effect_->flags & effFlagsCanReplacing) && effect_->processReplacing;
}

bool TestInstance::hasEditor() const {
    return effect_ && (effect_->flags & effFlagsHasEditor);
}

VstIntPtr TestInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string TestInstance::text(VstInt32 opcode, VstInt32 index) {
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

void TestInstance::start(float sampleRate, VstInt32 blockSize) {
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    resume();
}

void TestInstance::prepareBuffers(int frames) {
    const auto n = static_cast<std::size_t>(std::max(frames, 1));
    const auto ins = static_cast<std::size_t>(std::max(effect_->numInputs, 1));
    const auto outs = static_cast<std::size_t>(effect_->numOutputs);
    if (inputs_.size() != ins || inputs_[0].size() < n) inputs_.assign(ins, std::vector<float>(n));
    if (outputs_.size() != outs || outputs_[0].size() < n)
        outputs_.assign(outs, std::vector<float>(n));
    inputPointers_.clear();
    outputPointers_.clear();
    for (auto& b : inputs_)
        inputPointers_.push_back(b.data());
    for (auto& b : outputs_)
        outputPointers_.push_back(b.data());
}

void TestInstance::process(const StereoSignal& in, StereoSignal& out, std::size_t from, int frames,
                           Call call) {
    if (!canProcess() || frames < 0) return;
    prepareBuffers(frames);
    const auto n = static_cast<std::size_t>(frames);
    const float* l = in.left.data() + from;
    const float* r = in.right.data() + from;
    for (std::size_t c = 0; c < inputs_.size(); ++c)
        std::fill_n(inputs_[c].begin(), n, 0.0f);
    if (effect_->numInputs == 1) {
        for (std::size_t i = 0; i < n; ++i)
            inputs_[0][i] = 0.5f * (l[i] + r[i]);
    } else if (effect_->numInputs >= 2) {
        std::copy_n(l, n, inputs_[0].begin());
        std::copy_n(r, n, inputs_[1].begin());
    }
    if (call == Call::InPlace && hasReplacing()) {
        // Outputs share the input buffers channel by channel.
        const std::size_t shared = std::min(inputs_.size(), outputs_.size());
        for (std::size_t c = 0; c < shared; ++c)
            outputPointers_[c] = inputPointers_[c];
        effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), frames);
    } else if (call != Call::Accumulating && hasReplacing()) {
        effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), frames);
    } else if (effect_->process) {
        // The accumulating call adds to what `out` holds (silence for a replacing call).
        for (auto& b : outputs_)
            std::fill_n(b.begin(), n, 0.0f);
        if (call == Call::Accumulating) {
            const auto at = static_cast<std::ptrdiff_t>(from);
            std::copy_n(out.left.begin() + at, n, outputs_[0].begin());
            if (outputs_.size() >= 2) std::copy_n(out.right.begin() + at, n, outputs_[1].begin());
        }
        effect_->process(effect_, inputPointers_.data(), outputPointers_.data(), frames);
    }
    const float* outL = outputPointers_[0];
    const float* outR = outputPointers_.size() >= 2 ? outputPointers_[1] : outputPointers_[0];
    std::copy_n(outL, n, out.left.begin() + static_cast<std::ptrdiff_t>(from));
    std::copy_n(outR, n, out.right.begin() + static_cast<std::ptrdiff_t>(from));
}

StereoSignal TestInstance::render(const StereoSignal& in, int block, Call call) {
    StereoSignal out(in.frames());
    const auto step = static_cast<std::size_t>(std::max(block, 1));
    for (std::size_t pos = 0; pos < in.frames(); pos += step) {
        const int n = static_cast<int>(std::min(step, in.frames() - pos));
        process(in, out, pos, n, call);
    }
    return out;
}

} // namespace qv
