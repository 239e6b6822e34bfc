// Programs and parameters found by number and by the names the plug-in reports: against our
// plug-in (indexed program names, 86 announced parameters) and against the toy plug-in (no
// indexed names, so the names are collected by visiting each program).
#include "tools/PluginSettings.h"
#include "tests/wine/DllPaths.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

class PluginSettingsTest : public ::testing::Test {
protected:
    void load(const char* dll) {
        std::string error;
        ASSERT_TRUE(host.load(pluginPath(dll), error)) << error;
        host.open();
    }
    PluginHost host;
};

TEST_F(PluginSettingsTest, FindsOurProgramsByNumberAndName) {
    load("Quorvanelle.dll");
    PluginSettings settings(host);
    ASSERT_EQ(settings.programNames().size(), 20u);
    struct Case {
        const char* entry;
        VstInt32 index; // -1: refused
        const char* reason;
    };
    const Case cases[] = {
        {"(ex2", 3, ""},
        {"Default", 0, ""},
        {"default", 0, ""},
        {"(ex15", 16, ""},
        {"---", 17, ""}, // the first of the three spare slots
        {"19", 19, ""},
        {"0", 0, ""},
        {"20", -1, "out of range"},
        {"(ex16", -1, "no program named \"(ex16\""},
        {"ex2", -1, "no program named"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        VstInt32 index = -7;
        std::string error;
        EXPECT_EQ(settings.findProgram(c.entry, index, error), c.index >= 0) << error;
        if (c.index >= 0) {
            EXPECT_EQ(index, c.index);
        } else {
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        }
    }
}

TEST_F(PluginSettingsTest, FindsOurParametersByIndexAndName) {
    load("Quorvanelle.dll");
    PluginSettings settings(host);
    ASSERT_EQ(settings.parameterNames().size(), 86u);
    struct Case {
        const char* entry;
        VstInt32 index; // -1: refused
    };
    const Case cases[] = {
        {"cp2_Thresh", 20}, {"MasterOut", 55}, {"masterout", 55}, {"Dry out", 75},
        {"Wet out", 76},    {"Monitor", 58},   {"Freq1-2", 0},    {"85", 85},
        {"0", 0},           {"86", -1},        {"cp5_Rel_a", -1}, // named but not announced
        {"Thresh", -1},     {"-1", -1},        {"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        VstInt32 index = -7;
        std::string error;
        EXPECT_EQ(settings.findParameter(c.entry, index, error), c.index >= 0) << error;
        if (c.index >= 0) {
            EXPECT_EQ(index, c.index);
        }
    }
}

TEST_F(PluginSettingsTest, ApplySetsProgramThenParametersInOrder) {
    load("Quorvanelle.dll");
    AEffect* e = host.effect();
    PluginSettings settings(host);
    const std::string program = "(ex2";
    std::string error;
    ASSERT_TRUE(settings.apply(
        &program, {{"cp2_Thresh", "0.75"}, {"55", "0.25"}, {"MasterOut", "0.3"}}, error))
        << error;
    EXPECT_EQ(host.dispatch(effGetProgram), 3);
    EXPECT_EQ(e->getParameter(e, 20), 0.75f);
    EXPECT_EQ(e->getParameter(e, 55), 0.3f); // the later setting wins
    ASSERT_EQ(settings.applied().size(), 3u);
    EXPECT_EQ(settings.applied()[0].name, "cp2_Thresh");
    EXPECT_EQ(settings.applied()[1].name, "MasterOut");
    EXPECT_FALSE(settings.applied()[0].display.empty());
}

TEST_F(PluginSettingsTest, ABadNameLeavesThePluginUntouched) {
    load("Quorvanelle.dll");
    AEffect* e = host.effect();
    const float before = e->getParameter(e, 20);
    PluginSettings settings(host);
    const std::string program = "(ex2";
    std::string error;
    EXPECT_FALSE(settings.apply(&program, {{"cp2_Thresh", "0.75"}, {"cp9_Thresh", "0.5"}}, error));
    EXPECT_NE(error.find("cp9_Thresh"), std::string::npos) << error;
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    EXPECT_EQ(e->getParameter(e, 20), before);
    const std::string badProgram = "(ex99";
    EXPECT_FALSE(settings.apply(&badProgram, {{"cp2_Thresh", "0.75"}}, error));
    EXPECT_EQ(e->getParameter(e, 20), before);
}

TEST_F(PluginSettingsTest, CollectsProgramNamesFromAPluginWithoutIndexedNames) {
    load("qv_test_ToyPlugin.dll");
    host.dispatch(effSetProgram, 0, 1);
    PluginSettings settings(host);
    EXPECT_EQ(settings.programNames(), (std::vector<std::string>{"Unity", "Half"}));
    EXPECT_EQ(settings.parameterNames(), (std::vector<std::string>{"Gain", "Crash"}));
    EXPECT_EQ(host.dispatch(effGetProgram), 1); // visiting the programs changed nothing

    const std::string program = "unity";
    std::string error;
    ASSERT_TRUE(settings.apply(&program, {}, error)) << error;
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    EXPECT_EQ(settings.chosenProgram(), 0);
}

} // namespace

} // namespace qv
