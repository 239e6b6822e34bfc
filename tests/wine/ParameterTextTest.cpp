// Parameter names, display strings, labels and program names read through the dispatcher of
// both DLLs, as a host's generic parameter view reads them.
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qv {

namespace {

class ParameterTextTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.load(pluginPath(GetParam()), error)) << error;
    }
    std::string text(VstInt32 opcode, VstInt32 index) {
        char buffer[64];
        std::memset(buffer, 0, sizeof(buffer));
        host.dispatch(opcode, index, 0, buffer);
        return buffer;
    }
    void set(VstInt32 index, float value) {
        host.effect()->setParameter(host.effect(), index, value);
    }
    PluginHost host;
};

TEST_P(ParameterTextTest, NamesDisplaysAndLabels) {
    struct Row {
        VstInt32 index;
        float value; // < 0: leave the default program's value
        const char* name;
        const char* display;
        const char* label;
    } rows[] = {
        {0, -1, "Freq1-2", "8760", "Hz"},        {3, 0.0f, "Freq4-5", "40", "Hz"},
        {4, 0.503f, "cp1_InLevel", "0.1", ""},   {20, 0.0f, "cp2_Thresh", "-40.0", ""},
        {21, 0.25f, "cp2_Ratio", "0.67", ""},    {17, -1, "cp1_Atk", "1.00", ""},
        {19, -1, "cp1_Rel", " 25 %", ""},        {58, 1.0f, "Monitor", "bypass", ""},
        {64, 1.0f, "RedLink 1-2", "100", ""},    {68, 0.0f, "lt_Ceiling", "-6.00", ""},
        {72, 0.3f, "lt_clip", "2", ""},          {73, 1.0f, "FilterType", "Brickwall", "Filter"},
        {74, -1, "Qcurve", "-48", "dB/oct"},     {75, -1, "Dry out", "-oo", "dB"},
        {76, 0.5f, "Wet out", "-6.02059", "dB"}, {77, -1, "cp1_Rel_m", "125", "ms"},
        {85, -1, "cp5_Rel_m", "125", "ms"},
    };
    for (const Row& row : rows) {
        if (row.value >= 0) set(row.index, row.value);
        EXPECT_EQ(text(effGetParamName, row.index), row.name) << row.index;
        EXPECT_EQ(text(effGetParamDisplay, row.index), row.display) << row.index;
        EXPECT_EQ(text(effGetParamLabel, row.index), row.label) << row.index;
    }
}

TEST_P(ParameterTextTest, ProgramsAreListedAndRecalled) {
    EXPECT_EQ(host.dispatchString(effGetProgramName), "Default");
    char name[64];
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 1, 0, name), 1);
    EXPECT_STREQ(name, "(ex0");
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 16, 0, name), 1);
    EXPECT_STREQ(name, "(ex15");
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 18, 0, name), 1);
    EXPECT_STREQ(name, "---");
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 20, 0, name), 0);

    AEffect* e = host.effect();
    host.dispatch(effSetProgram, 0, 7);
    EXPECT_EQ(host.dispatch(effGetProgram), 7);
    for (VstInt32 i = 0; i < 4; ++i)
        EXPECT_EQ(e->getParameter(e, i), 0.0f);
    e->setParameter(e, 14, 0.3f);
    host.dispatch(effSetProgram, 0, 0);
    host.dispatch(effSetProgram, 0, 7);
    EXPECT_FLOAT_EQ(e->getParameter(e, 14), 0.3f);
    host.dispatch(effSetProgram, 0, 20); // ignored
    EXPECT_EQ(host.dispatch(effGetProgram), 7);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, ParameterTextTest, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv
