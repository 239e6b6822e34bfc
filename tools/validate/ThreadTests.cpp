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
    const int params = instance.numParams();
    const std::uint32_t seed = static_cast<std::uint32_t>(context.random());
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0}, changes{0}, cycles{0};

    GuardedThread audio, automation, ui;
    audio.start([&] {
        StereoSignal out(in.frames());
        std::size_t pos = 0;
        while (!stop) {
            instance.process(in, out, pos, TestContext::kBlock);
            pos = (pos + TestContext::kBlock) % in.frames();
            ++blocks;
            Sleep(kAudioPauseMs);
        }
        // Only the generic checks: the ceiling moves under the automation.
        if (!findBadSample(out, INFINITY).empty())
            context.fail("audio thread: " + findBadSample(out, INFINITY));
    });
    automation.start([&] {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        while (!stop && params > 0) {
            instance.set(static_cast<VstInt32>(random() % static_cast<unsigned>(params)),
                         value(random));
            ++changes;
        }
    });
    if (editor) {
        ui.start([&] {
            EditorHost host;
            if (!host.valid()) return context.fail("cannot create the editor's host window");
            while (!stop) {
                host.open(instance);
                EditorHost::idle(instance, kIdleRounds, kIdlePauseMs);
                EditorHost::close(instance);
                EditorHost::pump();
                ++cycles;
            }
        });
    }
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
    stop = true;
    bool hung = false;
    for (GuardedThread* t : {&audio, &automation, &ui})
        if (!t->join(kJoinMs)) {
            t->terminate();
            hung = true;
        }
    char counts[160];
    std::snprintf(counts, sizeof counts, "%ld editor cycles, %ld parameter changes, %ld blocks",
                  cycles.load(), changes.load(), blocks.load());
    std::string problems;
    const std::pair<GuardedThread*, const char*> roles[] = {
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
