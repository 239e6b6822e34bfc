// The page selector: segment arithmetic from the background's width, the picture shown for each
// value, Control+click back to the default, drags bracketed by begin/end edit, and a modifier
// change ending a drag.
#include "gui/SegmentSelector.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/SurfaceHelpers.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

constexpr int kLeft = 445;
constexpr int kTop = 533;
const Rect kSize(kLeft, kTop, kLeft + 211, kTop + 25);

SegmentSelector* makeSelector(ControlListener* listener, int segments = 7) {
    Bitmap* pages = new Bitmap(10005);
    auto* s = new SegmentSelector(kSize, listener, 87, 25, segments, pages, Point(0, 0));
    pages->release();
    return s;
}

struct SegmentCase {
    int offset; // press x - left
    float value;
};

class SegmentArithmetic : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentArithmetic, ValueFromThePressPosition) {
    SegmentSelector* s = makeSelector(nullptr);
    // Segment width 211 / 7 = 30.142...
    EXPECT_FLOAT_EQ(s->valueAt(Point(kLeft + GetParam().offset, kTop + 3)), GetParam().value);
    s->release();
}

INSTANTIATE_TEST_SUITE_P(
    Table, SegmentArithmetic,
    ::testing::Values(SegmentCase{0, 0.0f}, SegmentCase{30, 0.0f}, SegmentCase{31, 1.0f / 6},
                      SegmentCase{60, 1.0f / 6}, SegmentCase{61, 2.0f / 6},
                      SegmentCase{180, 5.0f / 6}, SegmentCase{181, 1.0f}, SegmentCase{211, 1.0f},
                      SegmentCase{400, 1.0f},   // beyond the last segment: limited to 1
                      SegmentCase{-5, 0.0f},    // left of it: truncates towards zero
                      SegmentCase{-40, 0.0f})); // a whole segment left: limited to 0

TEST(SegmentSelector, DrawsThePictureOfItsValue) {
    SegmentSelector* s = makeSelector(nullptr);
    Bitmap* pages = new Bitmap(10005);
    for (int k = 0; k < 7; ++k) {
        TestSurface surface(10001);
        s->setValue(k / 6.0f);
        s->draw(&surface.get());
        EXPECT_FALSE(s->isDirty());
        // Compare with picture k taken straight from the bitmap.
        OffscreenContext reference(nullptr, pages);
        for (int x = 3; x < 211; x += 13)
            for (int y = 2; y < 25; y += 5)
                ASSERT_EQ(surface.pixel(kLeft + x, kTop + y),
                          GetPixel(reference.getDC(), x, k * 25 + y) & 0xFFFFFF)
                    << "picture " << k << " at " << x << "," << y;
    }
    pages->release();
    s->release();
}

TEST(SegmentSelector, WithoutBackgroundDrawingOnlyCleansIt) {
    SegmentSelector* s = makeSelector(nullptr);
    s->setBackground(nullptr);
    TestSurface surface(10001, Color(5, 5, 5));
    s->setValue(0.5f);
    s->draw(&surface.get());
    EXPECT_FALSE(s->isDirty());
    EXPECT_EQ(surface.pixel(kLeft + 10, kTop + 10), RGB(5, 5, 5));
    s->release();
}

class SelectorMouse : public ::testing::Test {
protected:
    SelectorMouse() {
        selector = makeSelector(&listener);
        harness.frame->addView(selector);
        selector->setValue(0.5f);
        selector->setDirty(false);
    }
    void press(int offset) { selector->mouse(&context, Point(kLeft + offset, kTop + 5)); }

    ScriptedInput input;
    ToolkitHarness harness;
    RecordingListener listener;
    SegmentSelector* selector;
    DrawContext context{nullptr, nullptr, nullptr}; // no window: pointer in frame coordinates
};

TEST_F(SelectorMouse, DragFollowsThePointerBetweenBeginAndEndEdit) {
    input.then(1, kLeft + 5, kTop)
        .then(1, kLeft + 100, kTop)
        .then(1, kLeft + 200, kTop)
        .then(0, kLeft + 200, kTop);
    press(40);
    // The first poll reads the buttons of the press; each round then takes the position read
    // before the previous poll.
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_FLOAT_EQ(listener.values[0], 1.0f / 6);
    EXPECT_FLOAT_EQ(listener.values[1], 0.0f);
    EXPECT_FLOAT_EQ(listener.values[2], 3.0f / 6);
    EXPECT_EQ(listener.lastContext, &context);
    const std::vector<VstInt32> opcodes = hostOpcodes();
    ASSERT_GE(opcodes.size(), 2u);
    EXPECT_EQ(opcodes.front(), audioMasterBeginEdit);
    EXPECT_EQ(opcodes.back(), audioMasterEndEdit);
    EXPECT_EQ(hostEvents().front().index, 87);
    EXPECT_EQ(hostEvents().back().index, 87);
    // The idle pump ran inside the drag: the host got its idle callback.
    EXPECT_NE(std::find(opcodes.begin(), opcodes.end(), audioMasterIdle), opcodes.end());
}

TEST_F(SelectorMouse, UnchangedValueIsNotReported) {
    input.then(1, kLeft + 5, kTop).then(1, kLeft + 6, kTop).then(0, kLeft + 6, kTop);
    press(160); // 5/6
    EXPECT_EQ(listener.values, std::vector<float>({5.0f / 6, 0.0f}));
}

TEST_F(SelectorMouse, ShiftPressedDuringTheDragEndsIt) {
    input.then(1, kLeft + 100, kTop)
        .then(1 | 8, kLeft + 200, kTop)
        .then(1, kLeft + 200, kTop)
        .then(1, kLeft + 200, kTop);
    press(40);
    EXPECT_EQ(input.script.size(), 2u); // the drag stopped at the Shift poll
    EXPECT_EQ(hostOpcodes().back(), audioMasterEndEdit);
    EXPECT_FLOAT_EQ(selector->getValue(), 1.0f / 6); // the press itself, nothing after
}

TEST_F(SelectorMouse, ControlClickRestoresTheDefaultWithoutEditBrackets) {
    input.then(1 | 16, kLeft + 100, kTop);
    press(100);
    EXPECT_EQ(selector->getValue(), 0.0f);
    EXPECT_EQ(listener.values, std::vector<float>({0.0f}));
    EXPECT_TRUE(hostEvents().empty());
}

TEST_F(SelectorMouse, RightButtonOrDisabledDoesNothing) {
    input.then(4, kLeft + 100, kTop);
    press(100);
    selector->setMouseEnabled(false);
    input.then(1, kLeft + 100, kTop);
    press(100);
    EXPECT_EQ(selector->getValue(), 0.5f);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_TRUE(hostEvents().empty());
}

TEST(SegmentSelector, FewerThanTwoSegmentsCountAsTwo) {
    SegmentSelector* s = makeSelector(nullptr, 1);
    EXPECT_EQ(s->getSegmentCount(), 2);
    EXPECT_EQ(s->getDefaultValue(), 0.0f);
    EXPECT_FLOAT_EQ(s->valueAt(Point(kLeft + 150, kTop)), 1.0f);
    s->release();
}

} // namespace

} // namespace qv
