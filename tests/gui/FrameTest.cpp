// The frame in real child windows under Wine: child list, topmost-first dispatch, the shared
// window class, painting (also with an empty update region), idle refresh, immediate redraws and
// the closed state after WM_DESTROY.
#include "gui/Frame.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/FrameWindowClass.h"
#include "gui/GdiCounter.h"
#include "gui/ResourceModule.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/SurfaceHelpers.h"
#include "tests/gui/TestWindow.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qv {

namespace {

// A view that records what reaches it.
class ProbeView : public View {
public:
    ProbeView(const Rect& size, std::vector<std::string>* log = nullptr, const char* name = "")
        : View(size), log(log), name(name) {}
    ~ProbeView() override { note("destroyed"); }
    void draw(DrawContext* context) override {
        ++draws;
        View::draw(context);
    }
    void drawRect(DrawContext* context, const Rect& rect) override {
        ++rectDraws;
        lastRect = rect;
        View::drawRect(context, rect);
    }
    void mouse(DrawContext*, Point where) override {
        ++presses;
        lastPress = where;
        note("mouse");
    }
    long onKeyDown(KeyCode& key) override { return key.character == keyHandled ? 1 : -1; }
    bool onDrop(void**, long, long, Point) override {
        note("drop");
        return acceptsDrops;
    }
    bool onWheel(DrawContext*, Point where, float) override {
        lastWheel = where;
        note("wheel");
        return true;
    }
    bool removed(View*) override {
        note("removed");
        return true;
    }
    bool attached(View*) override {
        note("attached");
        return true;
    }
    void note(const char* what) {
        if (log) log->push_back(std::string(name) + ":" + what);
    }

    std::vector<std::string>* log;
    const char* name;
    int draws = 0;
    int rectDraws = 0;
    int presses = 0;
    Rect lastRect;
    Point lastPress;
    Point lastWheel;
    VstInt32 keyHandled = -100;
    bool acceptsDrops = false;
};

bool classRegistered() {
    WNDCLASSA wc;
    return GetClassInfoA(ResourceModule::get(), FrameWindowClass::name(), &wc) != 0;
}

TEST(Frame, KeepsChildrenInInsertionOrder) {
    std::vector<std::string> log;
    Frame frame(Rect(0, 0, 100, 100), nullptr, nullptr);
    auto* a = new ProbeView(Rect(0, 0, 10, 10), &log, "a");
    auto* b = new ProbeView(Rect(0, 0, 10, 10), &log, "b");
    auto* c = new ProbeView(Rect(0, 0, 10, 10), &log, "c");
    for (View* v : {static_cast<View*>(a), static_cast<View*>(b), static_cast<View*>(c)})
        ASSERT_TRUE(frame.addView(v));
    EXPECT_EQ(frame.getViewCount(), 3);
    EXPECT_EQ(frame.getView(0), a);
    EXPECT_EQ(frame.getView(2), c);
    EXPECT_EQ(frame.getView(-1), nullptr);
    EXPECT_EQ(frame.getView(3), nullptr);
    EXPECT_EQ(a->getFrame(), &frame);
    EXPECT_TRUE(frame.isChild(b));
    EXPECT_TRUE(frame.removeView(b));
    EXPECT_FALSE(frame.isChild(b));
    EXPECT_EQ(frame.getView(1), c);
    EXPECT_EQ(frame.getViewCount(), 2);
    ProbeView stranger(Rect(0, 0, 1, 1));
    EXPECT_TRUE(frame.removeView(&stranger)); // not a child: still true, nothing happens
    EXPECT_EQ(frame.getViewCount(), 2);
    EXPECT_EQ(log, std::vector<std::string>(
                       {"a:attached", "b:attached", "c:attached", "b:removed", "b:destroyed"}));
}

TEST(Frame, GrowsPastTwentyChildrenAndReleasesThemAll) {
    int alive = 0;
    struct Counted : View {
        explicit Counted(int* alive) : View(Rect(0, 0, 1, 1)), alive(alive) { ++*alive; }
        ~Counted() override { --*alive; }
        int* alive;
    };
    {
        Frame frame(Rect(0, 0, 100, 100), nullptr, nullptr);
        for (int i = 0; i < 45; ++i)
            ASSERT_TRUE(frame.addView(new Counted(&alive)));
        EXPECT_EQ(frame.getViewCount(), 45);
        EXPECT_EQ(alive, 45);
        View* kept = frame.getView(44);
        kept->retain(); // someone else still holds this one
        frame.removeAll(true);
        EXPECT_EQ(frame.getViewCount(), 0);
        EXPECT_EQ(alive, 1);
        kept->release();
    }
    EXPECT_EQ(alive, 0);
}

class FrameInput : public ::testing::Test {
protected:
    FrameInput() {
        back = new ProbeView(Rect(10, 10, 50, 50), &log, "back");
        front = new ProbeView(Rect(30, 30, 70, 70), &log, "front");
        harness.frame->addView(back);
        harness.frame->addView(front);
    }
    ScriptedInput input;
    std::vector<std::string> log; // outlives the views, which write to it when destroyed
    ToolkitHarness harness;
    ProbeView* back;
    ProbeView* front;
    DrawContext context{nullptr, nullptr, nullptr};
};

TEST_F(FrameInput, PressReachesOnlyTheTopmostChildUnderIt) {
    log.clear();
    input.then(1, 0, 0);
    harness.frame->mouse(&context, Point(40, 40)); // both cover it
    input.then(1, 0, 0);
    harness.frame->mouse(&context, Point(20, 20)); // only back
    input.then(1, 0, 0);
    harness.frame->mouse(&context, Point(50, 50)); // both, edges inclusive
    input.then(1, 0, 0);
    harness.frame->mouse(&context, Point(90, 90)); // nobody
    EXPECT_EQ(log, std::vector<std::string>({"front:mouse", "back:mouse", "front:mouse"}));
}

TEST_F(FrameInput, MouseDisabledChildIsSkipped) {
    front->setMouseEnabled(false);
    log.clear();
    harness.frame->mouse(&context, Point(40, 40));
    harness.frame->mouse(&context, Point(60, 60)); // only the disabled one is there
    EXPECT_EQ(log, std::vector<std::string>({"back:mouse"}));
}

TEST_F(FrameInput, FirstChildHandlingAKeyDecides) {
    KeyCode key{'k', 0, 0};
    EXPECT_EQ(harness.frame->onKeyDown(key), -1);
    EXPECT_EQ(harness.frame->onKeyUp(key), -1);
    back->keyHandled = 'k';
    EXPECT_EQ(harness.frame->onKeyDown(key), 1);
}

TEST_F(FrameInput, DropGoesToAnEnabledChildThatTakesIt) {
    log.clear();
    EXPECT_FALSE(harness.frame->onDrop(nullptr, 0, 1, Point(40, 40)));
    EXPECT_EQ(log, std::vector<std::string>({"front:drop", "back:drop"}));
    back->acceptsDrops = true;
    front->setMouseEnabled(false);
    log.clear();
    EXPECT_TRUE(harness.frame->onDrop(nullptr, 0, 1, Point(40, 40)));
    EXPECT_EQ(log, std::vector<std::string>({"back:drop"}));
}

TEST_F(FrameInput, WheelGoesToTheViewUnderThePointer) {
    input.setCursorPosition(Point(60, 65)); // no window: frame coordinates
    log.clear();
    front->setMouseEnabled(false); // not consulted for the wheel
    EXPECT_TRUE(harness.frame->onWheel(&context, Point(0, 0), 1.0f));
    EXPECT_EQ(front->lastWheel, Point(60, 65));
    input.setCursorPosition(Point(95, 95));
    EXPECT_FALSE(harness.frame->onWheel(&context, Point(0, 0), 1.0f));
    EXPECT_EQ(log, std::vector<std::string>({"front:wheel"}));
}

TEST(FrameWindow, IsAVisibleChildOfTheHostWindowOfTheFramesSize) {
    TestWindow host;
    ToolkitHarness harness(host.handle, Rect(0, 0, 300, 200));
    HWND window = harness.frame->getWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), host.handle);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT r;
    GetClientRect(window, &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    char expected[64];
    std::snprintf(
        expected, sizeof(expected), "Plugin%0*llx", static_cast<int>(2 * sizeof(void*)),
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(ResourceModule::get())));
    EXPECT_STREQ(name, expected);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(harness.frame));
    EXPECT_TRUE(harness.frame->isDropTargetRegistered());
    EXPECT_EQ(childWindowCount(host.handle), 1);
}

TEST(FrameWindow, TwoFramesShareOneClassUntilTheLastIsGone) {
    TestWindow host;
    const int before = FrameWindowClass::useCount();
    ASSERT_EQ(before, 0);
    EXPECT_FALSE(classRegistered());
    auto* first = new Frame(Rect(0, 0, 100, 100), host.handle, nullptr);
    auto* second = new Frame(Rect(0, 0, 100, 100), host.handle, nullptr);
    EXPECT_EQ(FrameWindowClass::useCount(), 2);
    EXPECT_TRUE(classRegistered());
    delete first;
    EXPECT_EQ(FrameWindowClass::useCount(), 1);
    EXPECT_TRUE(classRegistered());
    delete second;
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    EXPECT_FALSE(classRegistered());
    EXPECT_EQ(childWindowCount(host.handle), 0);
}

TEST(FrameWindow, FailedCreationGivesTheClassBack) {
    auto* frame = new Frame(Rect(0, 0, 100, 100), reinterpret_cast<HWND>(0x7777), nullptr);
    EXPECT_EQ(frame->getWindow(), nullptr);
    EXPECT_FALSE(frame->isDropTargetRegistered());
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    frame->drawView(nullptr); // nothing to draw into
    frame->idle();
    delete frame;
    EXPECT_FALSE(classRegistered());
}

class FramePaint : public ::testing::Test {
protected:
    FramePaint() : harness(host.handle, Rect(0, 0, 785, 570)) {
        background = new Bitmap(10001);
        harness.frame->setBackground(background);
        child = new ProbeView(Rect(100, 100, 200, 150));
        harness.frame->addView(child);
        window = harness.frame->getWindow();
    }
    ~FramePaint() override { background->release(); }

    COLORREF windowPixel(int x, int y) {
        HDC dc = GetDC(window);
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(window, dc);
        return c;
    }
    COLORREF backgroundPixel(int x, int y) {
        OffscreenContext copy(nullptr, background);
        return GetPixel(copy.getDC(), x, y) & 0xFFFFFF;
    }

    TestWindow host;
    ToolkitHarness harness;
    Bitmap* background;
    ProbeView* child;
    HWND window;
};

TEST_F(FramePaint, EmptyUpdateRegionIsLeftToDefaultProcessing) {
    ValidateRect(window, nullptr);
    const int contexts = GdiCounter::liveDeviceContexts();
    SendMessageA(window, WM_PAINT, 0, 0);
    EXPECT_TRUE(harness.frame->isFirstDrawPending());
    EXPECT_EQ(child->draws, 0);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
}

TEST_F(FramePaint, PaintDrawsTheBackgroundAndTheChildrenInTheDirtyArea) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_FALSE(harness.frame->isFirstDrawPending());
    EXPECT_EQ(child->rectDraws, 1);
    EXPECT_EQ(child->lastRect, Rect(0, 0, 785, 570));
    for (const POINT p : {POINT{5, 5}, POINT{400, 300}, POINT{784, 569}, POINT{700, 20}})
        EXPECT_EQ(windowPixel(p.x, p.y), backgroundPixel(p.x, p.y)) << p.x << "," << p.y;

    // Only children that meet the uncovered part are asked.
    RECT part{300, 300, 400, 400};
    InvalidateRect(window, &part, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(child->rectDraws, 1);
    RECT touching{200, 150, 260, 160}; // meets the child's bottom-right corner
    InvalidateRect(window, &touching, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(child->rectDraws, 2);
}

TEST_F(FramePaint, PressMessageReachesTheChildWithItsPosition) {
    ScriptedInput input;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 120));
    EXPECT_EQ(child->presses, 1);
    EXPECT_EQ(child->lastPress, Point(150, 120));
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(child->presses, 1);
    SendMessageA(window, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(200, 150));
    EXPECT_EQ(child->presses, 2);
}

TEST_F(FramePaint, IdleRedrawsDirtyViewsOnlyAfterTheFirstDraw) {
    child->setDirty(true);
    harness.frame->idle();
    EXPECT_EQ(child->draws, 0); // never painted yet
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    const int afterPaint = child->draws;
    child->setDirty(true);
    harness.frame->idle();
    EXPECT_EQ(child->draws, afterPaint + 1);
    harness.frame->idle(); // nothing dirty any more
    EXPECT_EQ(child->draws, afterPaint + 1);
    harness.frame->setDirty(true); // the frame itself: everything
    auto* other = new ProbeView(Rect(0, 0, 5, 5));
    harness.frame->addView(other);
    harness.frame->idle();
    EXPECT_EQ(child->draws, afterPaint + 2);
    EXPECT_EQ(other->draws, 1);
    EXPECT_FALSE(harness.frame->isSomethingDirty());
}

TEST_F(FramePaint, DrawViewDrawsOneChildOrTheWholeFrame) {
    auto* other = new ProbeView(Rect(0, 0, 5, 5));
    harness.frame->addView(other);
    child->redraw();
    EXPECT_EQ(child->draws, 1);
    EXPECT_EQ(other->draws, 0);
    ProbeView stranger(Rect(0, 0, 5, 5));
    harness.frame->drawView(&stranger); // unknown: the whole frame
    EXPECT_EQ(stranger.draws, 0);
    EXPECT_EQ(child->draws, 2);
    EXPECT_EQ(other->draws, 1);
    EXPECT_FALSE(harness.frame->isFirstDrawPending());
    EXPECT_EQ(windowPixel(600, 500), backgroundPixel(600, 500));
}

TEST_F(FramePaint, NothingHappensAfterWmDestroy) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    const int drawn = child->draws;
    DestroyWindow(host.handle); // destroys the frame's window with it
    EXPECT_FALSE(harness.frame->isOpen());
    EXPECT_EQ(harness.frame->getParentWindow(), nullptr);
    child->setDirty(true);
    harness.frame->idle();
    DrawContext context(nullptr, nullptr, nullptr);
    harness.frame->update(&context);
    EXPECT_EQ(child->draws, drawn);
}

TEST(FrameWindow, LeavesNoGdiObjectContextWindowOrClassBehind) {
    TestWindow host;
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int round = 0; round < 20; ++round) {
        ScriptedInput input;
        ToolkitHarness harness(host.handle);
        Bitmap* background = new Bitmap(10001);
        harness.frame->setBackground(background);
        background->release();
        harness.frame->addView(new ProbeView(Rect(10, 10, 20, 20)));
        InvalidateRect(harness.frame->getWindow(), nullptr, FALSE);
        UpdateWindow(harness.frame->getWindow());
        SendMessageA(harness.frame->getWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(15, 15));
        harness.frame->getView(0)->setDirty(true);
        harness.frame->idle();
        harness.frame->drawView(nullptr);
    }
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
    EXPECT_EQ(childWindowCount(host.handle), 0);
    EXPECT_FALSE(classRegistered());
}

} // namespace

} // namespace qv
