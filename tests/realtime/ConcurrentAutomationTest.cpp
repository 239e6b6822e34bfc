// A host's audio thread processing while its automation thread writes parameters and switches
// programs. In the ThreadSanitizer tree this reports every unsynchronised access between the
// two; in the other trees it checks that the output stays finite.
#include "tests/realtime/NativeInstance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <random>
#include <thread>

namespace {

constexpr int kBlocks = 400;
constexpr int kBlock = 256;
constexpr VstInt32 kLastIndex = 92; // host-visible and editor-state parameters

TEST(ConcurrentAutomationTest, AudioThreadAgainstAutomationAndProgramChanges) {
    NativeInstance instance;
    ASSERT_NE(instance.effect, nullptr);
    instance.start();
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kBlock; ++i)
            instance.in[c][i] = 0.5f * std::sin(0.02f * static_cast<float>(i + 31 * c));
    std::atomic<bool> done{false};
    std::thread automation([&] {
        std::mt19937 random(3);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        for (long n = 0; !done; ++n) {
            if (n % 64 == 0)
                instance.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(random() % 20));
            else
                instance.setParameter(static_cast<VstInt32>(random() % (kLastIndex + 1)),
                                      unit(random));
        }
    });
    bool finite = true;
    for (int b = 0; b < kBlocks; ++b) {
        instance.processReplacing(kBlock);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kBlock; ++i)
                finite = finite && std::isfinite(instance.out[c][i]);
    }
    done = true;
    automation.join();
    EXPECT_TRUE(finite);
}

} // namespace
