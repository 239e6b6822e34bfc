// The editor's first form, with the real effect in this program: rectangle, the controls bound
// to their parameters at their places, the artwork on screen, host automation redrawing a switch
// at once, clicks recorded with the host, what close resets, and 200 open/close cycles that leave
// no GDI object, device context, window or window class behind.
#include "editor/MultibandEditor.h"
#include "gui/Bitmap.h"
#include "gui/Control.h"
#include "gui/Frame.h"
#include "gui/FrameWindowClass.h"
#include "gui/GdiCounter.h"
#include "gui/OffscreenContext.h"
#include "gui/ResourceModule.h"
#include "gui/ToggleButton.h"
#include "shell/MultibandEffect.h"
#include "tests/gui/RecordingHost.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace qv {

namespace {

class EditorInProcess : public ::testing::Test {
protected:
    EditorInProcess() : effect(MultibandEffect::create(recordingHost)) {
        editor = static_cast<MultibandEditor*>(effect->getEditor());
        hostEvents().clear();
    }
    ~EditorInProcess() override { delete effect; }

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr) {
        return effect->dispatcher(opcode, 0, value, ptr, 0.0f);
    }
    void open() { ASSERT_EQ(dispatch(effEditOpen, 0, host.handle), 1); }
    HWND frameWindow() const {
        return editor->getFrame() ? editor->getFrame()->getWindow() : nullptr;
    }
    void paint() {
        InvalidateRect(frameWindow(), nullptr, FALSE);
        UpdateWindow(frameWindow());
    }
    COLORREF screenPixel(int x, int y) {
        HDC dc = GetDC(frameWindow());
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(frameWindow(), dc);
        return c;
    }
    // Pixel (x, y) of bitmap id as the toolkit loads it.
    static COLORREF artPixel(int id, int x, int y) {
        Bitmap* bitmap = new Bitmap(id);
        COLORREF c;
        {
            OffscreenContext copy(nullptr, bitmap);
            c = GetPixel(copy.getDC(), x, y) & 0xFFFFFF;
        }
        bitmap->release();
        return c;
    }
    // Screen position of frame point (x, y).
    Point screenOf(int x, int y) {
        RECT r;
        GetWindowRect(frameWindow(), &r);
        return Point(r.left + x, r.top + y);
    }

    ScriptedInput input; // first: the editor reads the clock when it is made
    TestWindow host;
    MultibandEffectBase* effect;
    MultibandEditor* editor;
};

TEST_F(EditorInProcess, RectIsTheBackgroundsSizeBeforeOpen) {
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 570);
    EXPECT_EQ(rect->right, 785);
    EXPECT_FALSE(editor->isEditorOpen());
    EXPECT_EQ(editor->findControl(87), nullptr);
}

struct Placement {
    VstInt32 tag;
    Rect rect;
};

constexpr Placement kPlacements[] = {
    {87, {445, 533, 656, 558}}, {58, {83, 524, 108, 549}}, {44, {349, 67, 380, 98}},
    {46, {304, 67, 335, 98}},   {48, {259, 67, 290, 98}},  {50, {214, 67, 245, 98}},
    {52, {169, 67, 200, 98}},   {45, {606, 67, 637, 98}},  {47, {561, 67, 592, 98}},
    {49, {516, 67, 547, 98}},   {51, {471, 67, 502, 98}},  {53, {426, 67, 457, 98}},
};

TEST_F(EditorInProcess, OpenPlacesTheControlsWithTheEffectsValues) {
    effect->setParameter(48, 0.0f);
    effect->setParameter(53, 0.0f);
    effect->setParameter(87, 0.5f);
    open();
    ASSERT_NE(frameWindow(), nullptr);
    EXPECT_EQ(GetParent(frameWindow()), host.handle);
    RECT client;
    GetClientRect(frameWindow(), &client);
    EXPECT_EQ(client.right, 785);
    EXPECT_EQ(client.bottom, 570);
    // The custom views come first, then the twelve stock controls.
    const long custom = editor->getFrame()->getViewCount() - 12;
    EXPECT_GE(custom, 1);
    for (const Placement& p : kPlacements) {
        Control* control = editor->findControl(p.tag);
        ASSERT_NE(control, nullptr) << p.tag;
        EXPECT_EQ(control->viewSize(), p.rect) << p.tag;
        EXPECT_EQ(control->getValue(), effect->getParameter(p.tag)) << p.tag;
        EXPECT_EQ(control->getListener(), static_cast<ControlListener*>(editor));
    }
    // Drawing order: page selector, monitor, power switches of bands 1..5, comp switches.
    EXPECT_EQ(editor->getFrame()->getView(custom + 0), editor->findControl(87));
    EXPECT_EQ(editor->getFrame()->getView(custom + 1), editor->findControl(58));
    EXPECT_EQ(editor->getFrame()->getView(custom + 2), editor->findControl(44));
    EXPECT_EQ(editor->getFrame()->getView(custom + 11), editor->findControl(53));
    EXPECT_EQ(editor->findControl(0), nullptr);
}

TEST_F(EditorInProcess, ShowsTheArtworkAndEachSwitchsPicture) {
    effect->setParameter(48, 0.0f); // band 3 power: picture 0
    effect->setParameter(46, 1.0f); // band 2 power: picture 1
    open();
    paint();
    for (const POINT p : {POINT{5, 5}, POINT{20, 300}, POINT{660, 560}, POINT{392, 110}})
        EXPECT_EQ(screenPixel(p.x, p.y), artPixel(10001, p.x, p.y)) << p.x << "," << p.y;
    for (int y = 3; y < 31; y += 6) {
        EXPECT_EQ(screenPixel(259 + 15, 67 + y), artPixel(10006, 15, y));
        EXPECT_EQ(screenPixel(304 + 15, 67 + y), artPixel(10006, 15, 31 + y));
    }
}

TEST_F(EditorInProcess, HostAutomationRedrawsTheSwitchAtOnce) {
    effect->setParameter(48, 0.0f);
    open();
    paint();
    const COLORREF off = artPixel(10006, 15, 15);
    const COLORREF on = artPixel(10006, 15, 31 + 15);
    ASSERT_NE(off, on) << "the two pictures must differ where we look";
    EXPECT_EQ(screenPixel(259 + 15, 67 + 15), off);
    effect->setParameter(48, 1.0f); // no message pumped in between
    EXPECT_EQ(editor->findControl(48)->getValue(), 1.0f);
    EXPECT_EQ(screenPixel(259 + 15, 67 + 15), on);
    EXPECT_TRUE(editor->isRefreshPending(0));
}

// Automation on another thread (which may be the audio thread) touches no control and draws
// nothing: the control is resynchronised and redrawn by the next idle on the UI thread.
TEST_F(EditorInProcess, AutomationFromAnotherThreadWaitsForTheNextIdle) {
    effect->setParameter(48, 0.0f);
    open();
    paint();
    dispatch(effEditIdle);
    const COLORREF off = artPixel(10006, 15, 15);
    const COLORREF on = artPixel(10006, 15, 31 + 15);
    std::thread([this] { effect->setParameter(48, 1.0f); }).join();
    EXPECT_TRUE(editor->isControlPending(48));
    EXPECT_EQ(editor->findControl(48)->getValue(), 0.0f);
    EXPECT_EQ(screenPixel(259 + 15, 67 + 15), off);
    dispatch(effEditIdle);
    EXPECT_FALSE(editor->isControlPending(48));
    EXPECT_EQ(editor->findControl(48)->getValue(), 1.0f);
    EXPECT_EQ(screenPixel(259 + 15, 67 + 15), on);
    // Recorded while closed: nothing is left for the next session.
    dispatch(effEditClose);
    std::thread([this] { effect->setParameter(48, 0.0f); }).join();
    EXPECT_FALSE(editor->isControlPending(48));
}

TEST_F(EditorInProcess, TheMonitorShowsOnFromHalfTheBandSwitchesOnlyAbove) {
    open();
    auto* monitor = static_cast<ToggleButton*>(editor->findControl(58));
    auto* power = static_cast<ToggleButton*>(editor->findControl(44));
    ASSERT_NE(monitor, nullptr);
    ASSERT_NE(power, nullptr);
    EXPECT_TRUE(monitor->isSet(0.5f));
    EXPECT_FALSE(power->isSet(0.5f));
}

TEST_F(EditorInProcess, ChangesWhileClosedShowOnTheNextOpen) {
    open();
    dispatch(effEditClose);
    EXPECT_FALSE(editor->isEditorOpen());
    effect->setParameter(50, 0.0f); // ignored by the closed editor
    effect->setParameter(87, 1.0f);
    open();
    EXPECT_EQ(editor->findControl(50)->getValue(), 0.0f);
    EXPECT_EQ(editor->findControl(87)->getValue(), 1.0f);
}

TEST_F(EditorInProcess, ParameterWithoutAStockControlOnlyRequestsRefreshZero) {
    open();
    dispatch(effEditIdle);
    for (int k = 0; k < 6; ++k)
        ASSERT_FALSE(editor->isRefreshPending(k));
    editor->setParameter(0, 0.3f);
    EXPECT_TRUE(editor->isRefreshPending(0));
    for (int k = 1; k < 6; ++k)
        EXPECT_FALSE(editor->isRefreshPending(k));
}

TEST_F(EditorInProcess, ClickOnACompSwitchIsRecordedWithTheHost) {
    effect->setParameter(47, 1.0f);
    open();
    paint();
    hostEvents().clear();
    const Point inside = screenOf(570, 80);
    // Polls: the frame's, the switch's two, one round held, then released.
    input.then(1, inside).then(1, inside).then(1, inside).then(1, inside).then(0, inside);
    SendMessageA(frameWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(570, 80));
    EXPECT_EQ(effect->getParameter(47), 0.0f);
    const std::vector<VstInt32> opcodes = hostOpcodes();
    ASSERT_GE(opcodes.size(), 3u);
    EXPECT_EQ(opcodes.front(), audioMasterBeginEdit);
    EXPECT_EQ(opcodes.back(), audioMasterEndEdit);
    const auto automate = std::find(opcodes.begin(), opcodes.end(), audioMasterAutomate);
    ASSERT_NE(automate, opcodes.end());
    const HostEvent& e = hostEvents()[automate - opcodes.begin()];
    EXPECT_EQ(e.index, 47);
    EXPECT_EQ(e.opt, 0.0f);
    // Exactly one change reached the host: the value set back by the effect is no new change.
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), audioMasterAutomate), 1);
    // The host was kept alive during the hold.
    EXPECT_NE(std::find(opcodes.begin(), opcodes.end(), audioMasterIdle), opcodes.end());
    EXPECT_EQ(screenPixel(561 + 15, 67 + 15), artPixel(10003, 15, 15));
}

TEST_F(EditorInProcess, PageSelectorPressSetsThePage) {
    open();
    const Point press = screenOf(445 + 95, 540); // segment 3 of 7
    // Polls: the frame's, the selector's, then the end of the drag.
    input.then(1, press).then(1, press).then(0, press);
    SendMessageA(frameWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(445 + 95, 540));
    EXPECT_FLOAT_EQ(effect->getParameter(87), 0.5f);
}

TEST_F(EditorInProcess, CloseClearsTheTransientEditorState) {
    open();
    effect->setEditorValue(107, 0.75f);
    effect->setEditorHint(110, 3);
    effect->setEditorHint(111, 4);
    dispatch(effEditClose);
    EXPECT_EQ(effect->getEditorValue(107), 0.0f);
    EXPECT_EQ(effect->getEditorHint(110), 0);
    EXPECT_EQ(effect->getEditorHint(111), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(childWindowCount(host.handle), 0);
    dispatch(effEditIdle); // harmless while closed
    dispatch(effEditClose);
}

TEST_F(EditorInProcess, KeyAndKnobOpcodesReachTheEditor) {
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.0f), -1); // closed
    open();
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.0f), -1); // nobody takes keys
    EXPECT_EQ(effect->dispatcher(effEditKeyUp, 'a', 0, nullptr, 0.0f), -1);
    EXPECT_EQ(dispatch(effSetEditKnobMode, 2), 1);
}

TEST_F(EditorInProcess, OpeningTwiceKeepsOneWindow) {
    open();
    open();
    EXPECT_EQ(childWindowCount(host.handle), 1);
    EXPECT_EQ(FrameWindowClass::useCount(), 1);
}

TEST_F(EditorInProcess, DeletingTheEffectWhileOpenTakesTheWindowAlong) {
    open();
    delete effect;
    effect = nullptr;
    EXPECT_EQ(childWindowCount(host.handle), 0);
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
}

TEST_F(EditorInProcess, TwoHundredOpenAndCloseCyclesLeaveNothingBehind) {
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int cycle = 0; cycle < 200; ++cycle) {
        ERect* rect = nullptr;
        dispatch(effEditGetRect, 0, &rect);
        ASSERT_EQ(dispatch(effEditOpen, 0, host.handle), 1);
        paint();
        dispatch(effEditIdle);
        effect->setParameter(44 + cycle % 10, static_cast<float>(cycle % 2));
        dispatch(effEditIdle);
        dispatch(effEditClose);
        ASSERT_EQ(childWindowCount(host.handle), 0) << cycle;
    }
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(ResourceModule::get(), FrameWindowClass::name(), &wc));
}

} // namespace

} // namespace qv
