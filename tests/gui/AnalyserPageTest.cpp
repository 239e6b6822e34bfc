// Page E, the analyser: the buttons' pictures and hints, the presses that switch power and curve
// mode, and a frame drawn from the effect's own captured output, separate or combined.
#include "editor/AnalyserPage.h"
#include "tests/gui/PanelFixture.h"

#include <cmath>
#include <vector>

namespace qv {

namespace {

class AnalyserPageTest : public PanelFixture {
protected:
    AnalyserPageTest() { showPage(SettingsPanel::kPageE); }

    // Runs audio until the effect has handed over its second block (hint 1), the first being
    // partly the start-up latency: left silent, right a loud sine.
    void captureBlock() {
        effect->setSampleRate(44100.0f);
        effect->resume();
        effect->setEditorHint(111, 0);
        std::vector<float> left(1024, 0.0f), right(1024);
        std::vector<float> outLeft(1024), outRight(1024);
        float* in[2] = {left.data(), right.data()};
        float* out[2] = {outLeft.data(), outRight.data()};
        long n = 0;
        int deliveries = 0;
        for (int block = 0; block < 32 && deliveries < 2; ++block) {
            for (float& s : right)
                s = static_cast<float>(0.7 *
                                       std::sin(2.0 * 3.141592653589793 * 2000.0 * n++ / 44100.0));
            effect->processReplacing(in, out, 1024);
            if (effect->getEditorHint(111) == 1 && ++deliveries < 2) effect->setEditorHint(111, 0);
        }
        ASSERT_EQ(effect->getEditorHint(111), 1) << "no analyser block delivered";
    }
    // Pixels of colour c in the upper half of the graph.
    int upperPixels(COLORREF c) {
        int count = 0;
        for (int y = 284; y < 384; ++y)
            for (int x = 189; x < 625; ++x)
                if (pixel(x, y) == c) ++count;
        return count;
    }
};

TEST_F(AnalyserPageTest, ButtonsShowPowerAndMode) {
    effect->setParameter(91, 1.0f);
    effect->setParameter(92, 1.0f);
    drawWithHint(0);
    EXPECT_EQ(pixel(131, 178), artPixel(10049, 3, 3));
    EXPECT_TRUE(showsFrame(layout::kBmpSmallSwitch, 519, 187, 0, 1));
    EXPECT_TRUE(showsFrame(layout::kBmpCurveModeButton, 558, 187, 1, 0));
    effect->setParameter(91, 0.0f); // hint 2: power button and empty graph
    EXPECT_EQ(effect->getEditorHint(111), 2);
    blacken();
    panel->draw(&surface);
    EXPECT_TRUE(showsFrame(layout::kBmpSmallSwitch, 519, 187, 1, 0));
    EXPECT_EQ(pixel(300, 400), artPixel(10051, 300 - 189, 400 - 284));
    EXPECT_FALSE(touched(layout::kPageECurveMode));
    effect->setParameter(92, 0.0f); // hint 3: mode button and empty graph
    EXPECT_EQ(effect->getEditorHint(111), 3);
    blacken();
    panel->draw(&surface);
    EXPECT_TRUE(showsFrame(layout::kBmpCurveModeButton, 558, 187, 0, 1));
    EXPECT_FALSE(touched(layout::kPageEPower));
}

TEST_F(AnalyserPageTest, PressesSwitchPowerAndMode) {
    effect->setParameter(91, 1.0f);
    press(1, Point(515, 190));
    EXPECT_EQ(effect->getParameter(91), 0.0f);
    press(1, Point(548, 210));
    EXPECT_EQ(effect->getParameter(91), 1.0f);
    press(1, Point(600, 200));
    EXPECT_EQ(effect->getParameter(92), 1.0f);
    press(1, Point(560, 200));
    EXPECT_EQ(effect->getParameter(92), 0.0f);
    press(4, Point(600, 200)); // the right button is ignored
    EXPECT_EQ(effect->getParameter(92), 0.0f);
}

TEST_F(AnalyserPageTest, FrameShowsEachChannelOrTheLouderOne) {
    const COLORREF left = RGB(255, 0, 102), right = RGB(255, 149, 191);
    effect->setParameter(92, 0.0f); // separate curves
    captureBlock();
    blacken();
    panel->draw(&surface);
    EXPECT_EQ(effect->getEditorHint(111), 0); // re-armed
    EXPECT_GT(upperPixels(right), 0) << "the loud right channel reaches the upper half";
    EXPECT_EQ(upperPixels(left), 0) << "the silent left channel stays at the bottom";

    effect->setParameter(92, 1.0f); // one curve: the louder channel, point by point
    captureBlock();
    panel->draw(&surface);
    EXPECT_GT(upperPixels(left), 0);
    EXPECT_EQ(upperPixels(right), 0);
}

} // namespace

} // namespace qv
