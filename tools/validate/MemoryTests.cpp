#include "tools/validate/MemoryTests.h"

#include "tools/validate/EditorTests.h"
#include "tools/validate/TestInstance.h"

#include <cstdio>

namespace qv {

namespace {
constexpr int kInstanceCycles = 1000;
constexpr int kEditorCycles = 500;
constexpr int kWarmUpCycles = 10; // first-use allocations of the system libraries and ours
} // namespace

void MemoryTests::addTo(ValidationRunner& runner) {
    runner.add("memory.instance_cycles", instanceCycles);
    runner.add("memory.editor_cycles", editorCycles);
}

void MemoryTests::judge(TestContext& context, const ProcessMemory& before,
                        const std::string& what) {
    const ProcessMemory after = ProcessMemory::now();
    const std::string growth = what + ": " + after.growthSince(before);
    const double heapKiB = static_cast<double>(after.heapBytes - before.heapBytes) / 1024.0;
    const double privateKiB =
        static_cast<double>(after.privateBytes - before.privateBytes) / 1024.0;
    if (heapKiB > kHeapGrowthLimitKiB || privateKiB > kPrivateGrowthLimitKiB) {
        char limits[96];
        std::snprintf(limits, sizeof limits, " (limits %+.0f KiB heap, %+.0f KiB private)",
                      kHeapGrowthLimitKiB, kPrivateGrowthLimitKiB);
        return context.fail(growth + limits);
    }
    context.note(growth);
}

void MemoryTests::instanceCycles(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, TestContext::kBlock);
    StereoSignal out(in.frames());
    auto lifetime = [&] {
        TestInstance instance(context.library);
        if (!instance.valid()) return false;
        instance.start(TestContext::kSampleRate, TestContext::kBlock);
        instance.process(in, out, 0, TestContext::kBlock);
        instance.suspend();
        return true;
    };
    for (int i = 0; i < kWarmUpCycles; ++i)
        if (!lifetime()) return context.fail("the plug-in's main returned no instance");
    const ProcessMemory before = ProcessMemory::now();
    const int cycles = context.options.count(kInstanceCycles);
    for (int i = 0; i < cycles; ++i)
        if (!lifetime()) return context.fail("the plug-in's main returned no instance");
    judge(context, before, std::to_string(cycles) + " instance lifetimes");
}

void MemoryTests::editorCycles(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    if (!instance.hasEditor()) return context.note("no editor");
    EditorTests::cycle(instance, kWarmUpCycles);
    const ProcessMemory before = ProcessMemory::now();
    const int cycles = context.options.count(kEditorCycles);
    EditorTests::cycle(instance, cycles);
    judge(context, before, std::to_string(cycles) + " editor openings");
}

} // namespace qv
