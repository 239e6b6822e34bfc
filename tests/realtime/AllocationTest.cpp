// Nothing a host calls on its audio or automation thread may allocate or free: processing (both
// calls), parameter changes and program changes are run with a counting allocator armed. The
// global operator new and delete are replaced here, and malloc, calloc, realloc and free are
// wrapped by the linker (--wrap), so that allocations in the C library's own calls count too.
#include "tests/realtime/NativeInstance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <new>
#include <random>

namespace {
thread_local bool armed = false;   // counting on this thread only
thread_local long allocations = 0; // allocations and frees while armed
void count() {
    if (armed) ++allocations;
}
} // namespace

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* p, std::size_t size);
void __real_free(void* p);
void* __wrap_malloc(std::size_t size) {
    count();
    return __real_malloc(size);
}
void* __wrap_calloc(std::size_t n, std::size_t size) {
    count();
    return __real_calloc(n, size);
}
void* __wrap_realloc(void* p, std::size_t size) {
    count();
    return __real_realloc(p, size);
}
void __wrap_free(void* p) {
    if (p) count();
    __real_free(p);
}
}

void* operator new(std::size_t size) {
    count();
    if (void* p = __real_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    if (p) count();
    __real_free(p);
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

namespace qv {

namespace {

// Counts the allocations and frees of `call`.
long allocationsIn(const std::function<void()>& call) {
    allocations = 0;
    armed = true;
    call();
    armed = false;
    return allocations;
}

TEST(AllocationTest, CountingSeesAnAllocation) {
    EXPECT_EQ(allocationsIn([] { delete new int(1); }), 2);
    EXPECT_EQ(allocationsIn([] {
                  void* volatile p = std::malloc(16); // volatile: the pair is not optimised away
                  std::free(p);
              }),
              2);
}

TEST(AllocationTest, AudioAndParameterCallsNeitherAllocateNorFree) {
    NativeInstance instance;
    ASSERT_NE(instance.effect, nullptr);
    instance.start();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f), unit(0.0f, 1.0f);
    const float special[] = {std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(), 1e30f, 1e-41f};
    for (int c = 0; c < 2; ++c) {
        for (float& s : instance.in[c])
            s = sample(random);
        for (int i = 0; i < 4; ++i)
            instance.in[c][100 * i + 7] = special[i];
    }
    const struct {
        const char* call;
        std::function<void()> run;
    } calls[] = {
        {"processReplacing",
         [&] {
             for (int n : {1, 64, 511, 4096})
                 instance.processReplacing(n);
         }},
        {"process",
         [&] {
             for (int n : {1, 64, 511, 4096})
                 instance.process(n);
         }},
        {"setParameter",
         [&] {
             for (int round = 0; round < 3; ++round)
                 for (VstInt32 i = 0; i < 93; ++i)
                     instance.setParameter(i, unit(random));
             instance.setParameter(5, -1.0f);
             instance.setParameter(6, std::numeric_limits<float>::quiet_NaN());
         }},
        {"getParameter",
         [&] {
             for (VstInt32 i = 0; i < 93; ++i)
                 instance.getParameter(i);
         }},
        {"program change",
         [&] {
             for (VstIntPtr p = 0; p < 20; ++p)
                 instance.dispatch(effSetProgram, 0, p);
         }},
        {"processing after the changes", [&] { instance.processReplacing(4096); }},
    };
    for (const auto& c : calls)
        EXPECT_EQ(allocationsIn(c.run), 0) << c.call << " allocated or freed";
}

} // namespace

} // namespace qv
