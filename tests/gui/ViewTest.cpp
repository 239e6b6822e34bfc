// Views: reference counting, edge-inclusive overlap and hit tests, the dirty rule of update, and
// the way to the editor through the frame.
#include "gui/View.h"
#include "gui/DrawContext.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

class CountingView : public View {
public:
    CountingView(const Rect& size, int* destroyed = nullptr) : View(size), destroyed(destroyed) {}
    ~CountingView() override {
        if (destroyed) ++*destroyed;
    }
    void draw(DrawContext* context) override {
        ++draws;
        View::draw(context);
    }
    int draws = 0;
    int* destroyed;
};

TEST(View, LastReleaseDestroys) {
    int destroyed = 0;
    View* view = new CountingView(Rect(0, 0, 10, 10), &destroyed);
    EXPECT_EQ(view->getReferenceCount(), 1);
    view->retain();
    EXPECT_EQ(view->getReferenceCount(), 2);
    view->release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(view->getReferenceCount(), 1);
    view->release();
    EXPECT_EQ(destroyed, 1);
}

struct OverlapCase {
    Rect other;
    bool overlaps;
};

class ViewOverlap : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(ViewOverlap, EdgesCount) {
    const CountingView view(Rect(10, 10, 20, 20));
    EXPECT_EQ(view.intersects(GetParam().other), GetParam().overlaps);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ViewOverlap,
    ::testing::Values(OverlapCase{Rect(20, 20, 30, 30), true},   // corner to corner
                      OverlapCase{Rect(0, 0, 10, 10), true},     // the other corner
                      OverlapCase{Rect(21, 10, 30, 20), false},  // one column right
                      OverlapCase{Rect(10, 21, 20, 30), false},  // one row below
                      OverlapCase{Rect(0, 0, 9, 30), false},     // one column left
                      OverlapCase{Rect(12, 12, 13, 13), true},   // inside
                      OverlapCase{Rect(0, 0, 100, 100), true})); // around

TEST(View, HitTestIncludesRightAndBottomAndIgnoresButtons) {
    CountingView view(Rect(10, 10, 20, 20));
    EXPECT_TRUE(view.hitTest(Point(10, 10), 0));
    EXPECT_TRUE(view.hitTest(Point(20, 20), 4));
    EXPECT_FALSE(view.hitTest(Point(21, 20), 1));
    EXPECT_FALSE(view.hitTest(Point(15, 9), 1));
    // The mouse area is only kept.
    view.setMouseArea(Rect(0, 0, 1, 1));
    Rect area;
    EXPECT_EQ(view.getMouseArea(area), Rect(0, 0, 1, 1));
    EXPECT_TRUE(view.hitTest(Point(15, 15), 1));
    EXPECT_FALSE(view.hitTest(Point(0, 0), 1));
}

TEST(View, UpdateDrawsOnlyWhenDirty) {
    CountingView view(Rect(0, 0, 10, 10));
    DrawContext context(nullptr, nullptr, nullptr);
    view.update(&context);
    EXPECT_EQ(view.draws, 0);
    view.setViewSize(Rect(1, 1, 5, 5)); // moving makes it dirty
    EXPECT_TRUE(view.isDirty());
    view.update(&context);
    EXPECT_EQ(view.draws, 1);
    EXPECT_FALSE(view.isDirty());
    view.update(&context);
    EXPECT_EQ(view.draws, 1);
    Rect size;
    EXPECT_EQ(view.getViewSize(size), Rect(1, 1, 5, 5));
}

TEST(View, ReachesTheEditorThroughItsFrame) {
    CountingView* view = new CountingView(Rect(0, 0, 10, 10));
    EXPECT_EQ(view->getEditor(), nullptr);
    view->redraw(); // no frame: nothing happens
    ToolkitHarness harness;
    ASSERT_TRUE(harness.frame->addView(view));
    EXPECT_EQ(view->getFrame(), harness.frame);
    EXPECT_EQ(view->getEditor(), harness.editor);
}

TEST(View, DefaultsHandleNothing) {
    CountingView view(Rect(0, 0, 10, 10));
    KeyCode key{'a', 0, 0};
    EXPECT_EQ(view.onKeyDown(key), -1);
    EXPECT_EQ(view.onKeyUp(key), -1);
    EXPECT_FALSE(view.onDrop(nullptr, 0, 0, Point()));
    EXPECT_FALSE(view.onWheel(nullptr, Point(), 1.0f));
    EXPECT_TRUE(view.getMouseEnabled());
    EXPECT_FALSE(view.getTransparent());
    EXPECT_EQ(view.reservedWithTwoArguments(1, 2), 0);
}

} // namespace

} // namespace qv
