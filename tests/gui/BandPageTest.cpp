// Page B, all bands side by side: each column shows its own band in both views, the hints of
// each view redraw their rows (with the channel header) and meters, the band meters follow the
// readings' rows, and presses on boxes, switches, meters and buttons change the right band.
#include "editor/BandPage.h"
#include "tests/gui/PanelFixture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr int kColumn[6] = {0, 597, 505, 413, 321, 229}; // by band 1..5

class BandPageTest : public PanelFixture {
protected:
    BandPageTest() { showPage(SettingsPanel::kPageB); }
    void amplitude() { effect->setParameter(90, 1.0f); }
    void envelope() { effect->setParameter(90, 0.0f); }
    static layout::LayoutRect box(int band, int y, int height = 16) {
        return {kColumn[band], y, kColumn[band] + 61, y + height};
    }
};

TEST_F(BandPageTest, AmplitudeViewShowsEachBandInItsColumn) {
    amplitude();
    const char* texts[6] = {"", "-2.4 dB", "-4.8 dB", "-7.2 dB", "-9.6 dB", "-12.0 dB"};
    for (int band = 1; band <= 5; ++band)
        effect->setParameter(3 + band, 0.5f - 0.05f * band); // input levels
    effect->setParameter(33, 0.75f);                         // "cp4_Ratio" 2.0 : 1
    drawWithHint(0);
    EXPECT_EQ(pixel(131, 178), artPixel(10039, 3, 3));
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(boxDiffers(10041, kColumn[band], 249, texts[band]), 0) << band;
    EXPECT_GT(boxDiffers(10041, kColumn[1], 249, texts[2]), 0);
    EXPECT_EQ(boxDiffers(10042, kColumn[4], 491, "2.0 : 1"), 0);
    EXPECT_TRUE(showsFrame(layout::kBmpViewButtons, 507, 186, 0, 1));
}

TEST_F(BandPageTest, EnvelopeViewShowsSwitchesPerBand) {
    envelope();
    for (int band = 1; band <= 5; ++band)
        effect->setParameter(10 + 6 * band, band == 2 ? 1.0f : 0.0f); // attack curves
    effect->setParameter(61, 0.0f);                                   // "cp3_AutoRelType" dynamic
    effect->setParameter(35, 0.5f);                                   // "cp4_Atk" 125 ms
    drawWithHint(0);
    EXPECT_EQ(pixel(131, 178), artPixel(10040, 3, 3));
    EXPECT_TRUE(showsFrame(layout::kBmpBandAttackCurveSwitch, kColumn[2], 353, 1, 0));
    EXPECT_TRUE(showsFrame(layout::kBmpBandAttackCurveSwitch, kColumn[5], 353, 0, 1));
    EXPECT_TRUE(showsFrame(layout::kBmpBandAutoReleaseSwitch, kColumn[3], 484, 0, 1));
    EXPECT_EQ(boxDiffers(10041, kColumn[4], 381, "125 ms"), 0);
    EXPECT_TRUE(showsFrame(layout::kBmpViewButtons, 507, 186, 1, 0));
    // The channel header of this view marks the selected band (frame 0: band 1).
    EXPECT_TRUE(showsFrame(layout::kBmpChannelHeader, 212, 326, 0, 2));
}

TEST_F(BandPageTest, HintsRedrawTheirRowsInTheViewShown) {
    const layout::LayoutRect meters = {kColumn[5], 316, kColumn[1] + 61, 489};
    const layout::LayoutRect headerA = layout::kPageBHeaderAmplitude;
    const layout::LayoutRect headerE = layout::kPageBHeaderEnvelope;
    const layout::LayoutRect sw = layout::kPageBMeterSwitch;
    const layout::LayoutRect in = box(3, 249), out = box(3, 273), thr = box(3, 297),
                             ratio = box(3, 491);
    const layout::LayoutRect curve = box(3, 353, 21), atk = box(3, 381), mode = box(3, 409, 21),
                             depth = box(3, 437), rel = box(3, 461), type = box(3, 484, 21);
    const struct {
        bool amplitude;
        int hint;
        std::vector<const layout::LayoutRect*> drawn;
    } cases[] = {
        {true, 1, {&meters}},
        {true, 2, {&sw, &meters}},
        {true, 6, {&thr, &headerA, &meters}},
        {true, 4, {&in, &headerA}},
        {true, 5, {&out, &headerA}},
        {true, 7, {&ratio, &headerA}},
        {true, 8, {}},
        {false, 1, {}},
        {false, 2, {&sw}},
        {false, 6, {}},
        {false, 8, {&atk, &headerE}},
        {false, 9, {&rel, &headerE}},
        {false, 10, {&depth, &headerE}},
        {false, 11, {&curve, &headerE}},
        {false, 12, {&mode, &headerE}},
        {false, 13, {&type, &headerE}},
        {false, 4, {}},
    };
    for (const auto& c : cases) {
        c.amplitude ? amplitude() : envelope();
        blacken();
        drawWithHint(c.hint);
        // Only the elements of the view shown (the two views share rows).
        const std::vector<const layout::LayoutRect*> looked =
            c.amplitude ? std::vector<const layout::LayoutRect*>{&sw, &in, &out, &thr, &ratio}
                        : std::vector<const layout::LayoutRect*>{&sw,    &curve, &atk, &mode,
                                                                 &depth, &rel,   &type};
        for (const layout::LayoutRect* r : looked) {
            const bool expected = std::find(c.drawn.begin(), c.drawn.end(), r) != c.drawn.end();
            EXPECT_EQ(touched(*r), expected) << (c.amplitude ? "amplitude" : "envelope") << " hint "
                                             << c.hint << " at " << r->left << "," << r->top;
        }
        // Headers and meters share rows with other elements: look at a row of their own.
        const bool headerWanted =
            std::find(c.drawn.begin(), c.drawn.end(), &headerA) != c.drawn.end() ||
            std::find(c.drawn.begin(), c.drawn.end(), &headerE) != c.drawn.end();
        const layout::LayoutRect& header = c.amplitude ? headerA : headerE;
        EXPECT_EQ(touched({header.left, header.top, header.right, header.top + 15}), headerWanted)
            << c.hint;
        const bool metersWanted =
            std::find(c.drawn.begin(), c.drawn.end(), &meters) != c.drawn.end();
        if (c.amplitude) { // the envelope rows cover the meters' place
            EXPECT_EQ(touched({kColumn[3], 330, kColumn[3] + 61, 480}), metersWanted) << c.hint;
        }
        EXPECT_EQ(effect->getEditorHint(111), 0);
    }
}

TEST_F(BandPageTest, MeterRowsAreFourPixelsPerDecibel) {
    EXPECT_EQ(BandPage::levelTop(1.0f), 6);
    EXPECT_EQ(BandPage::levelTop(3.0f), 6);
    EXPECT_EQ(BandPage::levelTop(0.5f), 6 + 24); // -6.02 dB
    EXPECT_EQ(BandPage::levelTop(0.0101f), -1);  // row 165: too low
    EXPECT_EQ(BandPage::levelTop(0.01f), -1);
    EXPECT_EQ(BandPage::levelTop(std::nanf("")), -1);
    EXPECT_EQ(BandPage::reductionBottom(1.0f), -1); // no gain change
    EXPECT_EQ(BandPage::reductionBottom(1.005f), -1);
    EXPECT_EQ(BandPage::reductionBottom(0.1f), 6 + 79); // 0.1f lies just above 0.1
    EXPECT_EQ(BandPage::reductionBottom(0.01f), 164);
    EXPECT_EQ(BandPage::reductionBottom(0.011f), 164);  // row 162: the whole height
    EXPECT_EQ(BandPage::reductionBottom(2.0f), 6 + 24); // expansion: upwards measure
    EXPECT_EQ(BandPage::reductionBottom(std::nanf("")), -1);
}

TEST_F(BandPageTest, ViewButtonsAndMeterSwitch) {
    amplitude();
    press(1, Point(545, 195));
    EXPECT_EQ(effect->getParameter(90), 0.0f);
    press(1, Point(515, 195));
    EXPECT_EQ(effect->getParameter(90), 1.0f);
    effect->setEditorHint(111, 0); // drawn; two undrawn changes would ask for the whole page
    effect->setParameter(56, 0.0f);
    press(1, Point(640, 195));
    EXPECT_EQ(effect->getParameter(56), 1.0f);
    EXPECT_EQ(effect->getEditorHint(111), 2);
}

TEST_F(BandPageTest, BoxDragsMoveOneBandByHalfAThousandthPerPixel) {
    amplitude();
    const struct {
        int band;
        int y;
        int index;
        float start;
        double want;
    } cases[] = {
        {4, 273, 12, 0.5f, (2.4 + 24.0) / 48.0},         // output level: 0.024 dB per pixel
        {2, 297, 20, 0.5f, (-20.0 + 1.0 + 40.0) / 40.0}, // threshold: 20 dB per unit
        {5, 249, 8, 0.5f, (2.4 + 24.0) / 48.0},
    };
    for (const auto& c : cases) {
        float before[93];
        for (int i = 0; i < 93; ++i)
            before[i] = effect->getParameter(i);
        effect->setParameter(c.index, c.start);
        const Point at(kColumn[c.band] + 10, c.y + 5);
        input.then(1, Point(at.x + 100, at.y)).then(0, Point(at.x + 100, at.y));
        press(1, at);
        EXPECT_NEAR(effect->getParameter(c.index), c.want, 1e-5) << c.index;
        for (int i = 4; i < 87; ++i)
            if (i != c.index && i != 19 && i != 25 && i != 31 && i != 37 && i != 43) {
                EXPECT_EQ(effect->getParameter(i), before[i]) << i;
            }
    }
    // Ratio: one step of 100 pixels multiplies the slope by 1 / (1 + 24.5 * 0.05).
    effect->setParameter(15, 0.75f);
    input.then(1, Point(kColumn[1] + 110, 495)).then(0, Point(0, 0));
    press(1, Point(kColumn[1] + 10, 495));
    EXPECT_NEAR(effect->getParameter(15), 1.0 - 0.5 * 0.5 / 2.225, 1e-6);
    envelope();
    effect->setParameter(29, 0.2f); // "cp3_Atk"
    input.then(1, Point(kColumn[3] - 90, 385)).then(0, Point(0, 0));
    press(1, Point(kColumn[3] + 10, 385));
    EXPECT_NEAR(effect->getParameter(29), 0.15f, 1e-6);
}

TEST_F(BandPageTest, MeterDragMovesThatBandsThreshold) {
    amplitude();
    effect->setParameter(32, 0.5f); // "cp4_Thresh" -20 dB
    input.then(1, Point(kColumn[4] + 30, 300)).then(0, Point(0, 0));
    press(1, Point(kColumn[4] + 30, 400)); // 100 pixels up: +4 dB
    EXPECT_NEAR(effect->getParameter(32), (-16.0 + 40.0) / 40.0, 1e-5);
    envelope();
    effect->setParameter(32, 0.5f);
    input.then(1, Point(kColumn[4] + 30, 300)).then(0, Point(0, 0));
    press(1, Point(kColumn[4] + 30, 400)); // no meters in this view
    EXPECT_EQ(effect->getParameter(32), 0.5f);
}

TEST_F(BandPageTest, SwitchImagesToggleTheirBand) {
    envelope();
    effect->setParameter(36, 0.0f); // "cp4_RelMode"
    press(1, Point(kColumn[4] + 20, 415));
    EXPECT_EQ(effect->getParameter(36), 1.0f);
    effect->setParameter(59, 0.6f); // "cp1_AutoRelType": rounds to 1
    press(1, Point(kColumn[1] + 20, 490));
    EXPECT_EQ(effect->getParameter(59), 0.0f);
}

} // namespace

} // namespace qv
