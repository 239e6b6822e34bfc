// Page A, the selected band's compressor: the channel buttons choose the band whose values every
// box shows, each hint redraws only its elements, the meter shows the band's readings, and the
// drags, clicks and right-button resets change only the selected band's parameter.
#include "editor/CompressorPage.h"
#include "gui/DrawContext.h"
#include "tests/gui/PanelFixture.h"

#include <cmath>
#include <vector>

namespace qv {

namespace {

class CompressorPageTest : public PanelFixture {
protected:
    CompressorPageTest() { showPage(SettingsPanel::kPageA); }

    // Pixels of the value box at r that differ from the box bitmap with text drawn in it in
    // font 4, black, centred.
    int boxDiffers(const layout::LayoutRect& r, const char* text) {
        Bitmap* box = new Bitmap(10011);
        int differing = 0;
        {
            OffscreenContext reference(nullptr, box);
            reference.setFont(4);
            reference.setFontColor(kBlack);
            reference.drawString(text, Rect(0, 0, r.right - r.left, r.bottom - r.top));
            for (int y = 0; y < r.bottom - r.top; ++y)
                for (int x = 0; x < r.right - r.left; ++x)
                    if ((GetPixel(reference.getDC(), x, y) & 0xFFFFFF) !=
                        pixel(r.left + x, r.top + y))
                        ++differing;
        }
        box->release();
        return differing;
    }
};

TEST_F(CompressorPageTest, ChannelThreeShowsBandThreesValuesInEveryBox) {
    for (int band = 1; band <= 5; ++band) {
        effect->setParameter(9 + 6 * band, 0.5f);  // ratios 1.0 : 1
        effect->setParameter(8 + 6 * band, 1.0f);  // thresholds 0 dB
        effect->setParameter(3 + band, 0.5f);      // input levels 0 dB
        effect->setParameter(75 + 2 * band, 0.0f); // release times 0.01 ms
    }
    effect->setParameter(27, 0.75f); // "cp3_Ratio": 2.0 : 1
    effect->setParameter(26, 0.5f);  // "cp3_Thresh": -20 dB
    effect->setParameter(6, 1.0f);   // "cp3_InLevel": +24 dB
    effect->setParameter(81, 0.5f);  // "cp3_Rel_m": 125 ms
    effect->setParameter(88, 0.5f);  // band 3
    drawWithHint(0);
    EXPECT_EQ(boxDiffers(layout::kPageARatio, "2.0 : 1"), 0);
    EXPECT_GT(boxDiffers(layout::kPageARatio, "1.0 : 1"), 0);
    EXPECT_EQ(boxDiffers(layout::kPageAThreshold, "-20.0 dB"), 0);
    EXPECT_EQ(boxDiffers(layout::kPageAInputLevel, "24.0 dB"), 0);
    EXPECT_EQ(boxDiffers(layout::kPageAReleaseTime, "125 ms"), 0);
    // Channel buttons: frame 2 lights band 3.
    EXPECT_TRUE(showsFrame(layout::kBmpChannelButtons, 504, 183, 2, 0));
    EXPECT_TRUE(showsFrame(layout::kBmpChannelButtons, 504, 183, 2, 4));
    // The marker sits 100 pixels down the track for -20 dB.
    EXPECT_EQ(CompressorPage::markerTop(0.5f), 345);
}

TEST_F(CompressorPageTest, HostChangeOfTheRatioRedrawsOnlyTheRatioBox) {
    effect->setParameter(88, 0.5f);
    effect->setEditorHint(111, 0);
    effect->setParameter(27, 0.9f); // "cp3_Ratio"
    EXPECT_EQ(effect->getEditorHint(111), 3);
    blacken();
    panel->draw(&surface);
    EXPECT_EQ(boxDiffers(layout::kPageARatio, "5.0 : 1"), 0);
    EXPECT_FALSE(touched(layout::kPageAThreshold));
    EXPECT_FALSE(touched(layout::kPageAAttack));
    EXPECT_FALSE(touched(layout::kPageAMeterStrip));
}

// Several host changes before the panel's next redraw: every changed box shows its new value.
TEST_F(CompressorPageTest, ABurstOfHostChangesDrawsEveryChangedBox) {
    effect->setParameter(88, 0.5f); // band 3
    effect->setEditorHint(111, 0);  // the page has been drawn
    effect->setParameter(27, 0.9f); // "cp3_Ratio": 5.0 : 1
    effect->setParameter(26, 0.5f); // "cp3_Thresh": -20 dB
    effect->setParameter(6, 1.0f);  // "cp3_InLevel": +24 dB
    blacken();
    panel->draw(&surface);
    EXPECT_EQ(boxDiffers(layout::kPageARatio, "5.0 : 1"), 0);
    EXPECT_EQ(boxDiffers(layout::kPageAThreshold, "-20.0 dB"), 0);
    EXPECT_EQ(boxDiffers(layout::kPageAInputLevel, "24.0 dB"), 0);
    EXPECT_EQ(effect->getEditorHint(111), 0);
}

TEST_F(CompressorPageTest, EachHintRedrawsItsElements) {
    const layout::LayoutRect* all[] = {
        &layout::kPageAMeterStrip,  &layout::kPageAThresholdTrack, &layout::kPageAThreshold,
        &layout::kPageARatio,       &layout::kPageAInputLevel,     &layout::kPageAOutputLevel,
        &layout::kPageAAttack,      &layout::kPageAReleaseTime,    &layout::kPageAReleaseDepth,
        &layout::kPageAAttackCurve, &layout::kPageAReleaseMode,    &layout::kPageAAutoReleaseType,
        &layout::kPageAChannel};
    const struct {
        int hint;
        std::vector<const layout::LayoutRect*> drawn;
    } cases[] = {
        {1, {&layout::kPageAMeterStrip}},
        {2, {&layout::kPageAThresholdTrack, &layout::kPageAThreshold}},
        {3, {&layout::kPageARatio}},
        {4, {&layout::kPageAInputLevel}},
        {5, {&layout::kPageAOutputLevel}},
        {6, {&layout::kPageAAttack}},
        {7, {&layout::kPageAReleaseTime}},
        {8, {&layout::kPageAReleaseDepth}},
        {9, {&layout::kPageAAttackCurve}},
        {10, {&layout::kPageAReleaseMode}},
        {11, {&layout::kPageAAutoReleaseType}},
        {12, {}},
    };
    for (const auto& c : cases) {
        blacken();
        drawWithHint(c.hint);
        for (const layout::LayoutRect* r : all) {
            const bool expected = std::find(c.drawn.begin(), c.drawn.end(), r) != c.drawn.end();
            EXPECT_EQ(touched(*r), expected)
                << "hint " << c.hint << " at " << r->left << "," << r->top;
        }
        EXPECT_EQ(effect->getEditorHint(111), 0);
    }
}

TEST_F(CompressorPageTest, MeterRowsAreFivePixelsPerDecibel) {
    const struct {
        float value;
        int row;
    } cases[] = {
        {1.0f, 0},           {2.0f, 0},       {0.5f, 30},      {0.1f, 99 /* 0.1f lies above 0.1 */},
        {0.01f, 200},        {0.00317f, 249}, {0.00316f, 250}, {0.0f, 250},
        {std::nanf(""), 250}};
    for (const auto& c : cases)
        EXPECT_EQ(CompressorPage::meterRow(c.value), c.row) << c.value;
}

TEST_F(CompressorPageTest, MeterShowsTheSelectedBandsLevel) {
    effect->setParameter(88, 0.5f); // band 3: 524 .. 3802 Hz
    effect->setSampleRate(44100.0f);
    effect->resume();
    std::vector<float> left(4096), right(4096);
    float* inputs[2] = {left.data(), right.data()};
    std::vector<float> outLeft(4096), outRight(4096);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    long n = 0;
    for (int block = 0; block < 6; ++block) {
        for (int i = 0; i < 4096; ++i, ++n)
            left[i] = right[i] = 0.5f * std::sin(2.0 * 3.141592653589793 * 1000.0 * n / 44100.0);
        effect->processReplacing(inputs, outputs, 4096);
    }
    const float level = effect->getEditorValue(95);
    ASSERT_GT(level, 0.1f) << "no level reading for band 3";
    const int row = CompressorPage::meterRow(level);
    drawWithHint(1);
    const COLORREF one = RGB(217, 0, 87), two = RGB(255, 0, 102);
    EXPECT_EQ(pixel(522 + 12, 255 + 249), one);
    EXPECT_EQ(pixel(522 + 13, 255 + row), one);
    EXPECT_EQ(pixel(522 + 7, 255 + row), two);
    EXPECT_EQ(pixel(522 + 11, 255 + 200), two);
    if (row > 0) {
        EXPECT_EQ(pixel(522 + 12, 255 + row - 1), artPixel(10014, 12, row - 1));
    }
    EXPECT_EQ(pixel(522 + 4, 255 + 200), artPixel(10014, 4, 200)); // between the bars
}

TEST_F(CompressorPageTest, ChannelButtonsChooseTheBand) {
    const float values[] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f};
    for (int i = 0; i < 5; ++i) {
        press(1, Point(504 + 31 * i + 15, 198));
        EXPECT_EQ(effect->getParameter(88), values[i]) << i;
        EXPECT_EQ(CompressorBands::selectedBand(values[i]), 5 - i);
    }
    press(1, Point(659, 214)); // the last pixel: band 1
    EXPECT_EQ(effect->getParameter(88), 0.9f);
}

TEST_F(CompressorPageTest, DraggingTheRatioOfChannelThreeChangesOnlyCp3Ratio) {
    effect->setParameter(88, 0.5f);
    float before[93];
    for (int i = 0; i < 93; ++i)
        before[i] = effect->getParameter(i);
    const Point at(600, 290);
    input.then(1, Point(610, 290)).then(0, Point(610, 290));
    press(1, at); // 10 pixels right: x = 2 - 2v times 1 / 1.245
    const float x = 2.0f - 2.0f * before[27];
    EXPECT_NEAR(effect->getParameter(27), 1.0f - 0.5f * x / 1.245f, 1e-6);
    for (int i = 0; i < 93; ++i)
        if (i != 27 && i != 89) {
            EXPECT_EQ(effect->getParameter(i), before[i]) << i;
        }
    EXPECT_EQ(panel->getActiveElement(), 0);
    EXPECT_EQ(input.displayCount, 0);
    EXPECT_EQ(input.restoredTo, at);
}

TEST_F(CompressorPageTest, DragsMoveEachQuantityInItsDomain) {
    effect->setParameter(88, 0.9f); // band 1
    const struct {
        Point at;
        Point to;
        int index;
        float start;
        double want; // normalised
    } cases[] = {
        {{600, 350}, {700, 350}, 14, 0.5f, (-20.0 + 2.0 + 40.0) / 40.0}, // threshold box
        {{600, 420}, {700, 420}, 4, 0.5f, (2.4 + 24.0) / 48.0},          // input level
        {{600, 470}, {550, 470}, 9, 0.5f, (-1.2 + 24.0) / 48.0},         // output level
        {{400, 270}, {500, 270}, 17, 0.3f, 0.4},                         // attack
        {{400, 380}, {350, 380}, 77, 0.3f, 0.25},                        // release time
        {{400, 330}, {420, 330}, 78, 0.3f, 0.32},                        // release depth
        {{545, 345}, {545, 245}, 14, 0.5f, (-20.0 + 4.0 + 40.0) / 40.0}, // marker, 100 up
    };
    for (const auto& c : cases) {
        effect->setParameter(c.index, c.start);
        input.then(1, c.to).then(0, c.to);
        press(1, c.at);
        EXPECT_NEAR(effect->getParameter(c.index), c.want, 1e-5) << c.index;
    }
    // Ends of the ranges.
    effect->setParameter(14, 0.5f);
    input.then(1, Point(545, 345 - 800)).then(0, Point(0, 0));
    press(1, Point(545, 345));
    EXPECT_EQ(effect->getParameter(14), 1.0f);
    effect->setParameter(4, 0.5f);
    input.then(1, Point(600 - 2000, 420)).then(0, Point(0, 0));
    press(1, Point(600, 420));
    EXPECT_EQ(effect->getParameter(4), 0.0f);
}

TEST_F(CompressorPageTest, RightButtonPutsBackEachDefault) {
    effect->setParameter(88, 0.1f); // band 5
    const struct {
        Point at;
        int index;
        float reset;
    } cases[] = {
        {{600, 290}, 39, 0.5f}, {{600, 350}, 38, 1.0f},  {{600, 420}, 8, 0.5f},
        {{600, 470}, 13, 0.5f}, {{400, 270}, 41, 0.25f}, {{400, 380}, 85, 0.5f},
        {{400, 330}, 86, 0.5f}, {{545, 300}, 38, 1.0f},
    };
    for (const auto& c : cases) {
        effect->setParameter(c.index, 0.123f);
        input.then(4, c.at).then(0, c.at); // held, then released
        press(4, c.at);
        EXPECT_EQ(effect->getParameter(c.index), c.reset) << c.index;
    }
}

TEST_F(CompressorPageTest, RoundSwitchesToggleTheSelectedBand) {
    effect->setParameter(88, 0.7f); // band 2
    const struct {
        Point at;
        int index;
    } cases[] = {{{210, 460}, 22}, {{310, 460}, 24}, {{410, 460}, 60}};
    for (const auto& c : cases) {
        effect->setParameter(c.index, 0.0f);
        press(1, c.at);
        EXPECT_EQ(effect->getParameter(c.index), 1.0f) << c.index;
        press(1, c.at);
        EXPECT_EQ(effect->getParameter(c.index), 0.0f) << c.index;
    }
}

} // namespace

} // namespace qv
