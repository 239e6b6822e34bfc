#include "tools/validate/FpuTests.h"

#include "tools/validate/EditorHost.h"
#include "tools/validate/FpuState.h"
#include "tools/validate/TestInstance.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

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

// What the steps of a lifetime work on.
struct Lifetime {
    explicit Lifetime(TestContext& context)
        : context(context),
          in(StereoSignal::programme(TestContext::kSampleRate, 8 * TestContext::kBlock)),
          out(in.frames()) {}
    TestContext& context;
    std::unique_ptr<TestInstance> instance; // null before main and after effClose
    std::unique_ptr<EditorHost> window;     // the editor's parent while it is open
    StereoSignal in, out;                   // the programme processed, and its output
    char text[96] = {};                     // text opcodes' buffer
};

// From main to the first processing: set-up, parameters, texts and programs.
std::vector<Step> setUpSteps(Lifetime& l) {
    return {
        {"main and effOpen",
         [&] { l.instance = std::make_unique<TestInstance>(l.context.library); }},
        {"effSetSampleRate",
         [&] { l.instance->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f); }},
        {"effSetBlockSize", [&] { l.instance->dispatch(effSetBlockSize, 0, TestContext::kBlock); }},
        {"effMainsChanged (resume)", [&] { l.instance->resume(); }},
        {"setParameter",
         [&] {
             for (int i = 0; i < l.instance->numParams(); ++i)
                 l.instance->set(i, 0.3f);
         }},
        {"getParameter",
         [&] {
             for (int i = 0; i < l.instance->numParams(); ++i)
                 l.instance->get(i);
         }},
        {"text opcodes",
         [&] {
             for (int i = 0; i < l.instance->numParams(); ++i)
                 for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay})
                     l.instance->dispatch(op, i, 0, l.text);
             l.instance->dispatch(effGetProgramName, 0, 0, l.text);
         }},
        {"effSetProgram",
         [&] {
             for (int p = 0; p < l.instance->numPrograms(); ++p)
                 l.instance->dispatch(effSetProgram, 0, p);
         }},
    };
}

// From the first processing to effClose: both process calls, the editor, suspend and close.
std::vector<Step> workAndEndSteps(Lifetime& l) {
    return {
        {"processReplacing",
         [&] {
             for (std::size_t pos = 0; pos < l.in.frames(); pos += TestContext::kBlock)
                 l.instance->process(l.in, l.out, pos, TestContext::kBlock);
         }},
        {"process",
         [&] {
             for (std::size_t pos = 0; pos < l.in.frames(); pos += TestContext::kBlock)
                 l.instance->process(l.in, l.out, pos, TestContext::kBlock,
                                     TestInstance::Call::Accumulating);
         }},
        {"effEditOpen",
         [&] {
             l.window = std::make_unique<EditorHost>();
             if (l.instance->hasEditor()) l.window->open(*l.instance);
         }},
        {"effEditIdle and window messages",
         [&] {
             if (l.instance->hasEditor()) EditorHost::idle(*l.instance, 5, 2);
         }},
        {"effEditClose",
         [&] {
             if (l.instance->hasEditor()) EditorHost::close(*l.instance);
             l.window.reset();
         }},
        {"effMainsChanged (suspend)", [&] { l.instance->suspend(); }},
        {"effClose", [&] { l.instance.reset(); }},
    };
}

// Runs each step under `host`, checking the settings after it; the caller's settings are back
// after every step. Returns "" or what went wrong.
std::string runUnder(const FpuState& host, const std::vector<Step>& steps, Lifetime& l) {
    const FpuState saved = FpuState::read();
    for (const Step& step : steps) {
        host.load();
        CrashInfo crash;
        const bool ok = CrashTrap::run(step.call, crash);
        const FpuState after = FpuState::read();
        saved.load();
        if (!ok) return std::string(step.name) + " raised " + crash.describe();
        if (!after.sameControls(host)) {
            std::snprintf(l.text, sizeof l.text,
                          " changed x87 0x%04x -> 0x%04x, MXCSR 0x%04x -> 0x%04x", host.x87,
                          after.x87, host.mxcsr & FpuState::kMxcsrControlBits,
                          after.mxcsr & FpuState::kMxcsrControlBits);
            return std::string(step.name) + l.text;
        }
        if (!l.instance) break; // refused to start
    }
    return "";
}

// Runs the calls of a whole instance lifetime under `host`, checking the settings after each.
// Returns "" or what went wrong.
std::string lifetime(TestContext& context, const FpuState& host) {
    Lifetime l(context);
    std::vector<Step> steps = setUpSteps(l);
    for (Step& step : workAndEndSteps(l))
        steps.push_back(std::move(step));
    const std::string problem = runUnder(host, steps, l);
    if (!problem.empty() && l.instance) l.instance->abandon();
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
