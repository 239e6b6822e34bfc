// Both DLLs as a host saving and reopening a project sees them: parameters 0..85 read with
// getParameter (and the program index) are set in index order on a fresh instance, which must
// then sound exactly like the saved one, for every program and after edits.
#include "tests/shell/RoundTripSignal.h"
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qv {

namespace {

constexpr int kHostParameters = 86;
constexpr float kSampleRate = 44100.0f;

class HostRoundTripDllTest : public ::testing::TestWithParam<const char*> {
protected:
    // A started instance; program < 0 leaves the one it starts with.
    std::unique_ptr<PluginHost> instance(int program) {
        auto host = std::make_unique<PluginHost>();
        std::string error;
        EXPECT_TRUE(host->load(pluginPath(GetParam()), error)) << error;
        host->open();
        host->configure(kSampleRate, round_trip::kBlock);
        if (program >= 0) host->dispatch(effSetProgram, 0, program);
        return host;
    }

    // Saves the program's values after an optional edit (index < 0: none) and restores them into
    // fresh instances with and without the program index.
    void expectRoundTrip(int program, int editIndex) {
        SCOPED_TRACE(testing::Message() << "program " << program << ", edit of " << editIndex);
        std::unique_ptr<PluginHost> original = instance(program);
        AEffect* e = original->effect();
        ASSERT_NE(e, nullptr);
        if (editIndex >= 0)
            e->setParameter(e, editIndex, round_trip::edited(e->getParameter(e, editIndex)));
        float saved[kHostParameters];
        for (int i = 0; i < kHostParameters; ++i)
            saved[i] = e->getParameter(e, i);
        const VstIntPtr savedProgram = original->dispatch(effGetProgram);
        original->resume();
        const round_trip::Stereo expected = round_trip::render(e);

        for (bool withProgram : {false, true}) {
            std::unique_ptr<PluginHost> restored = instance(withProgram ? savedProgram : -1);
            AEffect* r = restored->effect();
            ASSERT_NE(r, nullptr);
            for (int i = 0; i < kHostParameters; ++i)
                r->setParameter(r, i, saved[i]);
            restored->resume();
            EXPECT_TRUE(round_trip::sameBits(round_trip::render(r), expected))
                << (withProgram ? "with" : "without") << " the program index";
        }
    }
};

TEST_P(HostRoundTripDllTest, EveryProgram) {
    for (int program = 0; program < 20; ++program)
        expectRoundTrip(program, -1);
}

// Edits where band 5's release matters: its Rel_a (86) on a program with automatic release, its
// mode switched either way (42), its mirror written (43), a manual band's mirror (19).
TEST_P(HostRoundTripDllTest, AfterEdits) {
    const struct {
        int program, index;
    } edits[] = {{1, 86}, {1, 42}, {16, 42}, {16, 86}, {4, 43}, {14, 19}, {9, 0}};
    for (const auto& edit : edits)
        expectRoundTrip(edit.program, edit.index);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, HostRoundTripDllTest, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv
