// Our own declarations of the VST 2 plug-in ABI (SDK generation 2.3) for 32- and 64-bit Windows
// hosts: the effect record, the host callback and the opcode numbers this plug-in uses or answers.
// Values that hold pointers on 64 bits (the dispatcher's and the host callback's `value` and
// results, the reserved fields) are pointer-sized; opcodes, indices and counts stay 32-bit.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QV_CDECL __cdecl
#else
#define QV_CDECL
#endif

namespace qv {

using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

struct AEffect;

// Host callback: the plug-in asks the host for services through it.
using audioMasterCallback = VstIntPtr(QV_CDECL*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                 VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(QV_CDECL*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                   VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void(QV_CDECL*)(AEffect* effect, float** inputs, float** outputs,
                                           VstInt32 sampleFrames);
using AEffectSetParameterProc = void(QV_CDECL*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float(QV_CDECL*)(AEffect* effect, VstInt32 index);

// Packs four characters big-endian, first character in the most significant byte.
constexpr VstInt32 fourCharCode(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = fourCharCode('V', 's', 't', 'P');

// The record a host receives from the entry point; its layout is fixed by the ABI.
struct AEffect {
    VstInt32 magic;                       // kEffectMagic
    AEffectDispatcherProc dispatcher;     // opcode entry
    AEffectProcessProc process;           // accumulating process
    AEffectSetParameterProc setParameter; // parameter write
    AEffectGetParameterProc getParameter; // parameter read
    VstInt32 numPrograms;                 // program slots
    VstInt32 numParams;                   // host-visible parameters
    VstInt32 numInputs;                   // audio inputs
    VstInt32 numOutputs;                  // audio outputs
    VstInt32 flags;                       // effFlags* bits
    VstIntPtr resvd1;                     // reserved, 0
    VstIntPtr resvd2;                     // reserved, 0
    VstInt32 initialDelay;                // latency in samples
    VstInt32 realQualities;               // unused, 0
    VstInt32 offQualities;                // unused, 0
    float ioRatio;                        // unused, 1.0
    void* object;                         // the effect object behind the record
    void* user;                           // host's own pointer, 0
    VstInt32 uniqueID;                    // four-character identifier
    VstInt32 version;                     // plug-in version
    AEffectProcessProc processReplacing;  // replacing process
    char future[60];                      // reserved, zero (newer hosts read the first 4 bytes)
};

// Editor rectangle: four shorts, top, left, bottom, right.
struct ERect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

// Key event handed to the editor.
struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier;
};

enum VstEffectFlags : VstInt32 {
    effFlagsHasEditor = 1,
    effFlagsCanMono = 8,
    effFlagsCanReplacing = 16,
};

enum VstPlugCategory : VstInt32 { kPlugCategEffect = 1 };

// Host callback opcodes used by the plug-in.
enum AudioMasterOpcode : VstInt32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterIdle = 3,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

// Dispatcher opcodes (VST 2.3).
enum EffectOpcode : VstInt32 {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetNumProgramCategories = 28,
    effGetProgramNameIndexed = 29,
    effCopyProgram = 30,
    effConnectInput = 31,
    effConnectOutput = 32,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effSetSpeakerArrangement = 42,
    effSetBlockSizeAndSampleRate = 43,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effGetParameterProperties = 56,
    effKeysRequired = 57,
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetSpeakerArrangement = 69,
    effSetTotalSampleToProcess = 73,
};

// The record's layout as hosts of each width read it (the native build is x86-64 too, so its
// tests see the 64-bit layout).
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(AEffect) == 84 + 60, "AEffect must keep the 32-bit VST 2 layout");
static_assert(offsetof(AEffect, dispatcher) == 4 && offsetof(AEffect, numPrograms) == 20 &&
                  offsetof(AEffect, flags) == 36 && offsetof(AEffect, resvd1) == 40 &&
                  offsetof(AEffect, initialDelay) == 48 && offsetof(AEffect, object) == 64 &&
                  offsetof(AEffect, uniqueID) == 72 && offsetof(AEffect, processReplacing) == 80 &&
                  offsetof(AEffect, future) == 84,
              "AEffect fields must sit where 32-bit hosts read them");
#elif INTPTR_MAX == INT64_MAX
static_assert(sizeof(AEffect) == 192, "AEffect must keep the 64-bit VST 2 layout");
static_assert(offsetof(AEffect, magic) == 0 && offsetof(AEffect, dispatcher) == 8 &&
                  offsetof(AEffect, process) == 16 && offsetof(AEffect, setParameter) == 24 &&
                  offsetof(AEffect, getParameter) == 32 && offsetof(AEffect, numPrograms) == 40 &&
                  offsetof(AEffect, numParams) == 44 && offsetof(AEffect, numInputs) == 48 &&
                  offsetof(AEffect, numOutputs) == 52 && offsetof(AEffect, flags) == 56 &&
                  offsetof(AEffect, resvd1) == 64 && offsetof(AEffect, resvd2) == 72 &&
                  offsetof(AEffect, initialDelay) == 80 && offsetof(AEffect, realQualities) == 84 &&
                  offsetof(AEffect, offQualities) == 88 && offsetof(AEffect, ioRatio) == 92 &&
                  offsetof(AEffect, object) == 96 && offsetof(AEffect, user) == 104 &&
                  offsetof(AEffect, uniqueID) == 112 && offsetof(AEffect, version) == 116 &&
                  offsetof(AEffect, processReplacing) == 120 && offsetof(AEffect, future) == 128,
              "AEffect fields must sit where 64-bit hosts read them");
static_assert(sizeof(VstIntPtr) == 8, "dispatcher and callback values are pointer-sized");
#endif
static_assert(sizeof(ERect) == 8, "ERect is four shorts");

} // namespace qv
