#include "tools/validate/LifecycleTests.h"

#include "tools/Stopwatch.h"
#include "tools/validate/TestInstance.h"

#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>

namespace qv {

namespace {
constexpr int kCreateRounds = 200;
constexpr int kParallelInstances = 8;
constexpr std::size_t kRenderFrames = 22050; // half a second at 44.1 kHz
constexpr int kResumes = 10;
constexpr int kBarrierWaitMs = 20000; // for the other instances to exist
} // namespace

void LifecycleTests::addTo(ValidationRunner& runner) {
    runner.add("lifecycle.create_close", createClose);
    runner.add("lifecycle.parallel_instances", parallelInstances);
    runner.add("lifecycle.process_unprepared", processUnprepared);
    runner.add("lifecycle.repeated_resume", repeatedResume);
    runner.add("lifecycle.suspend_resume_while_reading", suspendResumeWhileReading);
}

void LifecycleTests::createClose(TestContext& context) {
    const int rounds = context.options.count(kCreateRounds);
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, TestContext::kBlock);
    StereoSignal out(in.frames());
    for (int round = 0; round < rounds; ++round) {
        TestInstance instance(context.library);
        if (!context.require(instance)) return;
        instance.start(TestContext::kSampleRate, TestContext::kBlock);
        instance.process(in, out, 0, TestContext::kBlock);
        instance.suspend();
        if (!context.checkOutput(instance, out, "round " + std::to_string(round))) return;
    }
    context.note(std::to_string(rounds) + " rounds of create, start, process, stop, close");
}

void LifecycleTests::parallelInstances(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kRenderFrames);
    // Each instance on its own program, so that the instances differ.
    auto renderOn = [&](TestInstance& instance, int k) {
        if (instance.numPrograms() > 0)
            instance.dispatch(effSetProgram, 0, k % instance.numPrograms());
        instance.start(TestContext::kSampleRate, TestContext::kBlock);
        return instance.render(in, TestContext::kBlock);
    };
    std::vector<StereoSignal> serial(kParallelInstances), parallel(kParallelInstances);
    for (int k = 0; k < kParallelInstances; ++k) {
        TestInstance instance(context.library);
        if (!context.require(instance)) return;
        serial[k] = renderOn(instance, k);
    }
    std::atomic<int> alive{0};
    std::atomic<bool> refused{false};
    std::vector<std::unique_ptr<GuardedThread>> threads;
    for (int k = 0; k < kParallelInstances; ++k) {
        threads.push_back(std::make_unique<GuardedThread>());
        threads.back()->start([&, k] {
            TestInstance instance(context.library);
            if (!instance.valid()) refused = true;
            // Every instance exists before any processes (unless one crashed being made).
            ++alive;
            for (int waited = 0;
                 alive.load() < kParallelInstances && !refused && waited < kBarrierWaitMs; ++waited)
                Sleep(1);
            if (instance.valid()) parallel[k] = renderOn(instance, k);
        });
    }
    for (int k = 0; k < kParallelInstances; ++k) {
        threads[k]->join();
        context.checkThread(*threads[k], "instance thread " + std::to_string(k));
    }
    if (refused) return context.fail("an instance could not be created while others existed");
    for (int k = 0; k < kParallelInstances && !context.failed(); ++k) {
        const SignalDifference d = compareSignals(serial[k], parallel[k]);
        if (d.frames)
            context.fail("instance " + std::to_string(k) +
                         " on its own thread differs from its serial run: " + d.describe());
    }
    if (!context.failed())
        context.note(std::to_string(kParallelInstances) +
                     " instances on their own threads, output identical to serial runs");
}

void LifecycleTests::processUnprepared(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, TestContext::kBlock);
    StereoSignal out(in.frames());
    {
        TestInstance instance(context.library);
        if (!context.require(instance)) return;
        instance.process(in, out, 0, TestContext::kBlock);
        if (!context.checkOutput(instance, out, "process before resume")) return;
    }
    {
        TestInstance instance(context.library);
        instance.resume();
        instance.process(in, out, 0, TestContext::kBlock);
        if (!context.checkOutput(instance, out, "resume without rate or block size")) return;
    }
    {
        TestInstance instance(context.library);
        instance.start(TestContext::kSampleRate, TestContext::kBlock);
        instance.process(in, out, 0, TestContext::kBlock);
        instance.suspend();
        instance.process(in, out, 0, TestContext::kBlock);
        if (!context.checkOutput(instance, out, "process after suspend")) return;
    }
    context.note("before resume, without rate or block size, after suspend: clean output");
}

void LifecycleTests::repeatedResume(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kRenderFrames);
    TestInstance once(context.library), many(context.library);
    if (!context.require(once)) return;
    once.start(TestContext::kSampleRate, TestContext::kBlock);
    many.start(TestContext::kSampleRate, TestContext::kBlock);
    for (int i = 1; i < kResumes; ++i)
        many.resume();
    const StereoSignal a = once.render(in, TestContext::kBlock);
    const StereoSignal b = many.render(in, TestContext::kBlock);
    if (!context.checkOutput(many, b, "after repeated resume")) return;
    const SignalDifference d = compareSignals(a, b);
    if (d.frames)
        return context.fail(std::to_string(kResumes) + " resumes differ from one: " + d.describe());
    context.note(std::to_string(kResumes) + " resumes in a row: output identical to one");
}

void LifecycleTests::suspendResumeWhileReading(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const int count = instance.numParams();
    std::vector<float> values;
    for (int i = 0; i < count; ++i)
        values.push_back(instance.get(i));
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, TestContext::kBlock);
    std::atomic<bool> stop{false};
    std::atomic<long> cycles{0}, reads{0};
    GuardedThread reader;
    reader.start([&] {
        char text[256];
        while (!stop) {
            for (int i = 0; i < count && !stop; ++i) {
                const float v = instance.get(i);
                instance.dispatch(effGetParamDisplay, i, 0, text);
                if (std::memcmp(&v, &values[i], sizeof v) != 0) {
                    context.fail("parameter " + std::to_string(i) + " read " + std::to_string(v) +
                                 " instead of " + std::to_string(values[i]) +
                                 " while only suspend and resume ran");
                    stop = true;
                }
                ++reads;
            }
        }
    });
    StereoSignal out(in.frames());
    Stopwatch clock;
    while (!stop && clock.seconds() < context.options.seconds) {
        instance.suspend();
        instance.resume();
        instance.process(in, out, 0, TestContext::kBlock);
        ++cycles;
        if (!context.checkOutput(instance, out, "processing between resumes")) break;
    }
    stop = true;
    reader.join();
    if (!context.checkThread(reader, "the reading thread")) return instance.abandon();
    context.note(std::to_string(cycles.load()) + " suspend/resume cycles, " +
                 std::to_string(reads.load()) + " parameter reads on another thread");
}

} // namespace qv
