#include "tools/validate/FpuTests.h"

#include "tools/validate/EditorHost.h"
#include "tools/validate/FpuState.h"
#include "tools/validate/TestInstance.h"

#include <cstdio>
#include <functional>
#include <memory>

namespace qv {

namespace {

// x87: 24-bit precision, round toward zero, all masked. MXCSR: flush-to-zero, denormals-are-zero,
// round up, all masked.
constexpr FpuState kUnusual = {0x0C7F, 0x1F80 | 0x8000 | 0x0040 | 0x4000};
// A host that wants to hear of invalid operations, division by zero and overflow: those three
// unmasked, 64-bit precision, round to nearest (bit 6 always reads as set); the same three
// unmasked in MXCSR.
constexpr FpuState kUnmasked = {0x1372, 0x1900};

struct Step {
    const char* name;
    std::function<void()> call;
};

// Runs the calls of a whole instance lifetime under `host`, checking the settings after each.
// Returns "" or what went wrong.
std::string lifetime(TestContext& context, const FpuState& host) {
    const FpuState saved = FpuState::read();
    std::unique_ptr<TestInstance> instance;
    std::unique_ptr<EditorHost> window;
    const StereoSignal in =
        StereoSignal::programme(TestContext::kSampleRate, 8 * TestContext::kBlock);
    StereoSignal out(in.frames());
    char text[96];
    std::vector<Step> steps = {
        {"main and effOpen", [&] { instance = std::make_unique<TestInstance>(context.library); }},
        {"effSetSampleRate",
         [&] { instance->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f); }},
        {"effSetBlockSize", [&] { instance->dispatch(effSetBlockSize, 0, TestContext::kBlock); }},
        {"effMainsChanged (resume)", [&] { instance->resume(); }},
        {"setParameter",
         [&] {
             for (int i = 0; i < instance->numParams(); ++i)
                 instance->set(i, 0.3f);
         }},
        {"getParameter",
         [&] {
             for (int i = 0; i < instance->numParams(); ++i)
                 instance->get(i);
         }},
        {"text opcodes",
         [&] {
             for (int i = 0; i < instance->numParams(); ++i)
                 for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay})
                     instance->dispatch(op, i, 0, text);
             instance->dispatch(effGetProgramName, 0, 0, text);
         }},
        {"effSetProgram",
         [&] {
             for (int p = 0; p < instance->numPrograms(); ++p)
                 instance->dispatch(effSetProgram, 0, p);
         }},
        {"processReplacing",
         [&] {
             for (std::size_t pos = 0; pos < in.frames(); pos += TestContext::kBlock)
                 instance->process(in, out, pos, TestContext::kBlock);
         }},
        {"process",
         [&] {
             for (std::size_t pos = 0; pos < in.frames(); pos += TestContext::kBlock)
                 instance->process(in, out, pos, TestContext::kBlock,
                                   TestInstance::Call::Accumulating);
         }},
        {"effEditOpen",
         [&] {
             window = std::make_unique<EditorHost>();
             if (instance->hasEditor()) window->open(*instance);
         }},
        {"effEditIdle and window messages",
         [&] {
             if (instance->hasEditor()) EditorHost::idle(*instance, 5, 2);
         }},
        {"effEditClose",
         [&] {
             if (instance->hasEditor()) EditorHost::close(*instance);
             window.reset();
         }},
        {"effMainsChanged (suspend)", [&] { instance->suspend(); }},
        {"effClose", [&] { instance.reset(); }},
    };
    std::string problem;
    for (const Step& step : steps) {
        host.load();
        CrashInfo crash;
        const bool ok = CrashTrap::run(step.call, crash);
        const FpuState after = FpuState::read();
        saved.load();
        if (!ok) {
            problem = std::string(step.name) + " raised " + crash.describe();
            break;
        }
        if (!after.sameControls(host)) {
            std::snprintf(text, sizeof text,
                          " changed x87 0x%04x -> 0x%04x, MXCSR 0x%04x -> 0x%04x", host.x87,
                          after.x87, host.mxcsr & FpuState::kMxcsrControlBits,
                          after.mxcsr & FpuState::kMxcsrControlBits);
            problem = std::string(step.name) + text;
            break;
        }
        if (!instance) break; // refused to start
    }
    if (!problem.empty() && instance) instance->abandon();
    return problem;
}

} // namespace

void FpuTests::addTo(ValidationRunner& runner) {
    runner.add("fpu.control_words", controlWords);
    runner.add("fpu.unmasked_exceptions", unmaskedExceptions);
}

void FpuTests::controlWords(TestContext& context) {
    const FpuState usual = FpuState::read();
    for (const FpuState* host : {&usual, &kUnusual}) {
        const std::string problem = lifetime(context, *host);
        if (!problem.empty())
            return context.fail((host == &usual ? "usual settings: " : "unusual settings: ") +
                                problem);
    }
    context.note(
        "x87 control word and MXCSR unchanged by every call, with usual and unusual settings");
}

void FpuTests::unmaskedExceptions(TestContext& context) {
    const std::string problem = lifetime(context, kUnmasked);
    if (!problem.empty()) return context.fail(problem);
    context.note("no floating-point exception raised, settings unchanged, with invalid operation, "
                 "division by zero and overflow unmasked");
}

} // namespace qv
