#include "tools/validate/StateTests.h"

#include "tools/validate/ParameterTests.h"
#include "tools/validate/TestInstance.h"

#include <cstring>

namespace qv {

namespace {

constexpr std::size_t kRenderFrames = 44100;
constexpr int kRandomSettings = 4;
constexpr std::size_t kLongName = 300;
constexpr int kMaxListed = 6; // failing cases named in the report

// What a host stores: the program index and the values of the host-visible parameters.
struct SavedState {
    int program = 0;
    std::vector<float> values;
};

SavedState save(TestInstance& instance) {
    SavedState s;
    s.program = static_cast<int>(instance.dispatch(effGetProgram));
    for (int i = 0; i < instance.numParams(); ++i)
        s.values.push_back(instance.get(i));
    return s;
}

StereoSignal renderFrom(TestInstance& instance, const StereoSignal& in) {
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    return instance.render(in, TestContext::kBlock);
}

} // namespace

void StateTests::addTo(ValidationRunner& runner) {
    runner.add("state.round_trip", roundTrip);
    runner.add("state.programs", programs);
    runner.add("state.program_names", programNames);
}

void StateTests::roundTrip(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kRenderFrames);
    std::vector<std::string> failures;
    int cases = 0;
    // One original per program as loaded, then random settings on random programs.
    TestInstance probe(context.library);
    if (!context.require(probe)) return;
    const int programCount = std::max(probe.numPrograms(), 1);
    for (int round = 0; round < programCount + kRandomSettings; ++round) {
        const bool random = round >= programCount;
        const int program = random ? context.uniform(0, programCount - 1) : round;
        TestInstance original(context.library);
        original.dispatch(effSetProgram, 0, program);
        if (random)
            for (int i = 0; i < original.numParams(); ++i)
                original.set(i, context.unit());
        const SavedState state = save(original);
        const StereoSignal expected = renderFrom(original, in);
        for (bool withProgram : {true, false}) {
            ++cases;
            TestInstance restored(context.library);
            if (withProgram) restored.dispatch(effSetProgram, 0, state.program);
            for (int i = 0; i < restored.numParams(); ++i)
                restored.set(i, state.values[i]);
            const SignalDifference d = compareSignals(expected, renderFrom(restored, in));
            if (!d.frames) continue;
            char text[160];
            std::snprintf(text, sizeof text, "%s %d %s the program index (largest difference %.3g)",
                          random ? "random settings on program" : "program", program,
                          withProgram ? "with" : "without", d.largest);
            failures.push_back(text);
        }
    }
    if (failures.empty())
        return context.note(std::to_string(cases) + " restores (every program, " +
                            std::to_string(kRandomSettings) +
                            " random settings; with and without the program index): bit-identical");
    std::string list;
    for (std::size_t i = 0; i < failures.size() && i < kMaxListed; ++i)
        list += (i ? "; " : "") + failures[i];
    if (failures.size() > kMaxListed) list += "; ...";
    context.fail(std::to_string(failures.size()) + " of " + std::to_string(cases) +
                 " restores sound different: " + list);
}

void StateTests::programs(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal in =
        StereoSignal::programme(TestContext::kSampleRate, 4 * TestContext::kBlock);
    for (int p = 0; p < instance.numPrograms(); ++p) {
        instance.dispatch(effSetProgram, 0, p);
        const VstIntPtr now = instance.dispatch(effGetProgram);
        if (now != p)
            return context.fail("after effSetProgram " + std::to_string(p) + " the program is " +
                                std::to_string(now));
        if (!context.checkOutput(instance, instance.render(in, TestContext::kBlock),
                                 "program " + std::to_string(p)))
            return;
    }
    const int last = static_cast<int>(instance.dispatch(effGetProgram));
    for (VstIntPtr bad : {VstIntPtr{-1}, VstIntPtr{instance.numPrograms()}, VstIntPtr{1000000}}) {
        instance.dispatch(effSetProgram, 0, bad);
        if (instance.dispatch(effGetProgram) != last)
            return context.fail("effSetProgram " + std::to_string(bad) +
                                " changed the program to " +
                                std::to_string(instance.dispatch(effGetProgram)));
    }
    context.note(std::to_string(instance.numPrograms()) +
                 " programs: selected, clean output; -1, " +
                 std::to_string(instance.numPrograms()) + ", 1000000 ignored");
}

void StateTests::programNames(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    const int count = instance.numPrograms();
    if (count < 1) return context.note("no programs");
    std::vector<std::string> before;
    for (int p = 0; p < count; ++p)
        before.push_back(instance.text(effGetProgramNameIndexed, p));
    const int target = count / 2;
    instance.dispatch(effSetProgram, 0, target);
    const std::string original = instance.text(effGetProgramName);
    char name[] = "Validated";
    instance.dispatch(effSetProgramName, 0, 0, name);
    const std::string readBack = instance.text(effGetProgramName);
    // Renaming is optional; a plug-in that renames must keep the name.
    const bool renames = readBack != original;
    if (renames && readBack != name)
        return context.fail("a program named \"Validated\" reads back as \"" + readBack + "\"");
    std::string longName(kLongName, 'x');
    instance.dispatch(effSetProgramName, 0, 0, &longName[0]);
    const std::string problem = ParameterTests::checkText(instance, effGetProgramName, 0, 0,
                                                          ParameterTests::kProgramNameMax);
    if (!problem.empty()) return context.fail("after a 300-character name: " + problem);
    for (int p = 0; p < count; ++p) {
        if (p == target) continue;
        const std::string now = instance.text(effGetProgramNameIndexed, p);
        if (now != before[p])
            return context.fail("a 300-character name for program " + std::to_string(target) +
                                " changed program " + std::to_string(p) + "'s name from \"" +
                                before[p] + "\" to \"" + now + "\"");
    }
    context.note(std::string(renames ? "names set and read back" : "programs cannot be renamed") +
                 "; a 300-character name kept within " +
                 std::to_string(ParameterTests::kProgramNameMax) +
                 " characters, other programs untouched");
}

} // namespace qv
