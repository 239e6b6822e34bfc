// One effect instance built natively through the real entry path (without the editor), driven
// through its AEffect record as a host drives it, with stereo buffers of a fixed capacity.
#pragma once

#include "shell/MultibandEffectBase.h"
#include "shell/PluginInstance.h"

#include <vector>

namespace qv {

class NativeInstance {
public:
    static constexpr int kCapacity = 4096; // frames per buffer
    static constexpr float kSampleRate = 44100.0f;

    NativeInstance() : effect(instantiatePlugin(&callback, &create)) {
        for (int c = 0; c < 2; ++c) {
            in[c].assign(kCapacity, 0.0f);
            out[c].assign(kCapacity, 0.0f);
            inputs[c] = in[c].data();
            outputs[c] = out[c].data();
        }
    }
    ~NativeInstance() {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
    NativeInstance(const NativeInstance&) = delete;
    NativeInstance& operator=(const NativeInstance&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void start() {
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, kSampleRate);
        dispatch(effSetBlockSize, 0, kCapacity);
        dispatch(effMainsChanged, 0, 1);
    }
    // Processes `frames` (at most kCapacity) of whatever the input buffers hold.
    void processReplacing(int frames) { effect->processReplacing(effect, inputs, outputs, frames); }
    void process(int frames) { effect->process(effect, inputs, outputs, frames); }
    void setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
    float getParameter(VstInt32 index) { return effect->getParameter(effect, index); }

    AEffect* effect;
    std::vector<float> in[2], out[2];
    float* inputs[2];
    float* outputs[2];

private:
    static VstIntPtr QV_CDECL callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                       float) {
        return opcode == audioMasterVersion ? 2300 : 0;
    }
    static MultibandEffectBase* create(audioMasterCallback master) {
        return new MultibandEffectBase(master);
    }
};

} // namespace qv
