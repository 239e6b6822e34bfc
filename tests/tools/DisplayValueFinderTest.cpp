// Values given as the plug-in displays them, turned into normalised values by asking the plug-in
// itself: a table over every parameter family of ours with the values it must find, the ways a
// value is refused, every parameter left as it was, and a foreign plug-in's words.
#include "tools/DisplayValueFinder.h"
#include "tests/wine/DllPaths.h"
#include "tools/PluginSettings.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

class DisplayValueFinderTest : public ::testing::Test {
protected:
    void load(const char* dll) {
        std::string error;
        ASSERT_TRUE(host.load(pluginPath(dll), error)) << error;
        host.open();
    }
    VstInt32 indexOf(const char* name) {
        VstInt32 index = -1;
        std::string error;
        EXPECT_TRUE(PluginSettings(host).findParameter(name, index, error)) << error;
        return index;
    }
    PluginHost host;
};

TEST_F(DisplayValueFinderTest, FindsTheNormalisedValueOfADisplayedValue) {
    load("Quorvanelle.dll");
    DisplayValueFinder finder(host);
    struct Case {
        const char* name;
        const char* text;
        float value;     // what must be found
        float tolerance; // a display covers a range of values: how far from its middle
        bool displayed;
    };
    const Case cases[] = {
        {"cp2_Thresh", "-10", 0.75f, 1e-5f, true},
        {"cp2_Thresh", "-10dB", 0.75f, 1e-5f, true},
        {"cp2_Thresh", "-10.04 dB", 0.75f, 1e-5f, true}, // nearest display "-10.0"
        {"cp1_Thresh", "0dB", 1.0f, 0.0f, true},         // "0.0" reaches the end
        {"cp2_Thresh", "0.75", 0.75f, 0.0f, false},      // a bare 0..1 number is normalised
        {"cp1_Ratio", "1", 1.0f, 0.0f, false},
        {"cp1_Ratio", "4", 0.875f, 2e-4f, true},    // "4.0": ratio 3.95..4.05
        {"cp1_Ratio", "1:1", 0.5202f, 1e-4f, true}, // the neutral zone 0.494949..0.545454
        {"cp1_Ratio", "50", 1.0f, 0.0f, true},
        {"Freq1-2", "8000Hz", 0.878391f, 1e-5f, true},
        {"Freq4-5", "40 Hz", 0.0f, 0.0f, true},
        {"cp1_InLevel", "+3", 0.5625f, 1e-5f, true},
        {"cp5_OutLevel", "-6dB", 0.375f, 1e-5f, true},
        {"MasterOut", "0 dB", 0.5f, 1e-5f, true},
        {"lt_Ceiling", "-0.5", 0.916667f, 1e-5f, true},
        {"cp3_Atk", "10ms", 0.218921f, 1e-5f, true}, // "%d" shows 10 for 10..11 ms
        {"cp3_Atk", "0.5ms", 0.0793f, 1e-3f, true},
        {"cp1_Rel_m", "125", 0.5009f, 1e-3f, true},
        {"cp2_Rel_a", "25%", 0.255f, 1e-4f, true},
        {"cp2_Rel_a", "min", 0.0f, 0.0f, true},
        {"lt_Rel_a", "max", 1.0f, 0.0f, true},
        {"RedLink 1-2", "50 %", 0.505f, 1e-4f, true},
        {"RedLink 4-5", "100", 1.0f, 0.0f, true},
        {"cp1_AtkCurve", "soft", 1.0f, 0.0f, true},
        {"cp1_AtkCurve", "HARD", 0.0f, 0.0f, true},
        {"cp1_RelMode", "manual", 1.0f, 0.0f, true},
        {"cp3_AutoRelType", "dynamic", 0.0f, 0.0f, true},
        {"cp4_PWSW", "off", 1.0f, 0.0f, true},
        {"Monitor", "bypass", 1.0f, 0.0f, true},
        {"lt_clip", "3", 0.5f, 1e-5f, true},
        {"FilterType", "Brickwall", 1.0f, 0.0f, true},
        {"FilterType", "Q", 0.0f, 0.0f, true},
        {"Qcurve", "-48dB/oct", 0.5f, 1e-5f, true},
        {"Dry out", "-oo", 0.0f, 0.0f, true},
        {"Wet out", "-6dB", 0.501187f, 1e-5f, true},
        {"Wet out", "0dB", 1.0f, 0.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.text);
        float value = -1.0f;
        bool displayed = !c.displayed;
        std::string error;
        ASSERT_TRUE(finder.find(indexOf(c.name), c.name, c.text, value, displayed, error)) << error;
        EXPECT_NEAR(value, c.value, c.tolerance);
        EXPECT_EQ(displayed, c.displayed);
    }
}

TEST_F(DisplayValueFinderTest, RefusesWhatNoValueShowsNamingTheRange) {
    load("Quorvanelle.dll");
    DisplayValueFinder finder(host);
    struct Case {
        const char* name;
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"cp2_Thresh", "-50", "no value shows -50; it shows -40.0 at 0 and 0.0 at 1"},
        {"cp2_Thresh", "1.5", "it shows -40.0 at 0 and 0.0 at 1"},
        {"cp2_Thresh", "loud", "no value shows \"loud\""},
        {"cp2_Thresh", "nan", "no value shows \"nan\""},
        {"Freq1-2", "8000ms", "shown in Hz, not in ms; it shows 40 Hz at 0 and 16000 Hz at 1"},
        {"Freq1-2", "20Hz", "it shows 40 Hz at 0 and 16000 Hz at 1"},
        {"cp1_Ratio", "60", "it shows 0.50 at 0 and 50 at 1"},
        {"cp1_AtkCurve", "medium", "it shows hard at 0 and soft at 1"},
        {"Qcurve", "-12", "it shows -24 dB/oct at 0 and -96 dB/oct at 1"},
        {"MeterSW", "on", "whatever its value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.text);
        float value = -1.0f;
        bool displayed = false;
        std::string error;
        EXPECT_FALSE(finder.find(indexOf(c.name), c.name, c.text, value, displayed, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST_F(DisplayValueFinderTest, LeavesEveryParameterAsItWas) {
    load("Quorvanelle.dll");
    AEffect* e = host.effect();
    host.dispatch(effSetProgram, 0, 13); // "(ex12": crossovers and releases away from defaults
    std::vector<float> before;
    for (VstInt32 i = 0; i < e->numParams; ++i)
        before.push_back(e->getParameter(e, i));
    DisplayValueFinder finder(host);
    float value = 0.0f;
    bool displayed = false;
    std::string error;
    // The crossovers push one another while they are searched.
    for (const char* text : {"40Hz", "16000Hz", "1000Hz"})
        EXPECT_TRUE(finder.find(1, "Freq2-3", text, value, displayed, error)) << error;
    EXPECT_FALSE(finder.find(20, "cp2_Thresh", "-99", value, displayed, error));
    EXPECT_EQ(finder.displayAt(0, 0.0f), "40 Hz");
    for (VstInt32 i = 0; i < e->numParams; ++i)
        EXPECT_EQ(e->getParameter(e, i), before[static_cast<std::size_t>(i)]) << "parameter " << i;
}

TEST_F(DisplayValueFinderTest, WorksOnAForeignPlugin) {
    load("qv_test_ToyPlugin.dll"); // "Gain" shows "soft" up to 0.5, "loud" above
    DisplayValueFinder finder(host);
    float value = 0.0f;
    bool displayed = false;
    std::string error;
    ASSERT_TRUE(finder.find(0, "Gain", "loud", value, displayed, error)) << error;
    EXPECT_EQ(value, 1.0f);
    EXPECT_FALSE(finder.find(0, "Gain", "-3dB", value, displayed, error));
    EXPECT_NE(error.find("it shows soft at 0 and loud at 1"), std::string::npos) << error;
}

} // namespace

} // namespace qv
