// A host's audio thread processing while its automation thread writes parameters and switches
// programs and its UI thread reads values, display texts, the program and the band meters. In
// the ThreadSanitizer tree this reports every unsynchronised access between the three; in the
// other trees it checks that the output stays finite and that the readers see only values a
// writer could have stored.
#include "shell/BandMeterReport.h"
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
    std::atomic<bool> readsInRange{true};
    std::thread ui([&] {
        char text[256];
        BandMeterReport report;
        for (VstInt32 index = 0; !done; index = (index + 1) % (kLastIndex + 1)) {
            const float value = instance.getParameter(index);
            instance.dispatch(effGetParamDisplay, index, 0, text);
            const VstIntPtr program = instance.dispatch(effGetProgram);
            instance.dispatch(effGetProgramName, 0, 0, text);
            const bool answered =
                instance.dispatch(effVendorSpecific, kBandMeterQuery, 0, &report) == 1;
            if (!(value >= 0.0f && value <= 1.0f) || program < 0 || program >= 20 || !answered ||
                !(report.gain[0] >= 0.0f && report.level[0] >= 0.0f && report.level[0] <= 1.0f))
                readsInRange = false;
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
    ui.join();
    EXPECT_TRUE(finite);
    EXPECT_TRUE(readsInRange);
}

} // namespace
