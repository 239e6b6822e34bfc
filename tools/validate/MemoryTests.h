// Leaks: the growth of the process's heaps and committed private memory over many instance
// lifetimes and many editor openings, reported and bounded.
#pragma once

#include "tools/validate/ProcessMemory.h"
#include "tools/validate/ValidationRunner.h"

namespace qv {

class MemoryTests {
public:
    static void addTo(ValidationRunner& runner);

    // Growth allowed over all cycles (allocator bookkeeping, caches of the system libraries).
    static constexpr double kHeapGrowthLimitKiB = 64.0;
    static constexpr double kPrivateGrowthLimitKiB = 1024.0;

private:
    static void instanceCycles(TestContext& context);
    static void editorCycles(TestContext& context);
    // Fails when the growth from `before` to now is above the limits.
    static void judge(TestContext& context, const ProcessMemory& before, const std::string& what);
};

} // namespace qv
