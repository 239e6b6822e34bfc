// Page F, the matrix editor: MatrixItem picks the tile picture and the quantity of the value row
// (0.81 the release time), the hints redraw their parts, and the tiles, channel labels, band
// boxes and arrow handles write the right parameters.
#include "editor/MatrixPage.h"
#include "tests/gui/PanelFixture.h"

#include <vector>

namespace qv {

namespace {

constexpr int kBox[6] = {0, 514, 443, 372, 301, 230}; // band box lefts, band 1..5

class MatrixPageTest : public PanelFixture {
protected:
    MatrixPageTest() { showPage(SettingsPanel::kPageF); }
    // The band box of band shows exactly text (box drawn transparently over the row).
    int valueDiffers(int band, const char* text) {
        Bitmap* row = new Bitmap(10030);
        Bitmap* box = new Bitmap(10043);
        int differing = 0;
        {
            OffscreenContext reference(nullptr, row);
            const int left = kBox[band] - 202;
            box->drawTransparent(&reference, Rect(left, 0, left + 61, 15));
            reference.setFont(4);
            reference.setFontColor(kBlack);
            reference.drawString(text, Rect(left, 0, left + 61, 15));
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 61; ++x)
                    if ((GetPixel(reference.getDC(), left + x, y) & 0xFFFFFF) !=
                        pixel(kBox[band] + x, 409 + y))
                        ++differing;
        }
        box->release();
        row->release();
        return differing;
    }
};

TEST_F(MatrixPageTest, ReleaseTimeCodeShowsTheReleaseTimeRow) {
    for (int band = 1; band <= 5; ++band)
        effect->setParameter(75 + 2 * band, band == 2 ? 0.0f : 0.500189f); // "cpN_Rel_m"
    effect->setParameter(89, 0.81f);
    drawWithHint(0);
    EXPECT_EQ(pixel(131, 178), artPixel(10029, 3, 3));
    EXPECT_EQ(valueDiffers(1, "125 ms"), 0);
    EXPECT_EQ(valueDiffers(2, "0.01 ms"), 0);
    EXPECT_GT(valueDiffers(2, "125 ms"), 0);
    EXPECT_TRUE(showsFrame(layout::kBmpMatrixItems, 228, 257, 8, 9));
}

TEST_F(MatrixPageTest, SwitchQuantitiesShowTheirWords) {
    effect->setParameter(89, 0.71f); // auto release type
    effect->setParameter(61, 0.0f);
    effect->setParameter(62, 1.0f);
    drawWithHint(3);
    EXPECT_EQ(valueDiffers(3, "Dynamic"), 0);
    EXPECT_EQ(valueDiffers(4, "Smooth"), 0);
}

TEST_F(MatrixPageTest, ItemAndChannelPicturesFollowTheirValues) {
    const struct {
        float item;
        int frame;
    } items[] = {{0.0f, 0}, {0.11f, 1}, {0.21f, 2}, {0.31f, 3}, {0.51f, 5}, {0.95f, 9}, {1.0f, 9}};
    for (const auto& c : items) {
        effect->setParameter(89, c.item);
        drawWithHint(1);
        EXPECT_TRUE(showsFrame(layout::kBmpMatrixItems, 228, 257, c.frame, c.frame == 0 ? 1 : 0))
            << c.item;
    }
    EXPECT_EQ(MatrixPage::channelFrame(1.0f), 0);
    EXPECT_EQ(MatrixPage::channelFrame(0.8f), 1);
    EXPECT_EQ(MatrixPage::channelFrame(0.5f), 2);
    EXPECT_EQ(MatrixPage::channelFrame(0.3f), 3);
    EXPECT_EQ(MatrixPage::channelFrame(0.2f), 4);
}

TEST_F(MatrixPageTest, HintsRedrawTheirParts) {
    const layout::LayoutRect items = layout::kPageFItems, channels = layout::kPageFChannelRow,
                             arrow = layout::kPageFArrowLeft, values = layout::kPageFValueRow;
    const struct {
        int hint;
        bool items, channels;
    } cases[] = {{1, true, false}, {2, false, true}, {3, false, false}, {10, false, false}};
    for (const auto& c : cases) {
        blacken();
        drawWithHint(c.hint);
        EXPECT_EQ(touched(items), c.items) << c.hint;
        EXPECT_EQ(touched(channels), c.channels) << c.hint;
        EXPECT_TRUE(touched(arrow)) << c.hint;
        EXPECT_TRUE(touched(values)) << c.hint;
    }
    // A band value changed on this page gives 10; the item 1; the channel 2 (each after the
    // previous one was drawn: undrawn changes together ask for the whole page).
    effect->setParameter(20, 0.3f);
    EXPECT_EQ(effect->getEditorHint(111), 10);
    effect->setEditorHint(111, 0);
    effect->setParameter(89, 0.3f);
    EXPECT_EQ(effect->getEditorHint(111), 1);
    effect->setEditorHint(111, 0);
    effect->setParameter(88, 0.3f);
    EXPECT_EQ(effect->getEditorHint(111), 2);
}

TEST_F(MatrixPageTest, TilesAndLabelsWriteTheirCodes) {
    const float codes[10] = {0.0f, 0.11f, 0.21f, 0.31f, 0.41f, 0.51f, 0.61f, 0.71f, 0.81f, 1.0f};
    const int columns[5] = {228, 300, 372, 444, 516};
    for (int item = 0; item < 10; ++item) {
        effect->setParameter(89, 0.5f);
        press(1, Point(columns[item / 2] + 30, (item % 2 ? 329 : 257) + 30));
        EXPECT_EQ(effect->getParameter(89), codes[item]) << item;
    }
    const float channels[6] = {0, 1.0f, 0.7f, 0.5f, 0.3f, 0.0f};
    for (int band = 1; band <= 5; ++band) {
        effect->setParameter(88, 0.45f);
        press(1, Point(kBox[band] + 10, 455));
        EXPECT_EQ(effect->getParameter(88), channels[band]) << band;
    }
}

TEST_F(MatrixPageTest, BandBoxDragsOneBandArrowDragsAll) {
    effect->setParameter(89, 0.21f); // threshold
    for (int band = 1; band <= 5; ++band)
        effect->setParameter(8 + 6 * band, 0.5f); // -20 dB
    input.then(1, Point(kBox[3] + 10, 312)).then(0, Point(0, 0));
    press(1, Point(kBox[3] + 10, 412)); // 100 pixels up: +2 dB on band 3
    EXPECT_NEAR(effect->getParameter(26), (-18.0 + 40.0) / 40.0, 1e-5);
    EXPECT_EQ(effect->getParameter(20), 0.5f);
    EXPECT_EQ(panel->getActiveElement(), 0);

    input.then(1, Point(190, 527)).then(0, Point(0, 0));
    press(1, Point(190, 427)); // left arrow, 100 pixels down: -2 dB on every band
    for (int band = 1; band <= 5; ++band)
        EXPECT_NEAR(effect->getParameter(8 + 6 * band), band == 3 ? 0.5 : 0.45, 1e-5) << band;
    EXPECT_EQ(panel->getActiveElement(), 0);
    EXPECT_EQ(input.displayCount, 0);

    // Ratio at twice the speed: one step of 10 pixels up divides the slope by 1.49.
    effect->setParameter(89, 0.31f);
    effect->setParameter(15, 0.75f);
    input.then(1, Point(kBox[1] + 10, 402)).then(0, Point(0, 0));
    press(1, Point(kBox[1] + 10, 412));
    EXPECT_NEAR(effect->getParameter(15), 1.0 - 0.5 * 0.5 / 1.49, 1e-6);
}

TEST_F(MatrixPageTest, SwitchQuantitiesToggleOnAClick) {
    effect->setParameter(89, 0.41f); // attack curve
    effect->setParameter(34, 0.0f);  // "cp4_AtkCurve"
    press(1, Point(kBox[4] + 10, 415));
    EXPECT_EQ(effect->getParameter(34), 1.0f);
    press(1, Point(610, 425)); // right arrow: every band toggles
    EXPECT_EQ(effect->getParameter(34), 0.0f);
    EXPECT_EQ(effect->getParameter(16), 1.0f);
}

TEST_F(MatrixPageTest, ArrowsShowPressedOnlyWhileHeld) {
    drawWithHint(0);
    EXPECT_TRUE(showsFrame(layout::kBmpMatrixArrow, 603, 419, 1, 0));
    effect->setParameter(89, 0.21f);
    bool pressedWhileHeld = false;
    input.onPoll = [&](int poll) {
        if (poll == 2) pressedWhileHeld = showsFrame(layout::kBmpMatrixArrow, 603, 419, 0, 1);
    };
    input.then(1, Point(610, 427)).then(0, Point(0, 0));
    press(1, Point(610, 427));
    input.onPoll = nullptr;
    EXPECT_TRUE(pressedWhileHeld);
    EXPECT_TRUE(showsFrame(layout::kBmpMatrixArrow, 603, 419, 1, 0)); // released again
}

} // namespace

} // namespace qv
