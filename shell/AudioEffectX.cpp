#include "shell/AudioEffectX.h"

namespace qv {

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms,
                           VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    switch (opcode) {
    case effIdentify:
        return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
    case effSetChunk:
    case effProcessEvents:
        return 0;
    case effCanBeAutomated:
        return 1;
    case effString2Parameter:
        return 0;
    case effGetNumProgramCategories:
        return 1;
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(static_cast<VstInt32>(value), index, static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case effCopyProgram:
        return 0;
    case effConnectInput:
    case effConnectOutput:
        return 1;
    case effGetInputProperties:
    case effGetOutputProperties:
        return 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effSetSpeakerArrangement:
        return 0;
    case effSetBlockSizeAndSampleRate:
        // Base members only: the processing coefficients follow on effSetSampleRate.
        blockSize_ = static_cast<VstInt32>(value);
        sampleRate_ = opt;
        return 1;
    case effSetBypass:
        return 0;
    case effGetEffectName:
        return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
        return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
        return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return canDo(static_cast<const char*>(ptr));
    case effGetTailSize:
        return getTailSize();
    case effGetParameterProperties:
        return 0;
    case effKeysRequired:
        return 1;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
        if (!editor_) return 0;
        VstKeyCode key{index, static_cast<unsigned char>(value),
                       static_cast<unsigned char>(static_cast<int>(opt))};
        return opcode == effEditKeyDown ? editor_->onKeyDown(key) : editor_->onKeyUp(key);
    }
    case effSetEditKnobMode:
        return editor_ ? editor_->setKnobMode(static_cast<VstInt32>(value)) : 0;
    case effGetSpeakerArrangement:
        if (value) *reinterpret_cast<void**>(value) = nullptr;
        if (ptr) *static_cast<void**>(ptr) = nullptr;
        return 0;
    case effSetTotalSampleToProcess:
        return value;
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

} // namespace qv
