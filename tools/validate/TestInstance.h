// One plug-in instance as the validator drives it: created from the library and opened, closed
// when the object goes (unless abandoned after a crash). Audio goes in and out as stereo, mapped
// onto whatever channels the plug-in declares: a mono input gets the mid signal, a mono output
// feeds both sides, extra inputs get silence.
#pragma once

#include "shell/VstAbi.h"
#include "tools/ChannelBuffers.h"
#include "tools/validate/PluginLibrary.h"
#include "tools/validate/StereoSignal.h"

#include <string>
#include <vector>

namespace qv {

class TestInstance {
public:
    enum class Call {
        Replacing,    // processReplacing (the accumulating process for a plug-in without it)
        Accumulating, // process, adding to what the output signal holds
        InPlace,      // processReplacing with each output buffer the same as its input
    };
    static constexpr int kMaxChannels = 64; // more is taken for a broken record

    explicit TestInstance(const PluginLibrary& library); // instantiates and sends effOpen
    TestInstance(const TestInstance&) = delete;
    TestInstance& operator=(const TestInstance&) = delete;
    ~TestInstance(); // effClose, unless abandoned

    bool valid() const { return effect_ != nullptr; }
    // Whether audio can go through: outputs and a process function exist, sane channel counts.
    bool canProcess() const;
    bool hasReplacing() const;
    bool hasEditor() const;
    AEffect* record() const { return effect_; }
    // Forgets the instance without closing it (after it crashed).
    void abandon() { effect_ = nullptr; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    std::string text(VstInt32 opcode, VstInt32 index = 0);
    void set(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }
    float get(VstInt32 index) { return effect_->getParameter(effect_, index); }
    int numParams() const { return effect_->numParams; }
    int numPrograms() const { return effect_->numPrograms; }

    // sample rate, block size, resume
    void start(float sampleRate, VstInt32 blockSize);
    void resume() { dispatch(effMainsChanged, 0, 1); }
    void suspend() { dispatch(effMainsChanged, 0, 0); }

    // Processes `frames` frames of `in` from `from` into `out` at the same position (the
    // accumulating call adds to what `out` holds there).
    void process(const StereoSignal& in, StereoSignal& out, std::size_t from, int frames,
                 Call call = Call::Replacing);
    // The whole of `in` in blocks of `block` frames (onto silence).
    StereoSignal render(const StereoSignal& in, int block, Call call = Call::Replacing);

private:
    AEffect* effect_ = nullptr;
    ChannelBuffers buffers_; // the plug-in's channels
};

} // namespace qv
