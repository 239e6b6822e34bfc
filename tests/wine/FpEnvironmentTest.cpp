// Neither DLL may change the caller's floating-point control settings: with an unusual x87
// control word and MXCSR set by the host before LoadLibrary, both words must be unchanged after
// every step of an instance's life.
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace qv {

namespace {

std::uint16_t readControlWord() {
    std::uint16_t cw = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    return cw;
}
void writeControlWord(std::uint16_t cw) {
    __asm__ __volatile__("fldcw %0" : : "m"(cw));
}
std::uint32_t readMxcsr() {
    std::uint32_t m = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(m));
    return m;
}
void writeMxcsr(std::uint32_t m) {
    __asm__ __volatile__("ldmxcsr %0" : : "m"(m));
}

// 24-bit precision, round toward zero, all exceptions masked.
constexpr std::uint16_t kUnusualControlWord = 0x0C7F;
// Flush-to-zero and denormals-are-zero on, round up, all exceptions masked.
constexpr std::uint32_t kUnusualMxcsr = 0x1F80 | 0x8000 | 0x0040 | 0x4000;

class FpEnvironmentTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        savedCw = readControlWord();
        savedMxcsr = readMxcsr();
        writeControlWord(kUnusualControlWord);
        writeMxcsr(kUnusualMxcsr);
    }
    void TearDown() override {
        writeControlWord(savedCw);
        writeMxcsr(savedMxcsr);
    }
    // Records the first step after which either word differs.
    void check(const char* step) {
        const std::uint16_t cw = readControlWord();
        const std::uint32_t mx = readMxcsr();
        EXPECT_EQ(cw, kUnusualControlWord) << "x87 control word changed by: " << step;
        EXPECT_EQ(mx & 0xFFC0u, kUnusualMxcsr & 0xFFC0u) << "MXCSR changed by: " << step;
        writeControlWord(kUnusualControlWord);
        writeMxcsr(kUnusualMxcsr);
    }
    std::uint16_t savedCw = 0;
    std::uint32_t savedMxcsr = 0;
};

TEST_P(FpEnvironmentTest, ControlWordsSurviveALifeCycle) {
    HMODULE dll = LoadLibraryA(pluginPath(GetParam()).c_str());
    ASSERT_NE(dll, nullptr);
    check("LoadLibrary");
    using EntryProc = AEffect*(__cdecl*)(audioMasterCallback);
    auto entry = reinterpret_cast<EntryProc>(reinterpret_cast<void*>(GetProcAddress(dll, "main")));
    ASSERT_NE(entry, nullptr);
    AEffect* e = entry(&PluginHost::hostCallback);
    ASSERT_NE(e, nullptr);
    check("main");

    auto dispatch = [e](VstInt32 op, VstIntPtr value = 0, float opt = 0.0f) {
        return e->dispatcher(e, op, 0, value, nullptr, opt);
    };
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 48000.0f);
    dispatch(effSetBlockSize, 512);
    dispatch(effMainsChanged, 1);
    check("open, sample rate, block size, resume");

    for (VstInt32 index = 0; index < 93; ++index)
        e->setParameter(e, index, 0.9f);
    for (VstInt32 program = 0; program < 20; ++program)
        dispatch(effSetProgram, program);
    check("parameters and programs");

    std::vector<float> left(512), right(512), outL(512), outR(512);
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outL.data(), outR.data()};
    for (int block = 0; block < 40; ++block) {
        for (int i = 0; i < 512; ++i) {
            const double t = (block * 512 + i) / 48000.0;
            left[i] = static_cast<float>(1.5 * std::sin(6.283185307 * 220.0 * t));
            right[i] = (i % 97 == 0) ? 4.0f : 1e-30f; // spikes over tiny (denormal-range) values
        }
        e->processReplacing(e, in, out, 512);
        e->process(e, in, out, 511);
    }
    check("process and processReplacing");

    dispatch(effMainsChanged, 0);
    check("suspend");
    EXPECT_EQ(dispatch(effClose), 1);
    check("close");
    FreeLibrary(dll);
    check("FreeLibrary");
}

INSTANTIATE_TEST_SUITE_P(BothDlls, FpEnvironmentTest, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv
