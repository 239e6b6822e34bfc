// The editor base as bound to the effect: registration with the effect, the rectangle, refresh
// flags served once and in order, the re-entrancy guard around the host's idle callback, the
// pump's timing on a scripted clock, paint-only dispatch, keys and wheel forwarding, and paired
// OLE initialisation.
#include "editor/PluginEditor.h"
#include "gui/Frame.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/TestWindow.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <string>
#include <vector>

namespace qv {

namespace {

// An editor that records its refresh handlers and can be given a frame.
class RecordingEditor : public PluginEditor {
public:
    explicit RecordingEditor(AudioEffect* effect) : PluginEditor(effect) {}
    void update() override { handled.push_back(0); }
    void updateOutputStage() override { handled.push_back(1); }
    void updateCrossoverStrip() override { handled.push_back(2); }
    void updateLinkStrip() override { handled.push_back(3); }
    void updatePanel() override { handled.push_back(4); }
    void updateMultiControl() override { handled.push_back(5); }
    void attach(Frame* f) { frame_ = f; }
    ERect& rectangle() { return rect_; }
    std::vector<int> handled;
};

RecordingEditor* reentered = nullptr; // the editor the host calls back into, or null

VstIntPtr QV_CDECL reenteringHost(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
    if (opcode == audioMasterIdle && reentered) {
        // A host idling its editor from inside its idle callback.
        reentered->postUpdatePanel();
        reentered->idle();
    }
    return recordingHost(e, opcode, index, value, ptr, opt);
}

class EditorBaseTest : public ::testing::Test {
protected:
    EditorBaseTest()
        : effect(new AudioEffect(reenteringHost, 1, 1)), editor(new RecordingEditor(effect)) {
        hostEvents().clear();
    }
    ~EditorBaseTest() override {
        reentered = nullptr;
        delete effect;
    }
    int hostIdles() const {
        int n = 0;
        for (const HostEvent& e : hostEvents())
            n += e.opcode == audioMasterIdle;
        return n;
    }

    ScriptedInput input; // constructed first: the editor reads its clock
    AudioEffect* effect;
    RecordingEditor* editor;
};

TEST_F(EditorBaseTest, RegistersWithTheEffect) {
    EXPECT_EQ(effect->getEditor(), editor);
    EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
    EXPECT_EQ(editor->getEffect(), effect);
}

TEST_F(EditorBaseTest, RectIsReportedBeforeAnyoneFillsIt) {
    ERect* rect = nullptr;
    EXPECT_EQ(editor->getRect(&rect), 1);
    ASSERT_EQ(rect, &editor->rectangle());
    EXPECT_EQ(rect->right, 0);
    EXPECT_EQ(editor->getRect(nullptr), 1);
}

TEST_F(EditorBaseTest, OpenRequestsEveryRefreshAndIdleServesThemInOrderOnce) {
    int hostWindow = 0;
    EXPECT_EQ(editor->open(&hostWindow), 0);
    EXPECT_EQ(editor->getSystemWindow(), &hostWindow);
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(editor->isRefreshPending(k));
    editor->idle();
    EXPECT_EQ(editor->handled, std::vector<int>({0, 1, 2, 3, 4, 5}));
    editor->idle();
    EXPECT_EQ(editor->handled.size(), 6u);
}

TEST_F(EditorBaseTest, RepeatedRequestsRunTheirHandlerOnce) {
    for (int i = 0; i < 3; ++i) {
        editor->postUpdatePanel();
        editor->postUpdate();
        editor->postUpdateMultiControl();
    }
    editor->idle();
    EXPECT_EQ(editor->handled, std::vector<int>({0, 4, 5}));
}

TEST_F(EditorBaseTest, IdleInsideTheHostsIdleCallbackDoesNothing) {
    reentered = editor;
    editor->pumpIdle(); // due at once: idle, then the host's idle callback, which re-enters
    EXPECT_EQ(hostIdles(), 1);
    EXPECT_TRUE(editor->handled.empty()); // the nested idle did not serve the panel request
    EXPECT_TRUE(editor->isRefreshPending(4));
    reentered = nullptr;
    editor->idle();
    EXPECT_EQ(editor->handled, std::vector<int>({4}));
}

TEST_F(EditorBaseTest, PumpRunsAboutEveryFiftyMillisecondsAndSleepsInBetween) {
    const std::uint32_t start = input.tick;
    editor->pumpIdle(); // first call: due at once
    EXPECT_EQ(hostIdles(), 1);
    EXPECT_TRUE(input.sleeps.empty());
    editor->pumpIdle(); // the same millisecond: sleeps and returns
    EXPECT_EQ(hostIdles(), 1);
    EXPECT_EQ(input.sleeps, std::vector<std::uint32_t>({4}));
    input.tick = start + 45; // 45 + 4 is still before 100 - 50
    editor->pumpIdle();
    EXPECT_EQ(hostIdles(), 1);
    input.tick = start + 46; // 46 + 4 reaches it
    editor->pumpIdle();
    EXPECT_EQ(hostIdles(), 2);
    EXPECT_EQ(input.sleeps.size(), 3u);
    // The next time is counted from the slept-on clock: 50 + 100.
    input.tick = start + 95;
    editor->pumpIdle();
    EXPECT_EQ(hostIdles(), 2);
    input.tick = start + 96;
    editor->pumpIdle();
    EXPECT_EQ(hostIdles(), 3);
    // After a pause longer than the interval it runs at once, without sleeping.
    input.tick = start + 1000;
    const size_t sleeps = input.sleeps.size();
    editor->pumpIdle();
    EXPECT_EQ(hostIdles(), 4);
    EXPECT_EQ(input.sleeps.size(), sleeps);
}

TEST_F(EditorBaseTest, PumpServesRefreshFlagsWhenItRuns) {
    editor->postUpdateLinkStrip();
    editor->pumpIdle();
    EXPECT_EQ(editor->handled, std::vector<int>({3}));
}

TEST_F(EditorBaseTest, PumpDispatchesPaintMessagesOnly) {
    struct PaintCounter : View {
        PaintCounter() : View(Rect(0, 0, 200, 100)) {}
        void drawRect(DrawContext* context, const Rect& rect) override {
            ++paints;
            View::drawRect(context, rect);
        }
        int paints = 0;
    };
    TestWindow host;
    Frame* frame = new Frame(Rect(0, 0, 200, 100), host.handle, editor);
    auto* view = new PaintCounter;
    frame->addView(view);
    editor->attach(frame);
    const UINT kPrivate = WM_APP + 7;
    PostMessageA(host.handle, kPrivate, 0, 0);
    InvalidateRect(frame->getWindow(), nullptr, FALSE);
    // Each run of the pump takes one paint message; Wine may still owe the host window its
    // first paint, so allow a few runs, a pump interval apart.
    for (int run = 0; run < 4 && view->paints == 0; ++run) {
        editor->pumpIdle();
        input.tick += EditorBase::kPumpInterval;
    }
    EXPECT_GE(view->paints, 1);
    EXPECT_FALSE(frame->isFirstDrawPending());
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, host.handle, kPrivate, kPrivate, PM_REMOVE));
    editor->attach(nullptr);
    delete frame;
}

TEST_F(EditorBaseTest, KeysAndWheelGoToTheFrame) {
    VstKeyCode key{'x', 0, 0};
    EXPECT_EQ(editor->onKeyDown(key), -1);
    EXPECT_EQ(editor->onKeyUp(key), -1);
    EXPECT_FALSE(editor->onWheel(1.0f));
    struct KeyView : View {
        KeyView() : View(Rect(0, 0, 50, 50)) {}
        long onKeyDown(KeyCode& k) override { return k.character == 'y' ? 1 : -1; }
        long onKeyUp(KeyCode&) override { return 2; }
        bool onWheel(DrawContext*, Point where, float distance) override {
            wheelAt = where;
            wheel = distance;
            return true;
        }
        Point wheelAt;
        float wheel = 0;
    };
    Frame* frame = new Frame(Rect(0, 0, 200, 100), nullptr, editor);
    auto* view = new KeyView;
    frame->addView(view);
    editor->attach(frame);
    EXPECT_EQ(editor->onKeyDown(key), -1); // views that do not handle it
    key.character = 'y';
    EXPECT_EQ(editor->onKeyDown(key), 1);
    EXPECT_EQ(editor->onKeyUp(key), 2);
    input.setCursorPosition(Point(20, 30));
    EXPECT_TRUE(editor->onWheel(-2.0f));
    EXPECT_EQ(view->wheelAt, Point(20, 30));
    EXPECT_EQ(view->wheel, -2.0f);
    input.setCursorPosition(Point(120, 30));
    EXPECT_FALSE(editor->onWheel(1.0f));
    editor->attach(nullptr);
    delete frame;
}

TEST_F(EditorBaseTest, KnobModeIsAccepted) {
    EXPECT_EQ(editor->setKnobMode(2), 1);
}

TEST(EditorBaseOle, InitialisationIsPairedInConstructorAndDestructor) {
    // The thread starts without OLE: the first initialisation says S_OK.
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
    auto* effect = new AudioEffect(recordingHost, 1, 1);
    new PluginEditor(effect);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE); // already initialised by the editor
    OleUninitialize();
    {
        Frame frame(Rect(0, 0, 10, 10), nullptr, nullptr);
        EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
        OleUninitialize();
    }
    delete effect;                           // and the editor with it
    EXPECT_EQ(OleInitialize(nullptr), S_OK); // back to where it was
    OleUninitialize();
}

} // namespace

} // namespace qv
