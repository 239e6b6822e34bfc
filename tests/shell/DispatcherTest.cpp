// The dispatcher's answer to every opcode, the record's entry points and the host callbacks.
#include "shell/BandMeterReport.h"
#include "tests/shell/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace qv {

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::reset();
        effect = new TestEffect(&RecordingHost::callback);
        e = effect->getAeffect();
    }
    void TearDown() override {
        if (e) e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }

    TestEffect* effect = nullptr;
    AEffect* e = nullptr;
};

struct FixedAnswer {
    VstInt32 opcode;
    VstIntPtr expected;
};

// Opcodes whose answer does not depend on state (called with a null pointer, as hosts may).
const FixedAnswer kFixedAnswers[] = {
    {effOpen, 0},
    {effGetVu, 0},
    {effIdentify, ('N' << 24) | ('v' << 16) | ('E' << 8) | 'f'},
    {effGetChunk, 0},
    {effSetChunk, 0},
    {effProcessEvents, 0},
    {effCanBeAutomated, 1},
    {effString2Parameter, 0},
    {effGetNumProgramCategories, 1},
    {effCopyProgram, 0},
    {effConnectInput, 1},
    {effConnectOutput, 1},
    {effGetInputProperties, 0},
    {effGetOutputProperties, 0},
    {effGetPlugCategory, 1},
    {effSetSpeakerArrangement, 0},
    {effSetBypass, 0},
    {effGetVendorVersion, 1000},
    {effCanDo, 0},
    {effGetTailSize, 0},
    {effGetParameterProperties, 0},
    {effKeysRequired, 1},
    {effGetVstVersion, 2300},
    // not in the table: answered 0
    {16, 0},
    {17, 0},
    {18, 0},
    {20, 0},
    {21, 0},
    {36, 0},
    {46, 0},
    {50, 0},
    {53, 0},
    {62, 0},
    {70, 0},
    {77, 0},
    {-1, 0},
    {100000, 0},
};

TEST_F(DispatcherTest, FixedAnswers) {
    for (const FixedAnswer& row : kFixedAnswers)
        EXPECT_EQ(dispatch(row.opcode), row.expected) << "opcode " << row.opcode;
}

TEST_F(DispatcherTest, IdentityStrings) {
    struct Row {
        VstInt32 opcode;
        const char* text;
    } rows[] = {{effGetEffectName, "Quorvanelle"},
                {effGetVendorString, "Ferrowyn"},
                {effGetProductString, "Quorvanelle"}};
    for (const Row& row : rows) {
        char text[64];
        std::memset(text, 'x', sizeof(text));
        EXPECT_EQ(dispatch(row.opcode, 0, 0, text), 1);
        EXPECT_STREQ(text, row.text);
    }
}

TEST_F(DispatcherTest, CanDoRecognisesNoString) {
    for (const char* s : {"receiveVstEvents", "sendVstMidiEvent", "bypass", "", "x"})
        EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>(s)), 0) << s;
}

TEST_F(DispatcherTest, SetProgramOutsideTheBankChangesNothing) {
    dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(effGetProgram), 3);
    for (VstIntPtr bad : {VstIntPtr(20), VstIntPtr(-1), VstIntPtr(1000)}) {
        dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(dispatch(effGetProgram), 3);
    }
}

TEST_F(DispatcherTest, BlockSizeAndSampleRate) {
    dispatch(effSetBlockSize, 0, 256);
    EXPECT_EQ(effect->getBlockSize(), 256);
    EXPECT_EQ(dispatch(effSetBlockSizeAndSampleRate, 0, 128, nullptr, 48000.0f), 1);
    EXPECT_EQ(effect->getBlockSize(), 128);
    EXPECT_EQ(effect->getSampleRate(), 48000.0f);
    dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(effect->getSampleRate(), 96000.0f);
}

TEST_F(DispatcherTest, UnusableSampleRatesChangeNothing) {
    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        dispatch(effSetSampleRate, 0, 0, nullptr, bad);
        EXPECT_EQ(effect->getSampleRate(), 48000.0f) << bad;
    }
}

TEST_F(DispatcherTest, SpeakerArrangementQueryStoresNulls) {
    int dummy = 0;
    void* input = &dummy;
    void* output = &dummy;
    EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
              0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(DispatcherTest, TotalSampleToProcessEchoesTheValue) {
    EXPECT_EQ(dispatch(effSetTotalSampleToProcess, 0, 4321), 4321);
}

TEST_F(DispatcherTest, EditorOpcodesReachTheEditor) {
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0); // the stand-in keeps the base answer
    EXPECT_EQ(rect, nullptr);
    int window = 0;
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, &window), 1);
    EXPECT_EQ(effect->recorder()->getSystemWindow(), &window);
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 40, nullptr, 3.0f), 7);
    EXPECT_EQ(effect->recorder()->lastKey.character, 'a');
    EXPECT_EQ(effect->recorder()->lastKey.virt, 40);
    EXPECT_EQ(effect->recorder()->lastKey.modifier, 3);
    EXPECT_EQ(dispatch(effEditKeyUp), -1);
    EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(effect->recorder()->knobMode, 2);
    EXPECT_EQ(dispatch(effEditClose), 0);
    EXPECT_EQ(dispatch(effEditIdle), 0);
}

TEST(DispatcherWithoutEditor, EditorOpcodesAnswerZero) {
    RecordingHost::reset();
    auto* effect = new TestEffect(&RecordingHost::callback, false);
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->flags & effFlagsHasEditor, 0);
    ERect* rect = nullptr;
    for (VstInt32 op : {effEditGetRect, effEditOpen, effEditKeyDown, effEditKeyUp,
                        effSetEditKnobMode, effEditClose, effEditIdle})
        EXPECT_EQ(e->dispatcher(e, op, 0, 0, &rect, 0.0f), 0) << op;
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(DispatcherTest, ParameterEntriesReachTheEffect) {
    e->setParameter(e, 88, 0.4f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 88), 0.4f);
    EXPECT_EQ(e->getParameter(e, 93), 0.0f);
    EXPECT_EQ(e->getParameter(e, -1), 0.0f);
    e->setParameter(e, 93, 0.5f);
    e->setParameter(e, -7, 0.5f);
    EXPECT_EQ(e->getParameter(e, 93), 0.0f);
}

TEST_F(DispatcherTest, NonFiniteParameterValuesAreIgnored) {
    e->setParameter(e, 88, 0.4f);
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity()}) {
        e->setParameter(e, 88, bad);
        EXPECT_FLOAT_EQ(e->getParameter(e, 88), 0.4f);
    }
}

TEST_F(DispatcherTest, HostCallbacks) {
    effect->setParameterAutomated(89, 0.75f);
    effect->beginEdit(58);
    effect->endEdit(58);
    effect->masterIdle();
    ASSERT_EQ(RecordingHost::calls.size(), 4u);
    EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(RecordingHost::calls[0].index, 89);
    EXPECT_EQ(RecordingHost::calls[0].opt, 0.75f);
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.75f); // stored before the host hears of it
    EXPECT_EQ(RecordingHost::calls[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(RecordingHost::calls[1].index, 58);
    EXPECT_EQ(RecordingHost::calls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(RecordingHost::calls[3].opcode, audioMasterIdle);
}

TEST_F(DispatcherTest, ProcessAddsWhileProcessReplacingReplaces) {
    dispatch(effMainsChanged, 0, 1);
    const int n = 300;
    std::vector<float> silence(n, 0.0f), outL(n, 0.25f), outR(n, -0.5f);
    float* in[2] = {silence.data(), silence.data()};
    float* out[2] = {outL.data(), outR.data()};
    e->process(e, in, out, n);
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(outL[i], 0.25f);
        ASSERT_EQ(outR[i], -0.5f);
    }
    e->processReplacing(e, in, out, n);
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(outL[i], 0.0f);
        ASSERT_EQ(outR[i], 0.0f);
    }
    // A frame count of 0 or less, or missing buffers, leave the outputs alone.
    outL.assign(n, 1.0f);
    e->processReplacing(e, in, out, 0);
    e->processReplacing(e, in, out, -5);
    e->processReplacing(e, nullptr, out, n);
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(outL[i], 1.0f);
}

// The band meter query answers only its own index with a report of the size and version it
// knows; every other use of the vendor opcode answers 0 and writes nothing.
TEST_F(DispatcherTest, BandMeterQueryAnswersOnlyItsOwnReport) {
    BandMeterReport report;
    ASSERT_EQ(dispatch(effVendorSpecific, kBandMeterQuery, 0, &report), 1);
    EXPECT_EQ(report.bands, 5);
    for (int b = 0; b < report.bands; ++b)
        EXPECT_EQ(report.gain[b], effect->getEditorValue(100 + b)) << b;
    const struct {
        VstInt32 index;
        std::int32_t size, version;
    } refused[] = {{kBandMeterQuery, static_cast<std::int32_t>(sizeof report), 2},
                   {kBandMeterQuery, 12, kBandMeterReportVersion},
                   {0, static_cast<std::int32_t>(sizeof report), kBandMeterReportVersion}};
    for (const auto& r : refused) {
        BandMeterReport other;
        other.size = r.size;
        other.version = r.version;
        EXPECT_EQ(dispatch(effVendorSpecific, r.index, 0, &other), 0);
        EXPECT_EQ(other.bands, 0);
    }
    EXPECT_EQ(dispatch(effVendorSpecific, kBandMeterQuery, 0, nullptr), 0);
}

TEST_F(DispatcherTest, EditorFacingOperations) {
    effect->setEditorHint(110, 5);
    effect->setEditorHint(111, 6);
    effect->setEditorHint(112, 9);
    EXPECT_EQ(effect->getEditorHint(110), 5);
    EXPECT_EQ(effect->getEditorHint(111), 6);
    EXPECT_EQ(effect->getEditorHint(112), 0);
    EXPECT_NE(effect->getDisplayBuffer(108), nullptr);
    EXPECT_NE(effect->getDisplayBuffer(109), nullptr);
    EXPECT_EQ(effect->getDisplayBuffer(107), nullptr);
    effect->setEditorValue(107, 0.5f);
    EXPECT_EQ(effect->getEditorValue(107), 0.5f);
    effect->setParameter(87, 0.3f); // setting the page clears the scratch value
    EXPECT_EQ(effect->getEditorValue(107), 0.0f);
    EXPECT_EQ(effect->getEditorValue(100), 0.1f); // idle band gain reading
    EXPECT_EQ(effect->getEditorValue(50), 0.0f);  // not an editor value tag
}

TEST_F(DispatcherTest, RefreshRequestsAreGatedByTheHints) {
    RecordingEditor* ed = effect->recorder();
    effect->setEditorHint(110, 0);
    effect->requestOutputRefresh();
    effect->requestOutputRefresh();
    EXPECT_EQ(effect->getEditorHint(110), 1);
    EXPECT_EQ(std::count(ed->log.begin(), ed->log.end(), "outputStage"), 1);

    struct Row {
        float page;
        bool refreshes;
    } rows[] = {{0.0f, true}, {0.2f, true}, {0.285714f, false}, {0.65f, false}, {1.0f, false}};
    for (const Row& row : rows) {
        effect->setParameter(87, row.page);
        effect->setEditorHint(111, 0);
        ed->log.clear();
        effect->requestPanelRefresh();
        EXPECT_EQ(effect->getEditorHint(111), row.refreshes ? 1 : 0) << row.page;
        EXPECT_EQ(std::count(ed->log.begin(), ed->log.end(), "panel"), row.refreshes ? 1 : 0);
    }
}

TEST_F(DispatcherTest, AnalysisIsHandedOverOnlyOnTheSpectrumPage) {
    struct Row {
        float page, power;
        bool handsOver;
    } rows[] = {{0.65f, 1.0f, true},
                {0.65f, 0.5f, false},
                {0.571428f, 1.0f, false},
                {0.714285f, 1.0f, false},
                {0.2f, 1.0f, false}};
    for (const Row& row : rows) {
        effect->setParameter(87, row.page);
        effect->setParameter(91, row.power);
        effect->setEditorHint(111, 0);
        effect->captureAnalysis();
        EXPECT_EQ(effect->getEditorHint(111), row.handsOver ? 1 : 0)
            << row.page << " " << row.power;
    }
}

TEST_F(DispatcherTest, SuspendAndResumeEmptyTheAnalyserCopies) {
    effect->setParameter(87, 0.65f); // spectrum page
    effect->setParameter(91, 1.0f);
    dispatch(effMainsChanged, 0, 1);
    const int n = 4096 + 10;
    std::vector<float> tone(n), outL(n), outR(n);
    for (int i = 0; i < n; ++i)
        tone[i] = 0.5f * static_cast<float>(std::sin(0.05 * i));
    float* in[2] = {tone.data(), tone.data()};
    float* out[2] = {outL.data(), outR.data()};
    // The first (silent) frame after the reset hands the zeroed buffers over; the editor then
    // takes them and clears the hint.
    e->processReplacing(e, in, out, 1);
    effect->setEditorHint(111, 0);
    float* rest[2] = {tone.data() + 1, tone.data() + 1};
    e->processReplacing(e, rest, out, n - 1);
    const float* held = effect->getDisplayBuffer(108);
    ASSERT_NE(held, nullptr);
    ASSERT_TRUE(std::any_of(held, held + 4096, [](float v) { return v != 0.0f; }));
    for (VstIntPtr onOff : {VstIntPtr(0), VstIntPtr(1)}) {
        dispatch(effMainsChanged, 0, onOff);
        EXPECT_TRUE(std::all_of(held, held + 4096, [](float v) { return v == 0.0f; }));
    }
}

} // namespace

} // namespace qv
