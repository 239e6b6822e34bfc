// Page C, the limiter: each switch and the clip shape show the picture their value selects, each
// hint redraws only its element, and the buttons, drags and right-button resets write the right
// limiter parameter.
#include "editor/LimiterPage.h"
#include "tests/gui/PanelFixture.h"

namespace qv {

namespace {

class LimiterPageTest : public PanelFixture {
protected:
    LimiterPageTest() { showPage(SettingsPanel::kPageC); }
};

TEST_F(LimiterPageTest, FullPageShowsTheBackgroundAndEachSwitchsPicture) {
    effect->setParameter(54, 1.0f); // limiter off: frame 1
    effect->setParameter(69, 0.0f); // automatic release: frame 0
    effect->setParameter(72, 0.5f); // clip shape 3 of 5: frame 2
    drawWithHint(0);
    EXPECT_EQ(pixel(130, 177), artPixel(10026, 2, 2));
    EXPECT_EQ(pixel(400, 500), artPixel(10026, 400 - 128, 500 - 175));
    EXPECT_TRUE(showsFrame(layout::kBmpSmallSwitch, 610, 186, 1, 0));
    EXPECT_TRUE(showsFrame(layout::kBmpReleaseModeSwitch, 180, 389, 0, 1));
    EXPECT_TRUE(showsFrame(layout::kBmpClipCurveSwitch, 474, 271, 2, 4));
    EXPECT_EQ(effect->getEditorHint(111), 0);
}

TEST_F(LimiterPageTest, ClipShapePictureFollowsFifths) {
    const struct {
        float value;
        int frame;
    } cases[] = {{0.0f, 0}, {0.19f, 0}, {0.2f, 1}, {0.39f, 1},
                 {0.5f, 2}, {0.7f, 3},  {0.8f, 4}, {1.0f, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(LimiterPage::clipFrame(c.value), c.frame) << c.value;
}

TEST_F(LimiterPageTest, EachHintRedrawsOnlyItsElement) {
    const struct {
        int hint;
        const layout::LayoutRect* element;
    } cases[] = {
        {1, &layout::kPageCPower},        {2, &layout::kPageCClipCurve},
        {3, &layout::kPageCCeiling},      {4, &layout::kPageCReleaseSwitch},
        {5, &layout::kPageCReleaseDepth}, {6, &layout::kPageCReleaseTime},
    };
    for (const auto& c : cases) {
        blacken();
        drawWithHint(c.hint);
        EXPECT_TRUE(touched(*c.element)) << c.hint;
        for (const auto& other : cases)
            if (other.element != c.element) {
                EXPECT_FALSE(touched(*other.element)) << c.hint;
            }
        EXPECT_EQ(effect->getEditorHint(111), 0);
    }
    blacken();
    drawWithHint(9); // not a hint of this page: nothing drawn, hint still reset
    for (const auto& c : cases)
        EXPECT_FALSE(touched(*c.element));
    EXPECT_EQ(effect->getEditorHint(111), 0);
}

TEST_F(LimiterPageTest, HostChangeOfTheCeilingRaisesItsHint) {
    effect->setEditorHint(111, 0);
    effect->setParameter(68, 0.5f);
    EXPECT_EQ(effect->getEditorHint(111), 3);
    blacken();
    panel->draw(&surface);
    EXPECT_TRUE(touched(layout::kPageCCeiling));
    EXPECT_FALSE(touched(layout::kPageCPower));
}

TEST_F(LimiterPageTest, CeilingBoxShowsTextOverItsBox) {
    effect->setParameter(68, 0.5f); // -3.00 dB
    drawWithHint(0);
    int dark = 0;
    const layout::LayoutRect& r = layout::kPageCCeiling;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (pixel(x, y) != artPixel(10027, x - r.left, y - r.top)) ++dark;
    EXPECT_GT(dark, 10) << "no text drawn in the ceiling box";
}

TEST_F(LimiterPageTest, ClipButtonsWriteTheirValues) {
    const float values[] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f};
    for (int i = 0; i < 5; ++i) {
        const Point at(474 + i * 153 / 5 + 15, 280);
        press(1, at);
        EXPECT_FLOAT_EQ(effect->getParameter(72), values[i]) << i;
    }
    press(1, Point(627, 296)); // the last pixel belongs to the hardest shape
    EXPECT_FLOAT_EQ(effect->getParameter(72), 0.9f);
}

TEST_F(LimiterPageTest, CeilingDragMovesThreeThousandthsOfADbPerPixel) {
    effect->setParameter(68, 0.5f); // -3 dB
    const Point at(200, 300);
    input.then(1, Point(300, 300)).then(1, Point(300, 300)).then(0, Point(300, 300));
    press(1, at);
    EXPECT_NEAR(6.0 * effect->getParameter(68) - 6.0, -3.0 + 0.3, 1e-5);
    EXPECT_EQ(panel->getActiveElement(), 0);
    // The cursor was hidden and comes back where the press was.
    EXPECT_EQ(input.displayCount, 0);
    EXPECT_EQ(input.restores, 1);
    EXPECT_EQ(input.restoredTo, at);

    input.then(1, Point(200 - 5000, 300)).then(0, Point(0, 300));
    press(1, at);
    EXPECT_FLOAT_EQ(effect->getParameter(68), static_cast<float>((6.0 - 5.99) / 6.0));
    input.then(1, Point(200 + 5000, 300)).then(0, Point(0, 300));
    press(1, at);
    EXPECT_FLOAT_EQ(effect->getParameter(68), 1.0f);
}

TEST_F(LimiterPageTest, ReleaseBoxesDragTheirOwnParameter) {
    effect->setParameter(70, 0.2f);
    effect->setParameter(71, 0.6f);
    input.then(1, Point(600, 440)).then(0, Point(600, 440));
    press(1, Point(550, 440)); // release time box, 50 pixels right
    EXPECT_NEAR(effect->getParameter(70), 0.25f, 1e-6);
    EXPECT_FLOAT_EQ(effect->getParameter(71), 0.6f);
    input.then(1, Point(500, 390)).then(0, Point(500, 390));
    press(1, Point(550, 390)); // release depth box, 50 pixels left
    EXPECT_NEAR(effect->getParameter(71), 0.55f, 1e-6);
    EXPECT_NEAR(effect->getParameter(70), 0.25f, 1e-6);
}

TEST_F(LimiterPageTest, SwitchesToggle) {
    effect->setParameter(54, 0.0f);
    press(1, Point(620, 195));
    EXPECT_EQ(effect->getParameter(54), 1.0f);
    press(1, Point(620, 195));
    EXPECT_EQ(effect->getParameter(54), 0.0f);
    effect->setParameter(69, 0.7f); // rounds to 1
    press(1, Point(200, 420));
    EXPECT_EQ(effect->getParameter(69), 0.0f);
}

TEST_F(LimiterPageTest, RightButtonPutsBackTheDefaults) {
    effect->setParameter(68, 0.2f);
    effect->setParameter(70, 0.9f);
    effect->setParameter(71, 0.9f);
    press(4, Point(200, 300));
    press(4, Point(550, 440));
    press(4, Point(550, 390));
    EXPECT_FLOAT_EQ(effect->getParameter(68), 0.998f);
    EXPECT_FLOAT_EQ(effect->getParameter(70), 0.1f);
    EXPECT_FLOAT_EQ(effect->getParameter(71), 0.40625f);
    effect->setParameter(54, 0.0f);
    press(4, Point(620, 195)); // the right button does not switch
    EXPECT_EQ(effect->getParameter(54), 0.0f);
}

} // namespace

} // namespace qv
