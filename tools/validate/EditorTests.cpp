#include "tools/validate/EditorTests.h"

#include "tools/validate/EditorHost.h"
#include "tools/validate/TestInstance.h"

#include <atomic>

namespace qv {

namespace {
constexpr int kCycles = 500;
constexpr int kIdleRounds = 3;
} // namespace

void EditorTests::addTo(ValidationRunner& runner) {
    runner.add("editor.cycles_while_processing", cyclesWhileProcessing);
}

void EditorTests::cycle(TestInstance& instance, int cycles) {
    EditorHost host;
    for (int i = 0; i < cycles; ++i) {
        host.open(instance);
        EditorHost::idle(instance, kIdleRounds, 0);
        EditorHost::close(instance);
        EditorHost::pump();
    }
}

void EditorTests::cyclesWhileProcessing(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    if (!instance.hasEditor()) return context.note("no editor");
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal in =
        StereoSignal::programme(TestContext::kSampleRate, 8 * TestContext::kBlock);
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};
    GuardedThread audio;
    audio.start([&] {
        StereoSignal out(in.frames());
        std::size_t pos = 0;
        while (!stop) {
            instance.process(in, out, pos, TestContext::kBlock);
            pos = (pos + TestContext::kBlock) % in.frames();
            ++blocks;
        }
        context.checkOutput(instance, out, "audio thread");
    });
    const int cycles = context.options.count(kCycles);
    CrashInfo crash;
    const bool ok = CrashTrap::run([&] { cycle(instance, cycles); }, crash);
    stop = true;
    audio.join();
    if (!ok) context.fail("crash in the editor thread: " + crash.describe());
    if (!context.checkThread(audio, "the audio thread") || !ok) return instance.abandon();
    context.note(std::to_string(cycles) + " editor cycles while " + std::to_string(blocks.load()) +
                 " blocks were processed");
}

} // namespace qv
