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

void TestInstance::process(const StereoSignal& in, StereoSignal& out, std::size_t from, int frames,
                           Call call) {
    if (!canProcess() || frames < 0) return;
    buffers_.prepare(effect_->numInputs, effect_->numOutputs, frames);
    const auto n = static_cast<std::size_t>(frames);
    buffers_.loadStereo(in.left.data() + from, in.right.data() + from, n);
    if (call == Call::InPlace && hasReplacing()) {
        buffers_.shareInputsAsOutputs();
        effect_->processReplacing(effect_, buffers_.inputs(), buffers_.outputs(), frames);
    } else if (call != Call::Accumulating && hasReplacing()) {
        effect_->processReplacing(effect_, buffers_.inputs(), buffers_.outputs(), frames);
    } else if (effect_->process) {
        // The accumulating call adds to what `out` holds (silence for a replacing call).
        buffers_.clearOutputs(n);
        if (call == Call::Accumulating) {
            const auto at = static_cast<std::ptrdiff_t>(from);
            float** outputs = buffers_.outputs();
            std::copy_n(out.left.begin() + at, n, outputs[0]);
            if (buffers_.outputCount() >= 2) std::copy_n(out.right.begin() + at, n, outputs[1]);
        }
        effect_->process(effect_, buffers_.inputs(), buffers_.outputs(), frames);
    }
    std::copy_n(buffers_.left(), n, out.left.begin() + static_cast<std::ptrdiff_t>(from));
    std::copy_n(buffers_.right(), n, out.right.begin() + static_cast<std::ptrdiff_t>(from));
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
