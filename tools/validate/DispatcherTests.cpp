#include "tools/validate/DispatcherTests.h"

#include "tools/validate/TestInstance.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace qv {

namespace {

constexpr int kCalls = 100000;
constexpr std::size_t kBufferBytes = 4096;
constexpr int kCommonOpcodes = 80; // most calls use an opcode below this, the rest any number
constexpr std::size_t kCompareFrames = 44100;

// Opcodes whose arguments mean something other than numbers and a buffer:
//   effClose ends the instance, effEditOpen wants a parent window (its own tests cover the
//   editor), effEditClose pairs with it: skipped;
//   the speaker-arrangement opcodes take pointers in `value`: they get the buffer there too;
//   effSetChunk reads `value` bytes from the buffer: at most its size;
//   the sample-rate opcodes get real rates (the absurd ones have a test of their own);
//   text the plug-in reads (program name, capability, parameter text) is a terminated string.
bool skipped(VstInt32 op) {
    return op == effClose || op == effEditOpen || op == effEditClose;
}

// One dispatcher call's arguments.
struct Call {
    VstInt32 op;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

// Mostly an opcode below kCommonOpcodes, sometimes any number.
VstInt32 randomOpcode(TestContext& context) {
    return context.uniform(0, 9) < 8 ? context.uniform(-2, kCommonOpcodes)
                                     : static_cast<VstInt32>(context.random());
}

// The arguments of opcodes that read them fitted to what they mean (see skipped).
void fitArguments(TestContext& context, Call& call, std::vector<unsigned char>& buffer) {
    const float rates[] = {22050.0f, 44100.0f, 48000.0f, 96000.0f};
    switch (call.op) {
    case effSetSpeakerArrangement:
    case effGetSpeakerArrangement:
        call.value = reinterpret_cast<VstIntPtr>(buffer.data());
        break;
    case effSetChunk:
        call.value = context.uniform(0, static_cast<int>(kBufferBytes));
        break;
    case effSetSampleRate:
    case effSetBlockSizeAndSampleRate:
        call.opt = rates[context.uniform(0, static_cast<int>(std::size(rates)) - 1)];
        call.value = context.uniform(1, 8192);
        break;
    case effSetBlockSize:
        call.value = context.uniform(1, 8192);
        break;
    case effSetProgramName:
    case effCanDo:
    case effString2Parameter: {
        const int length = context.uniform(0, 200);
        for (int i = 0; i < length; ++i)
            buffer[i] = static_cast<unsigned char>(context.uniform(32, 126));
        break;
    }
    default:
        break;
    }
}

// Random arguments for `op`: mostly small indices and values, sometimes any; the buffer cleared
// and, for text the plug-in reads, filled.
Call randomArguments(TestContext& context, VstInt32 op, std::vector<unsigned char>& buffer) {
    const float opts[] = {0.0f,
                          1.0f,
                          0.5f,
                          -1.0f,
                          127.0f,
                          1e30f,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()};
    Call call{op, 0, 0, 0.0f};
    call.index =
        context.uniform(0, 3) ? context.uniform(-2, 200) : static_cast<VstInt32>(context.random());
    call.value = context.uniform(0, 3)
                     ? context.uniform(-2, 200)
                     : static_cast<VstIntPtr>(static_cast<VstInt32>(context.random()));
    call.opt = opts[context.uniform(0, static_cast<int>(std::size(opts)) - 1)];
    std::memset(buffer.data(), 0, buffer.size());
    fitArguments(context, call, buffer);
    return call;
}

// Back to a known state: program 0, the defaults, the usual rate and block, a reset; then `in`
// rendered.
StereoSignal renderAfterReset(TestInstance& instance, const std::vector<float>& defaults,
                              const StereoSignal& in) {
    if (instance.numPrograms() > 0) instance.dispatch(effSetProgram, 0, 0);
    for (int i = 0; i < instance.numParams(); ++i)
        instance.set(i, defaults[i]);
    instance.suspend();
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    return instance.render(in, TestContext::kBlock);
}

} // namespace

void DispatcherTests::addTo(ValidationRunner& runner) {
    runner.add("dispatcher.random_calls", randomCalls);
}

void DispatcherTests::randomCalls(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    TestInstance fresh(context.library), instance(context.library);
    if (!context.require(fresh)) return;
    std::vector<float> defaults;
    for (int i = 0; i < fresh.numParams(); ++i)
        defaults.push_back(fresh.get(i));
    fresh.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal expected = fresh.render(in, TestContext::kBlock);

    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    std::vector<unsigned char> buffer(kBufferBytes);
    const int calls = context.options.count(kCalls);
    int skips = 0;
    for (int call = 0; call < calls; ++call) {
        const VstInt32 op = randomOpcode(context);
        if (skipped(op)) {
            ++skips;
            continue;
        }
        const Call c = randomArguments(context, op, buffer);
        instance.dispatch(c.op, c.index, c.value, buffer.data(), c.opt);
    }
    const StereoSignal out = renderAfterReset(instance, defaults, in);
    if (!context.checkOutput(instance, out, "after the random calls")) return;
    const SignalDifference d = compareSignals(expected, out);
    if (d.frames)
        return context.fail("after the random calls, with program 0, the defaults and a reset, the "
                            "output differs from a fresh instance's: " +
                            d.describe());
    context.note(std::to_string(calls - skips) +
                 " random calls with a 4 KiB buffer (skipped: effClose, effEditOpen, effEditClose; "
                 "speaker arrangements get the buffer as value, sample-rate opcodes real rates): "
                 "processing unchanged");
}

} // namespace qv
