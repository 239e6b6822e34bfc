// libFuzzer target: one effect instance per input, driven through its AEffect record by a
// sequence of actions read from the input: dispatcher calls with any opcode, index, value and
// float and a 4 KiB buffer holding a string, parameter writes with any index and value (NaN,
// infinities, huge, subnormal), program changes, both process calls on audio with bad samples,
// parameter reads. Built with the address and undefined-behaviour sanitizers.
#include "tests/realtime/NativeInstance.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace qv {

namespace {

constexpr std::size_t kBufferBytes = 4096;
constexpr int kMaxOpcode = 80;
constexpr int kMaxBadSamples = 16; // per process call
// Short inputs run fast: a few dozen actions, blocks of up to two crossover blocks.
constexpr int kMaxActions = 48;
constexpr int kMaxFrames = 1024;

float anyFloat(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
        return std::numeric_limits<float>::quiet_NaN();
    case 1:
        return std::numeric_limits<float>::infinity();
    case 2:
        return -std::numeric_limits<float>::infinity();
    case 3:
        return 1e30f;
    case 4:
        return FLT_MIN / 8.0f; // subnormal
    case 5:
        return -FLT_MAX;
    case 6:
        return in.ConsumeFloatingPoint<float>();
    default:
        return in.ConsumeFloatingPointInRange<float>(-0.5f, 1.5f);
    }
}

void dispatcherCall(NativeInstance& instance, FuzzedDataProvider& in) {
    const VstInt32 opcode = in.ConsumeIntegralInRange<VstInt32>(-1, kMaxOpcode);
    if (opcode == effClose) return; // ends the instance: done once, after the actions
    const VstInt32 index = in.ConsumeIntegral<VstInt32>();
    VstIntPtr value = in.ConsumeIntegral<VstInt32>();
    const float opt = anyFloat(in);
    static char buffer[kBufferBytes];
    std::memset(buffer, 0, sizeof buffer);
    const std::string text = in.ConsumeRandomLengthString(kBufferBytes - 1);
    std::memcpy(buffer, text.data(), text.size());
    // These take a pointer in `value` too.
    if (opcode == effGetSpeakerArrangement || opcode == effSetSpeakerArrangement)
        value = reinterpret_cast<VstIntPtr>(buffer + kBufferBytes / 2);
    if (opcode == effSetChunk) value = static_cast<VstIntPtr>(text.size());
    instance.dispatch(opcode, index, value, buffer, opt);
}

void processCall(NativeInstance& instance, FuzzedDataProvider& in, bool replacing) {
    const int frames = in.ConsumeIntegralInRange<int>(0, kMaxFrames);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < frames; ++i)
            instance.in[c][i] = 0.5f * std::sin(0.01f * static_cast<float>(i + 97 * c));
    const int bad = in.ConsumeIntegralInRange<int>(0, kMaxBadSamples);
    for (int k = 0; k < bad && frames > 0; ++k) {
        const int c = in.ConsumeIntegralInRange<int>(0, 1);
        instance.in[c][in.ConsumeIntegralInRange<int>(0, frames - 1)] = anyFloat(in);
    }
    if (replacing)
        instance.processReplacing(frames);
    else
        instance.process(frames);
}

} // namespace

} // namespace qv

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    FuzzedDataProvider in(data, size);
    NativeInstance instance;
    if (!instance.effect) return 0;
    instance.start();
    for (int action = 0; action < kMaxActions && in.remaining_bytes() > 0; ++action) {
        // Program changes redesign the crossover (tens of milliseconds here): kept rarer.
        switch (in.ConsumeIntegralInRange<int>(0, 11)) {
        case 0:
        case 1:
        case 2:
            dispatcherCall(instance, in);
            break;
        case 3:
        case 4:
        case 5:
            instance.setParameter(in.ConsumeIntegralInRange<VstInt32>(-2, 95), anyFloat(in));
            break;
        case 6:
            instance.dispatch(effSetProgram, 0, in.ConsumeIntegralInRange<int>(-2, 21));
            break;
        case 7:
        case 8:
            processCall(instance, in, true);
            break;
        case 9:
            processCall(instance, in, false);
            break;
        default:
            instance.getParameter(in.ConsumeIntegral<VstInt32>());
            break;
        }
    }
    return 0;
}
