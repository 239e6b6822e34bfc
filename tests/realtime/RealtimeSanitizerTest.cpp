// Built only in the RealtimeSanitizer tree (clang with -fsanitize=realtime): the calls a host
// makes on its audio thread run inside functions marked non-blocking, so that any allocation,
// lock or system call in them stops the test with a report.
#include "tests/realtime/NativeInstance.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

void processBlocks(NativeInstance& instance) [[clang::nonblocking]] {
    for (int n : {1, 64, 512, 4096})
        instance.processReplacing(n);
    for (int n : {1, 64, 512, 4096})
        instance.process(n);
}

void changeParameters(NativeInstance& instance) [[clang::nonblocking]] {
    for (VstInt32 i = 0; i < 93; ++i)
        instance.setParameter(i, 0.25f + 0.005f * static_cast<float>(i));
    for (VstIntPtr p = 0; p < 20; ++p)
        instance.dispatch(effSetProgram, 0, p);
}

TEST(RealtimeSanitizerTest, AudioThreadCallsNeitherBlockNorAllocate) {
    NativeInstance instance;
    ASSERT_NE(instance.effect, nullptr);
    instance.start();
    processBlocks(instance);
    changeParameters(instance);
    processBlocks(instance);
}

} // namespace

} // namespace qv
