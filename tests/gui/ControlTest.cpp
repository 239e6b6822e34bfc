// Controls: the dirtiness rules (also for value -1.0 and NaN), construction defaults, clamping,
// the background's reference, and begin/end edit reaching the host through frame and editor.
#include "gui/Control.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {

namespace {

class PlainControl : public Control {
public:
    PlainControl(Bitmap* background = nullptr)
        : Control(Rect(0, 0, 10, 10), nullptr, 7, background) {}
    void draw(DrawContext*) override {
        ++draws;
        setDirty(false);
    }
    int draws = 0;
};

TEST(Control, StartsWithTheDocumentedValues) {
    PlainControl c;
    EXPECT_EQ(c.getValue(), 0.0f);
    EXPECT_EQ(c.getMin(), 0.0f);
    EXPECT_EQ(c.getMax(), 1.0f);
    EXPECT_EQ(c.getDefaultValue(), 0.5f);
    EXPECT_EQ(c.getLastDrawnValue(), 1.0f);
    EXPECT_EQ(c.getWheelIncrement(), 0.1f);
    EXPECT_EQ(c.getTag(), 7);
    EXPECT_EQ(c.getSourceOffset(), Point(0, 0));
    EXPECT_TRUE(c.isDirty()); // 0 was never drawn
}

struct DirtyCase {
    float value;
    float lastDrawn;
    bool flagged;
    bool dirty;
};

class ControlDirtiness : public ::testing::TestWithParam<DirtyCase> {};

TEST_P(ControlDirtiness, ValueAgainstLastDrawnOrFlag) {
    const DirtyCase d = GetParam();
    PlainControl c;
    c.setValue(d.value);
    c.setLastDrawnValue(d.lastDrawn);
    c.View::setDirty(d.flagged); // only the flag, not the last drawn value
    EXPECT_EQ(c.isDirty(), d.dirty);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, ControlDirtiness,
    ::testing::Values(DirtyCase{0.5f, 0.5f, false, false}, DirtyCase{0.5f, 0.5f, true, true},
                      DirtyCase{0.5f, 0.25f, false, true}, DirtyCase{kNaN, kNaN, false, true},
                      DirtyCase{kNaN, 0.0f, false, true}, DirtyCase{0.0f, kNaN, false, true},
                      DirtyCase{-1.0f, -1.0f, false, false}));

TEST(Control, SetDirtyTrueAlwaysDiffersFromTheValue) {
    for (float v : {0.0f, 0.5f, 1.0f, -1.0f, 0.0f - 1.0f, 2.0f}) {
        PlainControl c;
        c.setValue(v);
        c.setDirty(false);
        EXPECT_FALSE(c.isDirty()) << v;
        EXPECT_EQ(c.getLastDrawnValue(), v);
        c.setDirty(true);
        EXPECT_TRUE(c.isDirty());
        EXPECT_EQ(c.getLastDrawnValue(), v == -1.0f ? 0.0f : -1.0f);
        // Even with the flag cleared by hand, the values alone still differ.
        c.View::setDirty(false);
        EXPECT_TRUE(c.isDirty()) << v;
    }
}

TEST(Control, UpdateDrawsOnlyDirtyControls) {
    PlainControl c;
    DrawContext context(nullptr, nullptr, nullptr);
    c.setValue(0.3f);
    c.update(&context);
    EXPECT_EQ(c.draws, 1);
    c.update(&context);
    EXPECT_EQ(c.draws, 1);
    c.setValue(-1.0f);
    c.setDirty(false);
    c.update(&context);
    EXPECT_EQ(c.draws, 1);
    c.setDirty(true); // value -1.0: last drawn becomes 0.0
    c.update(&context);
    EXPECT_EQ(c.draws, 2);
}

TEST(Control, ClampValueKeepsToTheRange) {
    const struct {
        float min, max, value, clamped;
    } cases[] = {{0, 1, 1.5f, 1},
                 {0, 1, -0.5f, 0},
                 {0, 1, 0.25f, 0.25f},
                 {0.2f, 0.8f, 0.9f, 0.8f},
                 {0.2f, 0.8f, 0.1f, 0.2f}};
    for (const auto& k : cases) {
        PlainControl c;
        c.setMin(k.min);
        c.setMax(k.max);
        c.setValue(k.value);
        c.clampValue();
        EXPECT_EQ(c.getValue(), k.clamped);
    }
    PlainControl c;
    c.setValue(5.0f); // values are stored as given until clamped
    EXPECT_EQ(c.getValue(), 5.0f);
}

TEST(Control, HoldsOneReferenceToItsBackground) {
    Bitmap* first = new Bitmap(10003);
    Bitmap* second = new Bitmap(10006);
    {
        PlainControl c(first);
        EXPECT_EQ(first->getReferenceCount(), 2);
        c.setBackground(second);
        EXPECT_EQ(first->getReferenceCount(), 1);
        EXPECT_EQ(second->getReferenceCount(), 2);
        c.setBackground(second); // the same again changes nothing
        EXPECT_EQ(second->getReferenceCount(), 2);
        c.setBackground(nullptr);
        EXPECT_EQ(second->getReferenceCount(), 1);
        EXPECT_EQ(c.getBackground(), nullptr);
        c.setBackground(first);
    }
    EXPECT_EQ(first->getReferenceCount(), 1);
    first->release();
    second->release();
}

TEST(Control, SourceOffsetToOriginTakesTheTopLeftCorner) {
    PlainControl c;
    c.setViewSize(Rect(4, 6, 10, 10));
    c.setSourceOffsetToOrigin();
    EXPECT_EQ(c.getSourceOffset(), Point(4, 6));
}

TEST(Control, BeginAndEditReachTheHostOnlyThroughAFrame) {
    PlainControl* loose = new PlainControl;
    ToolkitHarness harness;
    loose->beginEdit();
    loose->endEdit();
    loose->pumpIdle();
    EXPECT_TRUE(hostEvents().empty());
    ASSERT_TRUE(harness.frame->addView(loose));
    loose->beginEdit();
    loose->endEdit();
    ASSERT_EQ(hostEvents().size(), 2u);
    EXPECT_EQ(hostEvents()[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(hostEvents()[0].index, 7);
    EXPECT_EQ(hostEvents()[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(hostEvents()[1].index, 7);
}

} // namespace

} // namespace qv
