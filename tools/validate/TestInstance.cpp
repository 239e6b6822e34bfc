#include "tools/validate/TestInstance.h"

#include <algorithm>

namespace qv {

TestInstance::TestInstance(const PluginLibrary& library) : effect(library.instantiate()) {
    if (effect) dispatch(effOpen);
}

TestInstance::~TestInstance() {
    if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

bool TestInstance::canProcess() const {
    if (!effect || effect->numOutputs < 1 || effect->numOutputs > kMaxChannels ||
        effect->numInputs < 0 || effect->numInputs > kMaxChannels)
        return false;
    return effect->process || hasReplacing();
}

bool TestInstance::hasReplacing() const {
    return effect && (effect->flags & effFlagsCanReplacing) && effect->processReplacing;
}

bool TestInstance::hasEditor() const {
    return effect && (effect->flags & effFlagsHasEditor);
}

VstIntPtr TestInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
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
    const auto ins = static_cast<std::size_t>(std::max(effect->numInputs, 1));
    const auto outs = static_cast<std::size_t>(effect->numOutputs);
    if (inputs.size() != ins || inputs[0].size() < n) inputs.assign(ins, std::vector<float>(n));
    if (outputs.size() != outs || outputs[0].size() < n)
        outputs.assign(outs, std::vector<float>(n));
    inputPointers.clear();
    outputPointers.clear();
    for (auto& b : inputs)
        inputPointers.push_back(b.data());
    for (auto& b : outputs)
        outputPointers.push_back(b.data());
}

void TestInstance::process(const StereoSignal& in, StereoSignal& out, std::size_t from, int frames,
                           Call call) {
    if (!canProcess() || frames < 0) return;
    prepareBuffers(frames);
    const auto n = static_cast<std::size_t>(frames);
    const float* l = in.left.data() + from;
    const float* r = in.right.data() + from;
    for (std::size_t c = 0; c < inputs.size(); ++c)
        std::fill_n(inputs[c].begin(), n, 0.0f);
    if (effect->numInputs == 1) {
        for (std::size_t i = 0; i < n; ++i)
            inputs[0][i] = 0.5f * (l[i] + r[i]);
    } else if (effect->numInputs >= 2) {
        std::copy_n(l, n, inputs[0].begin());
        std::copy_n(r, n, inputs[1].begin());
    }
    if (call == Call::InPlace && hasReplacing()) {
        // Outputs share the input buffers channel by channel.
        const std::size_t shared = std::min(inputs.size(), outputs.size());
        for (std::size_t c = 0; c < shared; ++c)
            outputPointers[c] = inputPointers[c];
        effect->processReplacing(effect, inputPointers.data(), outputPointers.data(), frames);
    } else if (call != Call::Accumulating && hasReplacing()) {
        effect->processReplacing(effect, inputPointers.data(), outputPointers.data(), frames);
    } else if (effect->process) {
        // The accumulating call adds to what `out` holds (silence for a replacing call).
        for (auto& b : outputs)
            std::fill_n(b.begin(), n, 0.0f);
        if (call == Call::Accumulating) {
            const auto at = static_cast<std::ptrdiff_t>(from);
            std::copy_n(out.left.begin() + at, n, outputs[0].begin());
            if (outputs.size() >= 2) std::copy_n(out.right.begin() + at, n, outputs[1].begin());
        }
        effect->process(effect, inputPointers.data(), outputPointers.data(), frames);
    }
    const float* outL = outputPointers[0];
    const float* outR = outputPointers.size() >= 2 ? outputPointers[1] : outputPointers[0];
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
