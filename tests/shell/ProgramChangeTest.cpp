// Program changes through the effect: what is applied, in which order, what is left alone, and
// the program names a host reads and writes.
#include "params/ParameterIndex.h"
#include "tests/shell/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace qv {

namespace {

class ProgramChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::reset();
        effect = std::make_unique<TestEffect>(&RecordingHost::callback);
    }
    float get(int index) { return effect->getParameter(index); }
    std::unique_ptr<TestEffect> effect;
};

// The parameter indices the editor heard of through setParameter, in order.
std::vector<int> parameterCalls(const std::vector<std::string>& log) {
    std::vector<int> calls;
    for (const std::string& line : log)
        if (line.rfind("setParameter ", 0) == 0) calls.push_back(std::stoi(line.substr(13)));
    return calls;
}

TEST_F(ProgramChangeTest, StartsOnTheDefaultProgram) {
    EXPECT_EQ(effect->getProgram(), 0);
    char name[32];
    effect->getProgramName(name);
    EXPECT_STREQ(name, "Default");
    // The default program's values are the current values; the mirrors follow Rel_a.
    for (int band = 1; band <= qv::kNumBands; ++band)
        EXPECT_EQ(get(param::relIndex(band)), get(param::relAIndex(band)));
}

TEST_F(ProgramChangeTest, Program7OpensAllCrossoversAndSwitchesBandsOff) {
    effect->setProgram(7);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(get(i), 0.0f) << i;
    for (int band = 2; band <= 5; ++band) {
        EXPECT_EQ(get(param::compSwIndex(band)), 1.0f) << band;
        EXPECT_EQ(get(param::pwSwIndex(band)), band == 5 ? 0.0f : 1.0f) << band;
    }
}

TEST_F(ProgramChangeTest, EditsSurviveSwitchingAwayAndBack) {
    effect->setProgram(3);
    effect->setParameter(param::kCp1Thresh, 0.123f);
    effect->setProgram(0);
    EXPECT_NE(get(param::kCp1Thresh), 0.123f);
    effect->setProgram(3);
    EXPECT_EQ(get(param::kCp1Thresh), 0.123f);
}

TEST_F(ProgramChangeTest, EditorStateIsLeftAsItWas) {
    const float state[] = {0.6f, 0.4f, 0.55f, 0.0f, 0.3f, 0.9f};
    for (int i = 0; i < 6; ++i)
        effect->setParameter(param::kPanelPage + i, state[i]);
    for (int program = 0; program < qv::kNumPrograms; ++program) {
        effect->setProgram(program);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(get(param::kPanelPage + i), state[i]) << program;
    }
}

TEST_F(ProgramChangeTest, MirrorsSeeTheNewProgram) {
    for (int program = 0; program < qv::kNumPrograms; ++program) {
        effect->setProgram(program);
        for (int band = 1; band <= qv::kNumBands; ++band) {
            const bool manual = get(param::relModeIndex(band)) > 0.5f;
            EXPECT_EQ(get(param::relIndex(band)),
                      get(manual ? param::relMIndex(band) : param::relAIndex(band)))
                << "program " << program << " band " << band;
        }
    }
}

TEST_F(ProgramChangeTest, CrossoversComeBackExactlyFromAnEditedProgram) {
    // Program 17 edited to the top; switching to program 0 must not let the old values push.
    effect->setProgram(0);
    const float defaults[4] = {get(0), get(1), get(2), get(3)};
    effect->setProgram(17);
    effect->setParameter(param::kFreq45, 1.0f);
    effect->setProgram(0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(get(i), defaults[i]) << i;
    effect->setProgram(17);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(get(i), 1.0f) << i;
}

TEST_F(ProgramChangeTest, OrderOfCallsHintsAndRefreshes) {
    effect->setEditorHint(110, 5);
    effect->setEditorHint(111, 6);
    effect->setEditorValue(107, 0.5f);
    RecordingEditor& editor = *effect->recorder();
    editor.log.clear();
    effect->setProgram(5);

    const std::vector<int> calls = parameterCalls(editor.log);
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(std::vector<int>(calls.begin(), calls.begin() + 4), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(calls[calls.size() - 2], param::kDryOut);
    EXPECT_EQ(calls.back(), param::kWetOut);
    // The editor-state parameters are re-applied in the order 87, 88, 90, 89, 91, 92.
    auto at = [&calls](int index) {
        return std::find(calls.begin(), calls.end(), index) - calls.begin();
    };
    EXPECT_LT(at(87), at(88));
    EXPECT_LT(at(88), at(90));
    EXPECT_LT(at(90), at(89));
    EXPECT_LT(at(89), at(91));
    EXPECT_LT(at(91), at(92));
    EXPECT_LT(at(param::kMonitor), at(param::kReductionSw));
    // Each band's RelMode comes before its mirror, Rel_m and Rel_a.
    for (int band = 1; band <= qv::kNumBands; ++band) {
        EXPECT_LT(at(param::relModeIndex(band)), at(param::relMIndex(band)));
        EXPECT_LT(at(param::relMIndex(band)), at(param::relAIndex(band)));
    }
    // It ends with both hints at 0 and a refresh of the output stage and the panel.
    EXPECT_EQ(effect->getEditorHint(110), 0);
    EXPECT_EQ(effect->getEditorHint(111), 0);
    EXPECT_EQ(effect->getEditorValue(107), 0.0f);
    ASSERT_GE(editor.log.size(), 2u);
    EXPECT_EQ(editor.log[editor.log.size() - 2], "outputStage");
    EXPECT_EQ(editor.log.back(), "panel");
    // The host is not told of any of it.
    EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST_F(ProgramChangeTest, ProgramNames) {
    AEffect* e = effect->getAeffect();
    char text[64];
    EXPECT_EQ(e->dispatcher(e, effGetProgramNameIndexed, 16, 0, text, 0.0f), 1);
    EXPECT_STREQ(text, "(ex15");
    EXPECT_EQ(e->dispatcher(e, effGetProgramNameIndexed, 19, 0, text, 0.0f), 1);
    EXPECT_STREQ(text, "---");
    std::strcpy(text, "keep");
    EXPECT_EQ(e->dispatcher(e, effGetProgramNameIndexed, 20, 0, text, 0.0f), 0);
    EXPECT_EQ(e->dispatcher(e, effGetProgramNameIndexed, -1, 0, text, 0.0f), 0);
    EXPECT_STREQ(text, "keep");

    e->dispatcher(e, effSetProgram, 0, 4, nullptr, 0.0f);
    char longName[] = "A name far longer than twenty-three characters";
    e->dispatcher(e, effSetProgramName, 0, 0, longName, 0.0f);
    char back[64];
    std::memset(back, 'x', sizeof(back));
    e->dispatcher(e, effGetProgramName, 0, 0, back, 0.0f);
    EXPECT_EQ(std::string(back), std::string(longName, 23));
    e->dispatcher(e, effSetProgramName, 0, 0, nullptr, 0.0f); // nothing happens
    e->dispatcher(e, effGetProgramName, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effGetProgramNameIndexed, 4, 0, back, 0.0f);
    EXPECT_EQ(std::string(back), std::string(longName, 23));
}

} // namespace

} // namespace qv
