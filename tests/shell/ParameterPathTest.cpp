// The central parameter path of the effect: live program record, mappings handed to the
// processing objects, the release mirror, the crossover ordering cascade, the editor
// notifications and the host-facing text operations.
#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"
#include "tests/shell/TestHost.h"

#include "params/EditorNotification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace qv {

namespace {

class ParameterPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::reset();
        effect = std::make_unique<TestEffect>(&RecordingHost::callback);
    }
    qv::MultibandEngine& engine() { return effect->getEngine(); }
    RecordingEditor& editor() { return *effect->recorder(); }
    float get(int index) { return effect->getParameter(index); }
    void set(int index, float value) { effect->setParameter(index, value); }
    std::string display(int index) {
        char text[32];
        std::memset(text, 0, sizeof(text));
        effect->getParameterDisplay(index, text);
        return text;
    }
    std::unique_ptr<TestEffect> effect;
};

TEST_F(ParameterPathTest, EveryStoredParameterSurvivesSwitchingProgramsAwayAndBack) {
    for (int index = 0; index < qv::kNumNamedParameters; ++index) {
        effect->setProgram(4);
        const float edited = (index % 2) ? 0.37f : 0.81f;
        set(index, edited);
        ASSERT_EQ(get(index), edited) << index;
        effect->setProgram(9);
        effect->setProgram(4);
        EXPECT_EQ(get(index), edited) << "index " << index << " not written into the live program";
    }
}

TEST_F(ParameterPathTest, ReleaseMirrorFollowsAndWritesThroughToTheActiveRelease) {
    for (int band = 1; band <= qv::kNumBands; ++band) {
        SCOPED_TRACE(band);
        const int rel = param::relIndex(band), relM = param::relMIndex(band),
                  relA = param::relAIndex(band);
        const qv::RisingSmoothDetector& autoRise =
            engine().compressor(band).detector().hardAutoRise();
        set(param::relModeIndex(band), 0.0f);
        set(relA, 0.9f);
        const double riseAt09 = autoRise.riseTimeMs();
        set(relA, 0.3f);
        set(relM, 0.6f);
        EXPECT_EQ(get(rel), 0.3f);
        set(rel, 0.9f); // automatic: Rel_a takes it, processing included
        EXPECT_EQ(get(relA), 0.9f);
        EXPECT_EQ(get(relM), 0.6f);
        EXPECT_EQ(get(rel), 0.9f);
        EXPECT_EQ(autoRise.riseTimeMs(), riseAt09);
        set(param::relModeIndex(band), 1.0f);
        EXPECT_EQ(get(rel), 0.6f);
        set(rel, 0.2f); // manual: Rel_m takes it
        EXPECT_EQ(get(relM), 0.2f);
        EXPECT_EQ(get(relA), 0.9f);
        EXPECT_EQ(get(rel), 0.2f);
        set(relA, 0.1f); // not the active one
        EXPECT_EQ(get(rel), 0.2f);
        set(relM, 0.7f);
        EXPECT_EQ(get(rel), 0.7f);
        set(param::relModeIndex(band), 0.5f); // manual needs a value above 0.5
        EXPECT_EQ(get(rel), 0.1f);
        // The editor hears the change of Rel_a (with the mirror's own refresh first, as for any
        // Rel_a change) and then the mirror written.
        editor().log.clear();
        set(rel, 0.4f);
        const std::string relLine = "setParameter " + std::to_string(rel) + " 0.400000";
        EXPECT_EQ(editor().log,
                  (std::vector<std::string>{relLine, "panel",
                                            "setParameter " + std::to_string(relA) + " 0.400000",
                                            relLine}));
    }
}

// A release written through the mirror is a change of the live program like any other; a
// program change itself writes nothing through (its Rel step only refreshes the mirror).
TEST_F(ParameterPathTest, ReleaseWrittenThroughTheMirrorBelongsToTheLiveProgram) {
    const struct Row {
        int program, band;
        bool manual; // the band's release mode in that program
    } rows[] = {{4, 5, false}, {16, 5, true}, {14, 1, true}, {14, 5, false}, {0, 3, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "program " << row.program << " band " << row.band);
        const int rel = param::relIndex(row.band);
        const int active = row.manual ? param::relMIndex(row.band) : param::relAIndex(row.band);
        const int inactive = row.manual ? param::relAIndex(row.band) : param::relMIndex(row.band);
        effect->setProgram(row.program);
        const float inactiveBefore = get(inactive);
        set(rel, 0.123f);
        EXPECT_EQ(get(active), 0.123f);
        EXPECT_EQ(get(inactive), inactiveBefore);
        effect->setProgram(row.program == 16 ? 1 : 16); // the other release mode
        EXPECT_NE(get(active), 0.123f);
        effect->setProgram(row.program);
        EXPECT_EQ(get(rel), 0.123f);
        EXPECT_EQ(get(active), 0.123f);
        EXPECT_EQ(get(inactive), inactiveBefore);
    }
}

TEST_F(ParameterPathTest, CrossoverPushesCascadeDownAndUp) {
    set(param::kFreq12, 0.1f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(get(i), 0.1f) << i;
    effect->setProgram(2);
    effect->setProgram(0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(get(i), 0.1f) << "live program slot " << i;

    set(param::kFreq45, 0.95f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(get(i), 0.95f) << i;

    // Pushes go only as far as the order needs.
    set(param::kFreq12, 0.9f);
    set(param::kFreq23, 0.7f);
    set(param::kFreq34, 0.5f);
    set(param::kFreq45, 0.3f);
    set(param::kFreq23, 0.4f); // below Freq3-4: pushes Freq3-4, which pushes Freq4-5
    EXPECT_EQ(get(0), 0.9f);
    EXPECT_EQ(get(1), 0.4f);
    EXPECT_EQ(get(2), 0.4f);
    EXPECT_EQ(get(3), 0.3f);
    set(param::kFreq34, 0.95f); // above Freq2-3: pushes Freq2-3, which pushes Freq1-2
    EXPECT_EQ(get(0), 0.95f);
    EXPECT_EQ(get(1), 0.95f);
    EXPECT_EQ(get(2), 0.95f);
    EXPECT_EQ(get(3), 0.3f);
}

TEST_F(ParameterPathTest, CrossoverFrequencyReachesBothChannels) {
    struct Row {
        float x;
        double hz;
    } rows[] = {{0.0f, 40.0}, {1.0f, 16000.0}, {-3.0f, 40.0}, {5.0f, 16000.0}};
    for (const Row& row : rows) {
        set(param::kFreq12, row.x);
        set(param::kFreq45, row.x);
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_NEAR(engine().crossover(ch).crossoverHz(1), row.hz, 1e-3) << row.x;
            EXPECT_NEAR(engine().crossover(ch).crossoverHz(4), row.hz, 1e-3) << row.x;
        }
    }
    set(param::kFreq23, 0.5f);
    const double expected = 100.0 * qv::crossoverHundredsHz(0.5f);
    EXPECT_NEAR(engine().crossover(0).crossoverHz(2), expected, 1e-6);
    EXPECT_NEAR(engine().crossover(1).crossoverHz(2), expected, 1e-6);
}

TEST_F(ParameterPathTest, DerivedQuantitiesReachTheBandObjects) {
    set(param::inLevelIndex(3), 0.5f);
    EXPECT_EQ(engine().compressor(3).inputGain(), 1.0);
    set(param::inLevelIndex(3), 0.502f);
    EXPECT_EQ(engine().compressor(3).inputGain(), 1.0);
    set(param::inLevelIndex(3), 0.503f);
    EXPECT_NEAR(engine().compressor(3).inputGain(), std::pow(10.0, (48.0 * 0.503f - 24) / 20),
                1e-9);
    set(param::outLevelIndex(5), 1.0f);
    EXPECT_NEAR(engine().compressor(5).outputGain(), std::pow(10.0, 24.0 / 20), 1e-9);
    set(param::threshIndex(2), 1.0f);
    EXPECT_EQ(engine().compressor(2).thresholdLinear(), 0.999);
    set(param::threshIndex(2), 0.5f);
    EXPECT_NEAR(engine().compressor(2).thresholdLinear(), 0.1, 1e-12);
    set(param::ratioIndex(4), 0.53f);
    EXPECT_EQ(engine().compressor(4).slope(), 0.0);
    set(param::ratioIndex(4), 0.55f);
    EXPECT_NEAR(engine().compressor(4).slope(), 0.1, 1e-6);
    set(param::pwSwIndex(1), 0.7f);
    EXPECT_TRUE(engine().compressor(1).bandOff());
    set(param::compSwIndex(1), 0.2f);
    EXPECT_FALSE(engine().compressor(1).compOff());
    set(param::redLinkIndex(2), 0.257f);
    EXPECT_EQ(engine().linker().linkAmount(2), 25);
    EXPECT_DOUBLE_EQ(engine().linker().neighbourWeight(2), 0.125);
    EXPECT_DOUBLE_EQ(engine().linker().selfWeight(2), 0.75);
    set(param::redLinkIndex(3), 0.005f);
    EXPECT_EQ(engine().linker().linkAmount(3), 0);
}

TEST_F(ParameterPathTest, NonFiniteValuesAreIgnoredEverywhere) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (int index = 0; index < qv::kNumStoredParameters; ++index) {
        const float before = get(index);
        for (float value : bad)
            set(index, value);
        EXPECT_EQ(get(index), before) << index;
    }
    for (int band = 1; band <= qv::kNumBands; ++band) {
        const qv::BandCompressor& c = engine().compressor(band);
        EXPECT_TRUE(std::isfinite(c.thresholdLinear()) && std::isfinite(c.inputGain()) &&
                    std::isfinite(c.outputGain()) && std::isfinite(c.slope()))
            << band;
    }
}

TEST_F(ParameterPathTest, OutOfRangeIndicesAreIgnored) {
    for (int index : {-1, 93, 111, 100000}) {
        set(index, 0.5f);
        EXPECT_EQ(get(index), 0.0f);
    }
    char text[32] = "unchanged";
    effect->getParameterName(87, text);
    EXPECT_STREQ(text, "unchanged");
    effect->getParameterName(86, text);
    EXPECT_STREQ(text, "cp5_Rel_a");
}

struct NotificationRow {
    float page;       // value of parameter 87 before the change
    int index;        // parameter changed
    const char* call; // editor request expected, or "" for none
    int panelHint;    // expected panelHint afterwards (-1: untouched, stays at 77)
    int outputHint;   // expected outputHint afterwards (-1: untouched, stays at 77)
};

const NotificationRow kNotifications[] = {
    {0.0f, param::threshIndex(2), "panel", 2, -1},
    {0.2f, param::threshIndex(2), "panel", 6, -1},
    {0.75f, param::threshIndex(2), "panel", 10, -1},
    {0.3f, param::threshIndex(2), "", -1, -1},
    {0.9f, param::threshIndex(2), "", -1, -1},
    {0.0f, param::inLevelIndex(1), "panel", 4, -1},
    {0.2f, param::autoRelTypeIndex(5), "panel", 13, -1},
    {0.0f, param::relMIndex(3), "panel", 7, -1},
    {0.3f, param::kLtCeiling, "panel", 3, -1},
    {0.0f, param::kLtCeiling, "", -1, -1},
    {0.45f, param::kFilterType, "panel", 1, -1},
    {0.45f, param::kQcurve, "panel", 2, -1},
    {0.6f, param::kAnalyserPower, "panel", 2, -1},
    {0.75f, param::kMatrixItem, "panel", 1, -1},
    {0.0f, param::kSelectedChannel, "panel", 0, -1},
    {0.2f, param::kMeterSw, "panel", 2, -1},
    {0.2f, param::kFreq23, "crossoverStrip", -1, -1},
    {0.2f, param::redLinkIndex(4), "linkStrip", -1, -1},
    {0.2f, param::kMasterOut, "outputStage", -1, 2},
    {0.2f, param::kDryOut, "outputStage", -1, 3},
    {0.2f, param::kWetOut, "outputStage", -1, 4},
    {0.2f, param::pwSwIndex(2), "", -1, -1},
    {0.2f, param::compSwIndex(2), "", -1, -1},
    {0.2f, param::kMonitor, "", -1, -1},
    {0.2f, param::kReductionSw, "", -1, -1},
    {0.0f, param::relIndex(2), "panel", 8, -1}, // written through to cp2_Rel_a
};

TEST_F(ParameterPathTest, EditorNotificationsFollowThePage) {
    for (const NotificationRow& row : kNotifications) {
        set(param::kPanelPage, row.page);
        effect->setEditorHint(110, 77);
        effect->setEditorHint(111, 77);
        editor().log.clear();
        const float value = 0.33f;
        set(row.index, value);
        SCOPED_TRACE(testing::Message() << "page " << row.page << " index " << row.index);
        const std::vector<std::string>& log = editor().log;
        // The last thing the editor hears is always setParameter with the same index and value.
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(),
                  "setParameter " + std::to_string(row.index) + " " + std::to_string(value));
        const bool requested =
            std::string(row.call).empty()
                ? std::none_of(log.begin(), log.end(),
                               [](const std::string& s) {
                                   return s.rfind("setParameter", 0) != 0 && s != "postUpdate";
                               })
                : std::count(log.begin(), log.end(), row.call) == 1;
        EXPECT_TRUE(requested);
        EXPECT_EQ(effect->getEditorHint(111), row.panelHint < 0 ? 77 : row.panelHint);
        EXPECT_EQ(effect->getEditorHint(110), row.outputHint < 0 ? 77 : row.outputHint);
    }
}

// Changes wait for the panel's redraw: two elements become the whole page, and meter readings
// are handed over only once the panel has drawn (it resets the hint to 0), never over a change.
TEST_F(ParameterPathTest, UndrawnChangesMergeAndHoldOffTheMeters) {
    set(param::kPanelPage, 0.0f); // page A
    effect->setEditorHint(111, 0);
    set(param::ratioIndex(1), 0.3f);
    EXPECT_EQ(effect->getEditorHint(111), 3);
    effect->requestPanelRefresh();
    EXPECT_EQ(effect->getEditorHint(111), 3);
    set(param::threshIndex(1), 0.3f);
    EXPECT_EQ(effect->getEditorHint(111), qv::kHintWholeView);
    set(param::inLevelIndex(1), 0.3f);
    EXPECT_EQ(effect->getEditorHint(111), qv::kHintWholeView);
    effect->setEditorHint(111, 0); // drawn
    effect->requestPanelRefresh();
    EXPECT_EQ(effect->getEditorHint(111), 1);
    set(param::ratioIndex(1), 0.4f); // replaces the readings
    EXPECT_EQ(effect->getEditorHint(111), 3);
    // The output stage in the same way; a program change is drawn whole on both.
    effect->setEditorHint(110, 0);
    set(param::kMasterOut, 0.4f);
    set(param::kDryOut, 0.4f);
    EXPECT_EQ(effect->getEditorHint(110), qv::kHintWholeView);
    effect->setProgram(2);
    EXPECT_EQ(effect->getEditorHint(110), 0);
    effect->requestOutputRefresh();
    EXPECT_EQ(effect->getEditorHint(110), 0);
}

TEST_F(ParameterPathTest, SettingThePageAlwaysRefreshesThePanel) {
    for (float page : {0.0f, 0.2f, 0.3f, 0.5f, 0.6f, 0.75f, 0.9f}) {
        effect->setEditorHint(111, 5);
        editor().log.clear();
        set(param::kPanelPage, page);
        EXPECT_EQ(effect->getEditorHint(111), 0) << page;
        EXPECT_EQ(std::count(editor().log.begin(), editor().log.end(), "panel"), 1) << page;
    }
}

TEST_F(ParameterPathTest, EditorValuesAddressParameters) {
    effect->setEditorValue(20, 0.75f);
    EXPECT_EQ(get(20), 0.75f);
    effect->setEditorValue(0, 0.75f); // not an editor value tag
    EXPECT_NE(get(0), 0.75f);
    set(param::relModeIndex(1), 0.0f);
    set(param::relAIndex(1), 0.25f);
    EXPECT_EQ(effect->getEditorValue(19), 0.25f);
}

TEST_F(ParameterPathTest, DisplayAndLabelsThroughTheDispatcher) {
    AEffect* e = effect->getAeffect();
    char text[32];
    e->dispatcher(e, effGetParamName, 20, 0, text, 0.0f);
    EXPECT_STREQ(text, "cp2_Thresh");
    e->dispatcher(e, effGetParamLabel, 74, 0, text, 0.0f);
    EXPECT_STREQ(text, "dB/oct");
    set(param::kFilterType, 1.0f);
    e->dispatcher(e, effGetParamDisplay, param::kFilterType, 0, text, 0.0f);
    EXPECT_STREQ(text, "Brickwall");
    set(param::kWetOut, 0.5f);
    EXPECT_EQ(display(param::kWetOut), "-6.02059");
    set(param::relModeIndex(1), 1.0f);
    set(param::relMIndex(1), 0.5f);
    EXPECT_EQ(display(19), "125");
    set(param::relModeIndex(1), 0.0f);
    set(param::relAIndex(1), 0.25f);
    EXPECT_EQ(display(19), " 25 %");
    // Null buffers from a host do nothing.
    e->dispatcher(e, effGetParamDisplay, 3, 0, nullptr, 0.0f);
    e->dispatcher(e, effGetParamName, 3, 0, nullptr, 0.0f);
    e->dispatcher(e, effGetParamLabel, 3, 0, nullptr, 0.0f);
}

} // namespace

} // namespace qv
