#include "tools/validate/ProcessMemory.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace qv {

namespace {

std::int64_t busyHeapBytes() {
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    std::int64_t total = 0;
    for (DWORD h = 0; h < count && h < heaps.size(); ++h) {
        if (!HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[h], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[h]);
    }
    return total;
}

std::int64_t committedPrivateBytes() {
    std::int64_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<std::int64_t>(info.RegionSize);
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

} // namespace

ProcessMemory ProcessMemory::now() {
    ProcessMemory m;
    m.heapBytes = busyHeapBytes();
    m.privateBytes = committedPrivateBytes();
    return m;
}

std::string ProcessMemory::growthSince(const ProcessMemory& before) const {
    char text[160];
    std::snprintf(text, sizeof text, "heap %+.1f KiB (of %.0f), private memory %+.1f KiB (of %.0f)",
                  static_cast<double>(heapBytes - before.heapBytes) / 1024.0,
                  static_cast<double>(heapBytes) / 1024.0,
                  static_cast<double>(privateBytes - before.privateBytes) / 1024.0,
                  static_cast<double>(privateBytes) / 1024.0);
    return text;
}

} // namespace qv
