#include "tools/validate/ThreadTests.h"

#include "tools/Stopwatch.h"
#include "tools/validate/EditorHost.h"
#include "tools/validate/TestInstance.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <random>

namespace qv {

namespace {

constexpr int kIdleRounds = 5;            // editor idles per open
constexpr unsigned long kIdlePauseMs = 2; // between idles
constexpr unsigned long kAudioPauseMs =
    1; // paced like a host's audio thread, leaving the CPU to the others
constexpr unsigned long kJoinMs = 20000; // a thread still running this long after the stop hangs

// What the three threads share: the stop signal and how much each has done.
struct Race {
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};  // processed by the audio thread
    std::atomic<long> changes{0}; // parameter changes by the automation thread
    std::atomic<long> cycles{0};  // editor open, idle and close cycles
};

// The audio thread: the programme in blocks, paced, until the stop; then its output checked.
void runAudio(TestContext& context, TestInstance& instance, const StereoSignal& in, Race& race) {
    StereoSignal out(in.frames());
    std::size_t pos = 0;
    while (!race.stop) {
        instance.process(in, out, pos, TestContext::kBlock);
        pos = (pos + TestContext::kBlock) % in.frames();
        ++race.blocks;
        Sleep(kAudioPauseMs);
    }
    // Only the generic checks: the ceiling moves under the automation.
    if (!findBadSample(out, INFINITY).empty())
        context.fail("audio thread: " + findBadSample(out, INFINITY));
}

// The automation thread: random values for random parameters, as fast as it can.
void runAutomation(TestInstance& instance, std::uint32_t seed, Race& race) {
    const int params = instance.numParams();
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    while (!race.stop && params > 0) {
        instance.set(static_cast<VstInt32>(random() % static_cast<unsigned>(params)),
                     value(random));
        ++race.changes;
    }
}

// The user-interface thread: the editor opened, idled and closed in a window of our own.
void runEditor(TestContext& context, TestInstance& instance, Race& race) {
    EditorHost host;
    if (!host.valid()) return context.fail("cannot create the editor's host window");
    while (!race.stop) {
        host.open(instance);
        EditorHost::idle(instance, kIdleRounds, kIdlePauseMs);
        EditorHost::close(instance);
        EditorHost::pump();
        ++race.cycles;
    }
}

// The crashes of the three threads, and a hang, as one message (empty: none).
std::string problemsOf(const GuardedThread& audio, const GuardedThread& automation,
                       const GuardedThread& ui, bool hung) {
    std::string problems;
    const std::pair<const GuardedThread*, const char*> roles[] = {
        {&automation, "the automation thread (setParameter)"},
        {&ui, "the editor thread (open, idle, close)"},
        {&audio, "the audio thread (processReplacing)"}};
    for (const auto& r : roles)
        if (r.first->crash().crashed)
            problems += (problems.empty() ? "crash in " : "; crash in ") + std::string(r.second) +
                        ": " + r.first->crash().describe();
    if (hung)
        problems +=
            (problems.empty() ? "" : "; ") + std::string("a thread did not stop within 20 s");
    return problems;
}

} // namespace

void ThreadTests::addTo(ValidationRunner& runner) {
    runner.add("threads.editor_vs_automation", editorVersusAutomation);
}

void ThreadTests::editorVersusAutomation(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal in =
        StereoSignal::programme(TestContext::kSampleRate, 8 * TestContext::kBlock);
    const bool editor = instance.hasEditor();
    const std::uint32_t seed = static_cast<std::uint32_t>(context.random());
    Race race;
    GuardedThread audio, automation, ui;
    audio.start([&] { runAudio(context, instance, in, race); });
    automation.start([&] { runAutomation(instance, seed, race); });
    if (editor) ui.start([&] { runEditor(context, instance, race); });

    // Watch for the first crash, and stop everything when one happens or the time is up.
    Stopwatch clock;
    double crashedAt = -1.0;
    while (clock.seconds() < context.options.seconds) {
        if (audio.crash().crashed || automation.crash().crashed || ui.crash().crashed) {
            crashedAt = clock.seconds();
            break;
        }
        Sleep(10);
    }
    race.stop = true;
    bool hung = false;
    for (GuardedThread* t : {&audio, &automation, &ui})
        if (!t->join(kJoinMs)) {
            t->terminate();
            hung = true;
        }
    char counts[160];
    std::snprintf(counts, sizeof counts, "%ld editor cycles, %ld parameter changes, %ld blocks",
                  race.cycles.load(), race.changes.load(), race.blocks.load());
    const std::string problems = problemsOf(audio, automation, ui, hung);
    if (!problems.empty()) {
        instance.abandon(); // its state is not to be trusted any more
        char when[64];
        std::snprintf(when, sizeof when, " after %.2f s (",
                      crashedAt >= 0 ? crashedAt : clock.seconds());
        return context.fail(problems + when + counts + ")");
    }
    context.note(std::string(editor ? "" : "no editor: ") + counts + " at once, " +
                 std::to_string(static_cast<int>(context.options.seconds)) + " s");
}

} // namespace qv
