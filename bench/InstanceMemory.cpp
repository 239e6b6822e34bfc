// Memory of one effect instance without its editor: the effect object plus everything its
// constructor allocates, counted by replacing the global allocation functions. The editor's
// object is small; its window and bitmaps exist only while it is open.

#include "shell/MultibandEffectBase.h"

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>

using namespace qv;

namespace {
std::size_t liveBytes = 0;   // bytes allocated and not yet freed
std::size_t allocations = 0; // allocations so far

VstIntPtr QV_CDECL host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2300 : 0;
}
} // namespace

// Live bytes as the allocator counts them (usable sizes, so frees subtract exactly what the
// allocation added).
void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    ++allocations;
    return p;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) return nullptr;
    liveBytes += malloc_usable_size(p);
    ++allocations;
    return p;
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
__attribute__((noinline)) void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}

int main() {
    const std::size_t before = liveBytes, countBefore = allocations;
    auto* effect = new MultibandEffectBase(host);
    const std::size_t instance = liveBytes - before;
    std::printf("one instance: %zu bytes (%.1f KiB) in %zu allocations; effect object %zu bytes, "
                "engine %zu bytes\n",
                instance, instance / 1024.0, allocations - countBefore, sizeof(MultibandEffectBase),
                sizeof(qv::MultibandEngine));
    delete effect;
    return liveBytes == before ? 0 : 1;
}
