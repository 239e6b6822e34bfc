#include "shell/AudioEffect.h"

#include <cstring>

namespace qv {

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = &AudioEffect::dispatchEntry;
    cEffect.process = &AudioEffect::processEntry;
    cEffect.setParameter = &AudioEffect::setParameterEntry;
    cEffect.getParameter = &AudioEffect::getParameterEntry;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = 0;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = &AudioEffect::processReplacingEntry;
}

AudioEffect::~AudioEffect() {
    delete editor;
    editor = nullptr;
}

void AudioEffect::setEditor(HostEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

void AudioEffect::canProcessReplacing(bool state) {
    setFlag(effFlagsCanReplacing, state);
}
void AudioEffect::canMono(bool state) {
    setFlag(effFlagsCanMono, state);
}

void AudioEffect::setEditorHint(VstInt32, VstInt32) {}
VstInt32 AudioEffect::getEditorHint(VstInt32) {
    return 0;
}
void AudioEffect::requestOutputRefresh() {}
void AudioEffect::requestPanelRefresh() {}
void AudioEffect::captureAnalysis() {}
const float* AudioEffect::getDisplayBuffer(VstInt32) {
    return nullptr;
}
const VstInt32* AudioEffect::getAnalyserBands() {
    return nullptr;
}
void AudioEffect::setEditorValue(VstInt32, float) {}
float AudioEffect::getEditorValue(VstInt32) {
    return 0.0f;
}

void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32) {
    return 0.0f;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    if (audioMaster) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::process(float**, float**, VstInt32) {}
void AudioEffect::processReplacing(float**, float**, VstInt32) {}

void AudioEffect::getProgramName(char* name) {
    if (name) name[0] = 0;
}
void AudioEffect::getParameterLabel(VstInt32, char* label) {
    if (label) label[0] = 0;
}
void AudioEffect::getParameterDisplay(VstInt32, char* text) {
    if (text) text[0] = 0;
}
void AudioEffect::getParameterName(VstInt32, char* text) {
    if (text) text[0] = 0;
}

VstInt32 AudioEffect::getMasterVersion() {
    if (!audioMaster) return 1;
    VstIntPtr version = audioMaster(&cEffect, audioMasterVersion, 0, 0, nullptr, 0.0f);
    return version ? static_cast<VstInt32>(version) : 1;
}

void AudioEffect::masterIdle() {
    if (audioMaster) audioMaster(&cEffect, audioMasterIdle, 0, 0, nullptr, 0.0f);
}

bool AudioEffect::beginEdit(VstInt32 index) {
    return audioMaster && audioMaster(&cEffect, audioMasterBeginEdit, index, 0, nullptr, 0.0f);
}

bool AudioEffect::endEdit(VstInt32 index) {
    return audioMaster && audioMaster(&cEffect, audioMasterEndEdit, index, 0, nullptr, 0.0f);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effGetVu:
        return static_cast<VstIntPtr>(getVu() * 32767.0f);
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        return editor ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
        return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    default:
        return 0;
    }
}

// The record's entry points are the only way in from the host. Nothing inside throws on purpose,
// but an exception escaping into the host's frames would end the host: each entry swallows one as
// a last resort and answers as for an unsupported call.
VstIntPtr QV_CDECL AudioEffect::dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt) {
    auto* effect = e ? static_cast<AudioEffect*>(e->object) : nullptr;
    if (!effect) return 0;
    try {
        if (opcode == effClose) {
            effect->dispatcher(opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }
        return effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

void QV_CDECL AudioEffect::processEntry(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
    try {
        if (auto* effect = e ? static_cast<AudioEffect*>(e->object) : nullptr)
            effect->process(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void QV_CDECL AudioEffect::processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                                 VstInt32 sampleFrames) {
    try {
        if (auto* effect = e ? static_cast<AudioEffect*>(e->object) : nullptr)
            effect->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void QV_CDECL AudioEffect::setParameterEntry(AEffect* e, VstInt32 index, float value) {
    try {
        if (auto* effect = e ? static_cast<AudioEffect*>(e->object) : nullptr)
            effect->setParameter(index, value);
    } catch (...) {
    }
}

float QV_CDECL AudioEffect::getParameterEntry(AEffect* e, VstInt32 index) {
    try {
        auto* effect = e ? static_cast<AudioEffect*>(e->object) : nullptr;
        return effect ? effect->getParameter(index) : 0.0f;
    } catch (...) {
        return 0.0f;
    }
}

} // namespace qv
