// The crossover strip in the open editor: frequency texts, what is drawn in each box, relative
// drags with the pointer hidden and put back, right-click resets, the neighbour pushed along by
// the effect, redraws only on its refresh flag, and no GDI object left behind.
#include "editor/CrossoverStrip.h"
#include "gui/GdiCounter.h"
#include "tests/gui/EditorViewFixture.h"

#include <cmath>
#include <limits>
#include <string>

namespace qv {

namespace {

struct FrequencyCase {
    float x;
    const char* text;
};

// Expected texts worked out by hand from f = 2.1 ^ (8.2 x - 4.4) kHz, truncated.
constexpr FrequencyCase kFrequencies[] = {
    {0.0f, "40 Hz"},      // 38.2 Hz
    {0.01f, "40 Hz"},     // 40.6 Hz truncates to 40
    {0.0125f, "41 Hz"},   // 41.2 Hz
    {0.25f, "174 Hz"},    // 174.9 Hz
    {0.5f, "800 Hz"},     // 800.45 Hz
    {0.75f, "3663 Hz"},   // 3663.4 Hz
    {0.99f, "15776 Hz"},  // 15776.5 Hz
    {0.995f, "16000 Hz"}, // 16263.8 Hz
    {1.0f, "16000 Hz"},   // 16766 Hz
    {-3.0f, "40 Hz"},
    {std::numeric_limits<float>::quiet_NaN(), "40 Hz"},
    {std::numeric_limits<float>::infinity(), "16000 Hz"},
};

TEST(CrossoverStripText, FrequencyInHertz) {
    for (const FrequencyCase& c : kFrequencies) {
        char text[16];
        CrossoverStrip::formatFrequency(c.x, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.x;
    }
    char tiny[3] = {'x', 'x', 'x'};
    CrossoverStrip::formatFrequency(1.0f, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "16");
}

class CrossoverStripInEditor : public EditorViewFixture {
protected:
    void SetUp() override {
        open();
        strip = static_cast<CrossoverStrip*>(editor->findCustomView(2));
        ASSERT_NE(strip, nullptr);
    }
    float freq(int i) { return effect->getParameter(i); }
    // Pixels of box i on screen that differ from the box showing text.
    int boxDiffers(int box, const std::string& text) {
        BoxPicture expected(10008, text, 4, 0, kBlack);
        return differingPixels(strip->boxRect(box), expected.get());
    }
    std::string textOf(float x) {
        char text[16];
        CrossoverStrip::formatFrequency(x, text, sizeof text);
        return text;
    }
    // Middle of box i.
    Point boxCentre(int i) {
        const Rect& r = strip->boxRect(i);
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    CrossoverStrip* strip = nullptr;
};

TEST_F(CrossoverStripInEditor, SitsAtItsPlaceWithFourBoxes) {
    EXPECT_EQ(strip->viewSize(), Rect(169, 24, 634, 45));
    EXPECT_EQ(strip->stripRect(), Rect(169, 24, 634, 45));
    const Rect boxes[4] = {
        {533, 25, 600, 44}, {423, 25, 490, 44}, {313, 25, 380, 44}, {203, 25, 270, 44}};
    const Rect frames[4] = {
        {532, 24, 600, 44}, {422, 24, 490, 44}, {312, 24, 380, 44}, {202, 24, 270, 44}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(strip->boxRect(i), boxes[i]) << i;
        EXPECT_EQ(strip->highlightRect(i), frames[i]) << i;
    }
}

TEST_F(CrossoverStripInEditor, EachBoxShowsItsFrequency) {
    // Descending, as the effect keeps them.
    const float values[4] = {1.0f, 0.75f, 0.5f, 0.0f};
    for (int i = 0; i < 4; ++i)
        effect->setParameter(i, values[i]);
    paint();
    EXPECT_EQ(boxDiffers(0, "16000 Hz"), 0);
    EXPECT_EQ(boxDiffers(1, "3663 Hz"), 0);
    EXPECT_EQ(boxDiffers(2, "800 Hz"), 0);
    EXPECT_EQ(boxDiffers(3, "40 Hz"), 0);
    EXPECT_GT(boxDiffers(2, "801 Hz"), 0); // the comparison does see the text
    // The strip picture around the boxes.
    Bitmap* art = new Bitmap(10007);
    {
        OffscreenContext copy(nullptr, art);
        // Beside the boxes, and on the rows above and below them.
        EXPECT_EQ(screenPixel(169 + 5, 24 + 10), GetPixel(copy.getDC(), 5, 10) & 0xFFFFFF);
        EXPECT_EQ(screenPixel(169 + 300, 24), GetPixel(copy.getDC(), 300, 0) & 0xFFFFFF);
        EXPECT_EQ(screenPixel(169 + 200, 44), GetPixel(copy.getDC(), 200, 20) & 0xFFFFFF);
    }
    art->release();
}

TEST_F(CrossoverStripInEditor, RedrawsOnItsRefreshFlagOnly) {
    effect->setParameter(2, 0.5f);
    paint();
    idle();
    ASSERT_EQ(boxDiffers(2, "800 Hz"), 0);
    // Host automation: the effect raises flag 2, the next idle redraws the strip.
    effect->setParameter(2, 0.25f);
    EXPECT_TRUE(editor->isRefreshPending(2));
    EXPECT_EQ(boxDiffers(2, "800 Hz"), 0); // not before the idle
    idle();
    EXPECT_EQ(boxDiffers(2, "174 Hz"), 0);
    // Marked dirty, it is still not drawn by the frame's refresh of dirty views.
    effect->setParameter(2, 0.5f);
    editor->findCustomView(2)->setDirty(true);
    editor->getFrame()->idle();
    EXPECT_EQ(boxDiffers(2, "174 Hz"), 0);
    // A parameter of another view does not redraw the strip.
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); // flag 2 served: shows 800 again
    ASSERT_EQ(boxDiffers(2, "800 Hz"), 0);
    effect->setParameter(64, 0.9f);
    EXPECT_FALSE(editor->isRefreshPending(2));
}

TEST_F(CrossoverStripInEditor, DraggingABoxHundredPixelsRightAddsPointTwo) {
    effect->setParameter(0, 0.5f);
    dragX(boxCentre(0), {30, 60, 100});
    EXPECT_NEAR(freq(0), 0.7f, 1e-6f);
    EXPECT_EQ(boxDiffers(0, textOf(freq(0))), 0); // shown after the release
    EXPECT_EQ(strip->getActiveBox(), 0);
    // Leftwards lowers it again by the same measure.
    dragX(boxCentre(0), {-50});
    EXPECT_NEAR(freq(0), 0.6f, 1e-6f);
}

TEST_F(CrossoverStripInEditor, ClampsAtTheEndAndComesBackAtOnce) {
    effect->setParameter(0, 0.9f);
    dragX(boxCentre(0), {100, 300, 290});
    EXPECT_NEAR(freq(0), 0.98f, 1e-6f); // 1.0 after 100 px, no dead zone on the way back
    effect->setParameter(3, 0.1f);
    dragX(boxCentre(3), {-100, -90});
    EXPECT_NEAR(freq(3), 0.02f, 1e-6f);
}

TEST_F(CrossoverStripInEditor, TinyMovesAreNotLostButAccumulate) {
    effect->setParameter(1, 0.5f);
    // A step of 0 changes nothing and keeps the anchor; the pixel after it counts from there.
    dragX(boxCentre(1), {0, 1, 1, 2});
    EXPECT_NEAR(freq(1), 0.504f, 1e-6f);
}

TEST_F(CrossoverStripInEditor, PointerHiddenDuringTheDragAndPutBackWhereItWas) {
    effect->setParameter(0, 0.5f);
    const Point press = boxCentre(0);
    int hiddenDuring = 0;
    input.onPoll = [&](int poll) {
        if (poll == 4) hiddenDuring = input.displayCount;
    };
    dragX(press, {40, 80, 120, 160});
    EXPECT_LT(hiddenDuring, 0);
    EXPECT_EQ(input.hides, 1);
    EXPECT_EQ(input.shows, 1);
    ASSERT_EQ(input.moves.size(), 1u);
    EXPECT_EQ(input.moves[0], screenOf(press.x, press.y));
}

TEST_F(CrossoverStripInEditor, HighlightWhileDraggingOnly) {
    effect->setParameter(1, 0.5f);
    const COLORREF highlight = RGB(102, 255, 255);
    COLORREF during = 0;
    // Polls: frame, first pass, then one per step; the redraw runs in the pump after a change.
    input.onPoll = [&](int poll) {
        if (poll == 5) during = screenPixel(422, 30);
    };
    dragX(boxCentre(1), {10, 20, 30, 40});
    EXPECT_EQ(during, highlight);
    EXPECT_NE(screenPixel(422, 30), highlight);
    EXPECT_NE(screenPixel(450, 24), highlight);
}

TEST_F(CrossoverStripInEditor, RightClickResetsTheBoxUnderThePointer) {
    effect->setParameter(2, 0.2f);
    effect->setParameter(3, 0.1f);
    const Point box2 = boxCentre(2);
    gesture(InputSource::kPhysicalRight, box2, {box2});
    EXPECT_EQ(freq(2), 0.5f);
    EXPECT_EQ(input.hides, 0); // no pointer games for a reset
    // Between two boxes: nothing.
    const float before[4] = {freq(0), freq(1), freq(2), freq(3)};
    gesture(InputSource::kPhysicalRight, Point(500, 35), {Point(500, 35)});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(freq(i), before[i]) << i;
}

TEST_F(CrossoverStripInEditor, RightButtonStillDownAfterADragResetsAndShowsTheBox) {
    effect->setParameter(2, 0.2f);
    const Point press = boxCentre(2);
    const Point screen = screenOf(press.x, press.y);
    const Point moved(screen.x + 20, screen.y); // 0.24 after the drag, still over the box
    input.then(InputSource::kPhysicalLeft, screen).then(InputSource::kPhysicalLeft, screen);
    input.then(InputSource::kPhysicalLeft, moved).then(InputSource::kPhysicalRight, moved);
    input.then(InputSource::kPhysicalRight, moved);
    SendMessageA(frameWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(press.x, press.y));
    EXPECT_EQ(freq(2), 0.5f);                  // the reset comes after the drag
    EXPECT_EQ(boxDiffers(2, textOf(0.5f)), 0); // and the last draw after the reset
    EXPECT_EQ(strip->getActiveBox(), 0);
    EXPECT_EQ(input.hides, 1);
    EXPECT_EQ(input.shows, 1);
    ASSERT_EQ(input.moves.size(), 1u);
    EXPECT_EQ(input.moves[0], screen);
}

TEST_F(CrossoverStripInEditor, PressesBesideTheBoxesDoNothing) {
    effect->setParameter(0, 0.5f);
    const float before = freq(0);
    // y = 24: on the highlight frame's row, above the box; x = 500: the gap between two boxes.
    for (const Point p : {Point(560, 24), Point(560, 45), Point(500, 35)}) {
        dragX(p, {100});
        EXPECT_EQ(freq(0), before) << p.x << "," << p.y;
    }
    EXPECT_EQ(input.hides, 0);
    EXPECT_EQ(strip->getActiveBox(), 0);
}

TEST_F(CrossoverStripInEditor, DraggingPastANeighbourPushesItAlong) {
    effect->setParameter(0, 0.6f);
    effect->setParameter(1, 0.5f);
    dragX(boxCentre(1), {100}); // "Freq2-3" to 0.7, above "Freq1-2"
    EXPECT_NEAR(freq(1), 0.7f, 1e-6f);
    EXPECT_GE(freq(0), freq(1));
    EXPECT_EQ(boxDiffers(1, textOf(freq(1))), 0);
    EXPECT_EQ(boxDiffers(0, textOf(freq(0))), 0);
    EXPECT_NE(textOf(freq(0)), textOf(0.6f));
}

TEST_F(CrossoverStripInEditor, GesturesLeaveNoGdiObjectBehind) {
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int round = 0; round < 20; ++round) {
        dragX(boxCentre(round % 4), {10, -20, 5});
        gesture(InputSource::kPhysicalRight, boxCentre(1), {boxCentre(1)});
        idle();
    }
    paint();
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
}

} // namespace

} // namespace qv
