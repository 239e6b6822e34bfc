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
    const float opts[] = {0.0f,
                          1.0f,
                          0.5f,
                          -1.0f,
                          127.0f,
                          1e30f,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()};
    const float rates[] = {22050.0f, 44100.0f, 48000.0f, 96000.0f};
    std::vector<unsigned char> buffer(kBufferBytes);
    const int calls = context.options.count(kCalls);
    int skips = 0;
    for (int call = 0; call < calls; ++call) {
        const VstInt32 op = context.uniform(0, 9) < 8 ? context.uniform(-2, kCommonOpcodes)
                                                      : static_cast<VstInt32>(context.random());
        if (skipped(op)) {
            ++skips;
            continue;
        }
        const VstInt32 index = context.uniform(0, 3) ? context.uniform(-2, 200)
                                                     : static_cast<VstInt32>(context.random());
        VstIntPtr value = context.uniform(0, 3)
                              ? context.uniform(-2, 200)
                              : static_cast<VstIntPtr>(static_cast<VstInt32>(context.random()));
        float opt = opts[context.uniform(0, static_cast<int>(std::size(opts)) - 1)];
        std::memset(buffer.data(), 0, buffer.size());
        switch (op) {
        case effSetSpeakerArrangement:
        case effGetSpeakerArrangement:
            value = reinterpret_cast<VstIntPtr>(buffer.data());
            break;
        case effSetChunk:
            value = context.uniform(0, static_cast<int>(kBufferBytes));
            break;
        case effSetSampleRate:
        case effSetBlockSizeAndSampleRate:
            opt = rates[context.uniform(0, static_cast<int>(std::size(rates)) - 1)];
            value = context.uniform(1, 8192);
            break;
        case effSetBlockSize:
            value = context.uniform(1, 8192);
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
        instance.dispatch(op, index, value, buffer.data(), opt);
    }
    // Back to a known state: program 0, the defaults, the usual rate and block, a reset.
    if (instance.numPrograms() > 0) instance.dispatch(effSetProgram, 0, 0);
    for (int i = 0; i < instance.numParams(); ++i)
        instance.set(i, defaults[i]);
    instance.suspend();
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal out = instance.render(in, TestContext::kBlock);
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
