// The DLLs loaded through their real export by our host: the record's values, the identity the
// dispatcher reports, the entry point's names, refusal of a version-0 host, and the instance's
// life cycle.
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <vector>

namespace qv {

namespace {

class PluginLoadTest : public ::testing::TestWithParam<const char*> {
protected:
    void load() {
        std::string error;
        ASSERT_TRUE(host.load(pluginPath(GetParam()), error)) << error;
    }
    PluginHost host;
};

TEST_P(PluginLoadTest, RecordValues) {
    load();
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->flags, 25);
    EXPECT_EQ(e->numParams, 86);
    EXPECT_EQ(e->numPrograms, 20);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->initialDelay, 838);
    EXPECT_EQ(e->uniqueID, 0x66773330); // "fw30"
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->ioRatio, 1.0f);
}

TEST_P(PluginLoadTest, DispatcherIdentity) {
    load();
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2300);
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), 1);
    EXPECT_EQ(host.dispatchString(effGetVendorString), "Ferrowyn");
    EXPECT_EQ(host.dispatchString(effGetProductString), "Quorvanelle");
    EXPECT_EQ(host.dispatchString(effGetEffectName), "Quorvanelle");
    char doesThis[] = "receiveVstEvents";
    EXPECT_EQ(host.dispatch(effCanDo, 0, 0, doesThis), 0);
    ERect* rect = nullptr;
    EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 785);
    EXPECT_EQ(rect->bottom - rect->top, 570);
}

TEST_P(PluginLoadTest, CloseReturnsOneAndInstancesComeAndGo) {
    for (int round = 0; round < 20; ++round) {
        load();
        AEffect* e = host.effect();
        host.start(44100.0f, 512);
        std::vector<float> in(512, 0.1f), out(512);
        float* ins[2] = {in.data(), in.data()};
        float* outs[2] = {out.data(), out.data()};
        e->processReplacing(e, ins, outs, 512);
        host.stop();
        EXPECT_EQ(host.close(), 1);
        host.unload();
    }
}

TEST_P(PluginLoadTest, HostAnsweringVersionZeroGetsNull) {
    host.versionAnswer = 0;
    std::string error;
    EXPECT_FALSE(host.load(pluginPath(GetParam()), error));
    EXPECT_NE(error.find("returned null"), std::string::npos) << error;
}

// 64-bit hosts look up "VSTPluginMain" before "main": the 64-bit DLL offers both names for the one
// entry point, the 32-bit DLLs only "main".
TEST_P(PluginLoadTest, EntryPointNames) {
    HMODULE dll = LoadLibraryA(pluginPath(GetParam()).c_str());
    ASSERT_NE(dll, nullptr);
    FARPROC oldName = GetProcAddress(dll, "main");
    FARPROC newName = GetProcAddress(dll, "VSTPluginMain");
    EXPECT_NE(oldName, nullptr);
#ifdef _WIN64
    EXPECT_EQ(newName, oldName);
#else
    EXPECT_EQ(newName, nullptr);
#endif
    FreeLibrary(dll);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, PluginLoadTest, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv
