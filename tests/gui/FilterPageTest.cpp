// Page D, the crossover filter: the pictures follow "FilterType" and "Qcurve", each hint redraws
// only its element, and the halves and thirds of the two pictures write their values.
#include "editor/FilterPage.h"
#include "tests/gui/PanelFixture.h"

namespace qv {

namespace {

class FilterPageTest : public PanelFixture {
protected:
    FilterPageTest() { showPage(SettingsPanel::kPageD); }
};

TEST_F(FilterPageTest, PicturesFollowTheValues) {
    effect->setParameter(73, 1.0f);
    effect->setParameter(74, 1.0f);
    drawWithHint(0);
    EXPECT_EQ(pixel(131, 178), artPixel(10022, 3, 3));
    EXPECT_TRUE(showsFrame(layout::kBmpFilterTypeSwitch, 434, 407, 1, 0));
    EXPECT_TRUE(showsFrame(layout::kBmpCutoffCurveSwitch, 190, 428, 2, 1));
    effect->setParameter(73, 0.5f); // not above 0.5: Q-type
    effect->setParameter(74, 0.4f);
    drawWithHint(0);
    EXPECT_TRUE(showsFrame(layout::kBmpFilterTypeSwitch, 434, 407, 0, 1));
    EXPECT_TRUE(showsFrame(layout::kBmpCutoffCurveSwitch, 190, 428, 1, 0));
}

TEST_F(FilterPageTest, SlopePictureFollowsThirds) {
    EXPECT_EQ(FilterPage::cutoffFrame(0.0f), 0);
    EXPECT_EQ(FilterPage::cutoffFrame(0.333333f), 0);
    EXPECT_EQ(FilterPage::cutoffFrame(0.34f), 1);
    EXPECT_EQ(FilterPage::cutoffFrame(0.666666f), 1);
    EXPECT_EQ(FilterPage::cutoffFrame(0.67f), 2);
}

TEST_F(FilterPageTest, HintsRedrawOneElementEach) {
    blacken();
    drawWithHint(1);
    EXPECT_TRUE(touched(layout::kPageDFilterType));
    EXPECT_FALSE(touched(layout::kPageDCutoffCurve));
    blacken();
    drawWithHint(2);
    EXPECT_FALSE(touched(layout::kPageDFilterType));
    EXPECT_TRUE(touched(layout::kPageDCutoffCurve));
    // The effect raises them when the parameters change on this page.
    effect->setParameter(74, 0.0f);
    EXPECT_EQ(effect->getEditorHint(111), 2);
    effect->setEditorHint(111, 0); // drawn; two undrawn changes would ask for the whole page
    effect->setParameter(73, 0.0f);
    EXPECT_EQ(effect->getEditorHint(111), 1);
}

TEST_F(FilterPageTest, HalvesAndThirdsWriteTheirValues) {
    const struct {
        Point at;
        int index;
        float value;
    } cases[] = {
        {{440, 440}, 73, 0.0f}, {{523, 440}, 73, 0.0f}, {{524, 440}, 73, 1.0f},
        {{612, 481}, 73, 1.0f}, {{190, 430}, 74, 0.0f}, {{237, 430}, 74, 0.0f},
        {{238, 430}, 74, 0.5f}, {{285, 468}, 74, 0.5f}, {{300, 450}, 74, 1.0f},
    };
    for (const auto& c : cases) {
        effect->setParameter(c.index, 0.3f);
        press(1, c.at);
        EXPECT_EQ(effect->getParameter(c.index), c.value) << c.at.x << "," << c.at.y;
    }
    effect->setParameter(73, 0.3f);
    press(4, Point(440, 440)); // the right button does nothing here
    press(1, Point(350, 440)); // between the elements
    EXPECT_EQ(effect->getParameter(73), 0.3f);
}

} // namespace

} // namespace qv
