// A minimal plug-in for the tool tests, unlike ours in every way a host must cope with: one input
// and one output, no replacing process (only the accumulating one), a latency of 5 samples, no
// indexed program names. Parameters: "Gain" (linear, 0..1) and "Crash" (above 0.5 the next
// process call raises an access violation). Programs: "Unity" (Gain 1) and "Half" (Gain 0.5).
// Faults a validator must find: NaN input comes out as NaN, "Gain" keeps any value it is given
// (NaN too), the label of "Crash" is longer than a host's 64-byte buffer, and every instance
// leaks a block of memory.
#include "shell/VstAbi.h"

#include <windows.h>

#include <cstring>

namespace qv {

namespace {

constexpr int kLatency = 5;
constexpr VstInt32 kNumPrograms = 2;
const char* const kProgramNames[kNumPrograms] = {"Unity", "Half"};
const float kProgramGain[kNumPrograms] = {1.0f, 0.5f};
const char* const kParamNames[2] = {"Gain", "Crash"};
// Longer than the 64 bytes a host's label buffer may have.
const char kOverlongLabel[] =
    "raises an access violation in the next process call when above one half";
constexpr int kLeakedBytes = 4096; // per instance, never freed

struct Toy {
    AEffect effect;             // first member: the host's pointer is also ours
    float gain = 1.0f;          // parameter 0
    float crash = 0.0f;         // parameter 1
    VstInt32 program = 0;       // current program
    float delay[kLatency] = {}; // the last kLatency inputs
    int position = 0;           // next slot of `delay`
    char* leaked = nullptr;     // memory the instance never frees
};

Toy* toy(AEffect* e) {
    return reinterpret_cast<Toy*>(e);
}

VstIntPtr QV_CDECL dispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float) {
    Toy* t = toy(e);
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effClose:
        delete t;
        return 1;
    case effSetProgram:
        if (value >= 0 && value < kNumPrograms) {
            t->program = static_cast<VstInt32>(value);
            t->gain = kProgramGain[value];
        }
        return 0;
    case effGetProgram:
        return t->program;
    case effGetProgramName:
        std::strcpy(text, kProgramNames[t->program]);
        return 0;
    case effGetParamName:
        if (index >= 0 && index < 2) std::strcpy(text, kParamNames[index]);
        return 0;
    case effGetParamLabel:
        if (index == 1) std::strcpy(text, kOverlongLabel);
        return 0;
    case effGetParamDisplay:
        std::strcpy(text, index == 0 && t->gain > 0.5f ? "loud" : "soft");
        return 0;
    case effGetEffectName:
        std::strcpy(text, "Toy");
        return 1;
    case effGetVendorString:
        std::strcpy(text, "Tests");
        return 1;
    case effMainsChanged:
        std::memset(t->delay, 0, sizeof t->delay);
        t->position = 0;
        return 0;
    default:
        return 0;
    }
}

void QV_CDECL process(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    Toy* t = toy(e);
    if (t->crash > 0.5f) RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
    for (VstInt32 i = 0; i < frames; ++i) {
        const float delayed = t->delay[t->position];
        t->delay[t->position] = inputs[0][i];
        t->position = (t->position + 1) % kLatency;
        outputs[0][i] += t->gain * delayed;
    }
}

void QV_CDECL setParameter(AEffect* e, VstInt32 index, float value) {
    if (index == 0) toy(e)->gain = value;
    if (index == 1) toy(e)->crash = value;
}

float QV_CDECL getParameter(AEffect* e, VstInt32 index) {
    return index == 0 ? toy(e)->gain : index == 1 ? toy(e)->crash : 0.0f;
}

} // namespace

} // namespace qv

extern "C" qv::AEffect* toyMain(qv::audioMasterCallback audioMaster) {
    using namespace qv;
    if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    Toy* t = new Toy();
    t->leaked = new char[kLeakedBytes](); // the leak, on purpose: effClose never frees it
    AEffect& e = t->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.process = process;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.numPrograms = kNumPrograms;
    e.numParams = 2;
    e.numInputs = 1;
    e.numOutputs = 1;
    e.flags = 0; // no processReplacing
    e.initialDelay = kLatency;
    e.ioRatio = 1.0f;
    e.object = t;
    e.uniqueID = fourCharCode('t', 'o', 'y', '1');
    e.version = 1;
    return &e;
}
