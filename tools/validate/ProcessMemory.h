// How much memory the process holds: the bytes in use in all of its heaps (walked block by
// block) and its committed private memory. For leak checks over many repetitions; call it while
// no other thread allocates.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct ProcessMemory {
    std::int64_t heapBytes = 0;    // busy heap blocks, all heaps
    std::int64_t privateBytes = 0; // committed private pages

    static ProcessMemory now();
    // "heap +12.0 KiB, private +0.0 KiB" from `before` to this.
    std::string growthSince(const ProcessMemory& before) const;
};

} // namespace qv
