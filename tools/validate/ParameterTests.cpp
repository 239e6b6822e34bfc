#include "tools/validate/ParameterTests.h"

#include "tools/Stopwatch.h"
#include "tools/validate/TestInstance.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace qv {

namespace {

constexpr int kAutomationStep = 32; // frames between automation events
constexpr std::size_t kCompareFrames = 44100;

std::string valueText(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

} // namespace

void ParameterTests::addTo(ValidationRunner& runner) {
    runner.add("params.out_of_range_values", outOfRangeValues);
    runner.add("params.out_of_range_indices", outOfRangeIndices);
    runner.add("params.text_opcodes", textOpcodes);
    runner.add("params.automation", automation);
}

std::string ParameterTests::checkText(TestInstance& instance, VstInt32 opcode, VstInt32 index,
                                      VstIntPtr value, int maxLength) {
    unsigned char buffer[4 * kBufferBytes];
    std::memset(buffer, kCanary, sizeof buffer);
    instance.dispatch(opcode, index, value, buffer);
    char text[160];
    for (std::size_t i = kBufferBytes; i < sizeof buffer; ++i) {
        if (buffer[i] == kCanary) continue;
        std::snprintf(text, sizeof text, "opcode %d index %d wrote byte %zu of the buffer", opcode,
                      index, i);
        return text;
    }
    if (buffer[0] == kCanary) return ""; // nothing written: no text
    const void* end = std::memchr(buffer, 0, kBufferBytes);
    if (!end) {
        std::snprintf(text, sizeof text, "opcode %d index %d: no terminating zero in %d bytes",
                      opcode, index, kBufferBytes);
        return text;
    }
    const auto length = static_cast<int>(static_cast<const unsigned char*>(end) - buffer);
    if (length > maxLength) {
        std::snprintf(text, sizeof text,
                      "opcode %d index %d: \"%s\" is %d characters, more than %d", opcode, index,
                      reinterpret_cast<const char*>(buffer), length, maxLength);
        return text;
    }
    return "";
}

void ParameterTests::outOfRangeValues(TestContext& context) {
    const float bad[] = {-1.0f,
                         -0.001f,
                         1.001f,
                         2.0f,
                         1e30f,
                         -1e30f,
                         std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    TestInstance fresh(context.library), instance(context.library);
    if (!context.require(fresh)) return;
    fresh.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal expected = fresh.render(in, TestContext::kBlock);
    std::vector<float> defaults;
    for (int i = 0; i < fresh.numParams(); ++i)
        defaults.push_back(fresh.get(i));
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    StereoSignal out(in.frames());
    std::string outside; // the first value read back outside 0..1 (reported, not failed)
    for (int i = 0; i < instance.numParams(); ++i) {
        for (float v : bad) {
            instance.set(i, v);
            const float back = instance.get(i);
            const std::string step = "parameter " + std::to_string(i) + " set to " + valueText(v);
            if (!std::isfinite(back)) return context.fail(step + " reads back " + valueText(back));
            if (!(back >= 0.0f && back <= 1.0f) && outside.empty())
                outside = step + " reads back " + valueText(back);
            const std::string text =
                checkText(instance, effGetParamDisplay, i, 0, kParameterTextMax);
            if (!text.empty()) return context.fail(step + ": " + text);
            instance.process(in, out, 0, TestContext::kBlock);
            StereoSignal block(TestContext::kBlock);
            std::copy_n(out.left.begin(), TestContext::kBlock, block.left.begin());
            std::copy_n(out.right.begin(), TestContext::kBlock, block.right.begin());
            if (!context.checkOutput(instance, block, step)) return;
        }
    }
    // No lasting damage: the defaults back, a reset, and the output of a fresh instance.
    for (int i = 0; i < instance.numParams(); ++i)
        instance.set(i, defaults[i]);
    instance.suspend();
    instance.resume();
    const SignalDifference d = compareSignals(expected, instance.render(in, TestContext::kBlock));
    if (d.frames)
        return context.fail(
            "with the defaults back and a reset, the output differs from a fresh instance's: " +
            d.describe());
    context.note(std::to_string(instance.numParams()) +
                 " parameters at -1, 2, +-1e30, NaN, +-infinity ...: finite when read back, clean "
                 "output, no lasting change" +
                 (outside.empty() ? std::string() : "; note: " + outside));
}

void ParameterTests::outOfRangeIndices(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const int n = instance.numParams();
    const VstInt32 indices[] = {-1, -100, n, n + 1, n + 1000, INT_MIN, INT_MAX};
    for (VstInt32 index : indices) {
        instance.set(index, 0.5f);
        const float v = instance.get(index);
        if (!std::isfinite(v))
            return context.fail("getParameter(" + std::to_string(index) + ") returns " +
                                valueText(v));
        for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
            const std::string text = checkText(instance, op, index, 0, kParameterTextMax);
            if (!text.empty()) return context.fail(text);
        }
        instance.dispatch(effCanBeAutomated, index);
    }
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    if (!context.checkOutput(instance, instance.render(in, TestContext::kBlock),
                             "after the bad indices"))
        return;
    context.note(
        "indices -1, -100, numParams(+1, +1000), INT_MIN, INT_MAX: no crash, clean output");
}

void ParameterTests::textOpcodes(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    int calls = 0;
    auto check = [&](VstInt32 op, VstInt32 index, VstIntPtr value, int maxLength) {
        ++calls;
        const std::string problem = checkText(instance, op, index, value, maxLength);
        if (!problem.empty()) context.fail(problem);
        return problem.empty();
    };
    const int n = instance.numParams();
    for (int i = -1; i <= n; ++i)
        for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay})
            if (!check(op, i, 0, kParameterTextMax)) return;
    for (int p = -1; p <= instance.numPrograms(); ++p) {
        if (!check(effGetProgramNameIndexed, p, 0, kProgramNameMax)) return;
        if (!check(effGetProgramNameIndexed, p, -1, kProgramNameMax)) return;
        if (p >= 0 && p < instance.numPrograms()) {
            instance.dispatch(effSetProgram, 0, p);
            if (!check(effGetProgramName, 0, 0, kProgramNameMax)) return;
        }
    }
    if (!check(effGetEffectName, 0, 0, kEffectNameMax)) return;
    if (!check(effGetVendorString, 0, 0, kVendorTextMax)) return;
    if (!check(effGetProductString, 0, 0, kVendorTextMax)) return;
    context.note(
        std::to_string(calls) + " text queries: nothing written at or past byte 64, names within " +
        std::to_string(kParameterTextMax) + " (parameters), " + std::to_string(kProgramNameMax) +
        " (programs), " + std::to_string(kEffectNameMax) + " (effect) characters");
}

void ParameterTests::automation(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    StereoSignal chunk(kAutomationStep);
    long events = 0;
    std::size_t pos = 0, frames = 0;
    Stopwatch clock;
    while (clock.seconds() < context.options.seconds) {
        if (instance.numParams() > 0) {
            const int count = context.uniform(1, 3);
            for (int k = 0; k < count; ++k, ++events)
                instance.set(context.uniform(0, instance.numParams() - 1), context.unit());
        }
        StereoSignal slice(kAutomationStep);
        std::copy_n(in.left.begin() + static_cast<std::ptrdiff_t>(pos), kAutomationStep,
                    slice.left.begin());
        std::copy_n(in.right.begin() + static_cast<std::ptrdiff_t>(pos), kAutomationStep,
                    slice.right.begin());
        instance.process(slice, chunk, 0, kAutomationStep);
        if (!context.checkOutput(instance, chunk, "automation at frame " + std::to_string(frames)))
            return;
        pos = pos + 2 * kAutomationStep > in.frames() ? 0 : pos + kAutomationStep;
        frames += kAutomationStep;
    }
    char text[128];
    std::snprintf(text, sizeof text,
                  "%ld random changes every 32 frames over %.1f s of audio: clean output", events,
                  static_cast<double>(frames) / TestContext::kSampleRate);
    context.note(text);
}

} // namespace qv
