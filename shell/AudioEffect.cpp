#include "shell/AudioEffect.h"

#include <cstring>

namespace qv {

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster_(audioMaster), numPrograms_(numPrograms), numParams_(numParams) {
    std::memset(&cEffect_, 0, sizeof(cEffect_));
    cEffect_.magic = kEffectMagic;
    cEffect_.dispatcher = &AudioEffect::dispatchEntry;
    cEffect_.process = &AudioEffect::processEntry;
    cEffect_.setParameter = &AudioEffect::setParameterEntry;
    cEffect_.getParameter = &AudioEffect::getParameterEntry;
    cEffect_.numPrograms = numPrograms;
    cEffect_.numParams = numParams;
    cEffect_.numInputs = 1;
    cEffect_.numOutputs = 2;
    cEffect_.flags = 0;
    cEffect_.ioRatio = 1.0f;
    cEffect_.object = this;
    cEffect_.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect_.version = 1;
    cEffect_.processReplacing = &AudioEffect::processReplacingEntry;
}

AudioEffect::~AudioEffect() {
    delete editor_;
    editor_ = nullptr;
}

void AudioEffect::setEditor(HostEditor* newEditor) {
    editor_ = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state)
        cEffect_.flags |= flag;
    else
        cEffect_.flags &= ~flag;
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
    if (audioMaster_) audioMaster_(&cEffect_, audioMasterAutomate, index, 0, nullptr, value);
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
    if (!audioMaster_) return 1;
    VstIntPtr version = audioMaster_(&cEffect_, audioMasterVersion, 0, 0, nullptr, 0.0f);
    return version ? static_cast<VstInt32>(version) : 1;
}

void AudioEffect::masterIdle() {
    if (audioMaster_) audioMaster_(&cEffect_, audioMasterIdle, 0, 0, nullptr, 0.0f);
}

bool AudioEffect::beginEdit(VstInt32 index) {
    return audioMaster_ && audioMaster_(&cEffect_, audioMasterBeginEdit, index, 0, nullptr, 0.0f);
}

bool AudioEffect::endEdit(VstInt32 index) {
    return audioMaster_ && audioMaster_(&cEffect_, audioMasterEndEdit, index, 0, nullptr, 0.0f);
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
        if (value >= 0 && value < numPrograms_) setProgram(static_cast<VstInt32>(value));
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
        return editor_ ? editor_->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
        return editor_ ? editor_->open(ptr) : 0;
    case effEditClose:
        if (editor_) editor_->close();
        return 0;
    case effEditIdle:
        if (editor_) editor_->idle();
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
