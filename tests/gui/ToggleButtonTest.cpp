// The toggle: plain click, a held press flipping only while the pointer is on the button,
// release outside keeping the old value, edit brackets, and the two pictures.
#include "gui/ToggleButton.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/SurfaceHelpers.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

const Rect kSize(259, 67, 290, 98);
const Point kInside(270, 80);
const Point kOutside(300, 80);

class ToggleMouse : public ::testing::Test {
protected:
    ToggleMouse() {
        Bitmap* picture = new Bitmap(10006);
        toggle = new ToggleButton(kSize, &listener, 48, 31, picture, Point(0, 0));
        picture->release();
        harness.frame->addView(toggle);
        toggle->setDirty(false); // as after its first paint
    }
    void press(Point where) { toggle->mouse(&context, where); }

    ScriptedInput input;
    ToolkitHarness harness;
    RecordingListener listener;
    ToggleButton* toggle;
    DrawContext context{nullptr, nullptr, nullptr};
};

TEST_F(ToggleMouse, HeldPressFlipsAndReleaseInsideKeepsIt) {
    input.then(1, kInside).then(1, kInside).then(0, kInside);
    press(kInside);
    EXPECT_EQ(toggle->getValue(), 1.0f);
    EXPECT_EQ(hostOpcodes().front(), audioMasterBeginEdit);
    EXPECT_EQ(hostOpcodes().back(), audioMasterEndEdit);
    EXPECT_EQ(hostEvents().front().index, 48);
    ASSERT_FALSE(listener.values.empty());
    EXPECT_EQ(listener.values.front(), 1.0f);
}

TEST_F(ToggleMouse, ReleasedOutsideKeepsTheValueItHadBefore) {
    toggle->setValue(1.0f);
    toggle->setDirty(false);
    input.then(1, kInside).then(1, kOutside).then(1, kOutside).then(0, kOutside);
    press(kInside);
    EXPECT_EQ(toggle->getValue(), 1.0f);
    // It showed 0 while the pointer was on it, then 1 again.
    EXPECT_EQ(listener.values, std::vector<float>({0.0f, 1.0f}));
}

TEST_F(ToggleMouse, MovingBackOntoTheButtonFlipsAgain) {
    // Polls: the press, the still-held check, then one per round.
    input.then(1, kInside).then(1, kOutside).then(1, kInside).then(1, kInside).then(0, kInside);
    press(kInside);
    EXPECT_EQ(listener.values, std::vector<float>({1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(toggle->getValue(), 1.0f);
}

TEST_F(ToggleMouse, AClickAlreadyReleasedFlipsWithoutBrackets) {
    input.then(1, kInside).then(0, kInside);
    press(kInside);
    EXPECT_EQ(toggle->getValue(), 1.0f);
    EXPECT_EQ(listener.values, std::vector<float>({1.0f}));
    EXPECT_TRUE(hostEvents().empty());
    input.then(1, kInside).then(0, kInside);
    press(kInside);
    EXPECT_EQ(toggle->getValue(), 0.0f);
}

// A value left between the states by a host's automation curve: the click flips the state the
// button shows, which is the state the plug-in applies.
TEST_F(ToggleMouse, AClickFlipsTheStateAnInBetweenValueShows) {
    const struct {
        float start;
        bool inclusive;
        float after;
    } cases[] = {{0.3f, false, 1.0f},
                 {0.5f, false, 1.0f},
                 {0.7f, false, 0.0f},
                 {0.5f, true, 0.0f},
                 {0.3f, true, 1.0f}};
    for (const auto& c : cases) {
        toggle->setThresholdInclusive(c.inclusive);
        toggle->setValue(c.start);
        input.then(1, kInside).then(0, kInside);
        press(kInside);
        EXPECT_EQ(toggle->getValue(), c.after) << c.start << " " << c.inclusive;
    }
}

TEST_F(ToggleMouse, ControlClickIsAnOrdinaryClick) {
    input.then(1 | 16, kInside).then(0, kInside);
    press(kInside);
    EXPECT_EQ(toggle->getValue(), 1.0f); // no default value on the toggle
}

TEST_F(ToggleMouse, ShiftDuringTheHoldEndsIt) {
    input.then(1, kInside).then(1, kInside).then(1 | 8, kInside).then(1, kInside);
    press(kInside);
    EXPECT_EQ(input.script.size(), 1u);
    EXPECT_EQ(hostOpcodes().back(), audioMasterEndEdit);
}

TEST_F(ToggleMouse, RightButtonDoesNothing) {
    input.then(4, kInside).then(4, kInside);
    press(kInside);
    EXPECT_EQ(toggle->getValue(), 0.0f);
    EXPECT_TRUE(listener.values.empty());
}

TEST(ToggleButton, DrawsPictureOneAboveTheSwitchThresholdOnly) {
    Bitmap* picture = new Bitmap(10006);
    ToggleButton* toggle = new ToggleButton(kSize, nullptr, 48, 31, picture, Point(0, 0));
    OffscreenContext reference(nullptr, picture);
    // The band switches read as set above 0.5: 0.3 (an automation curve's value) and 0.5 itself
    // show picture 0, as the plug-in applies them.
    for (float v : {0.0f, 1.0f, 0.3f, 0.5f, 0.51f, 7.0f}) {
        TestSurface surface(10001);
        toggle->setValue(v);
        toggle->draw(&surface.get());
        EXPECT_FALSE(toggle->isDirty());
        const int row = v > 0.5f ? 31 : 0;
        for (int x = 2; x < 31; x += 4)
            for (int y = 2; y < 31; y += 4)
                ASSERT_EQ(surface.pixel(kSize.left + x, kSize.top + y),
                          GetPixel(reference.getDC(), x, row + y) & 0xFFFFFF)
                    << v;
    }
    EXPECT_EQ(toggle->getValue(), 1.0f); // 7 was limited to the maximum when drawn
    toggle->release();
    picture->release();
}

} // namespace

} // namespace qv
