// The reduction-link strip in the open editor: percentage texts, what is drawn in each box,
// relative drags with the pointer hidden and put back, clamping, right-click resets, the
// highlight while dragging, redraws only on its refresh flag, and no GDI object left behind.
#include "editor/LinkStrip.h"
#include "gui/GdiCounter.h"
#include "tests/gui/EditorViewFixture.h"

#include <limits>
#include <string>

namespace qv {

namespace {

struct AmountCase {
    float amount;
    const char* text;
};

constexpr AmountCase kAmounts[] = {
    {0.0f, "0 %"},
    {0.004f, "0 %"},
    {0.01f, "1 %"},
    {0.37f, "37 %"},
    {0.5f, "50 %"},
    {0.999f, "99 %"},
    {1.0f, "100 %"},
    {-0.5f, "0 %"},
    // 100 x these is just below the whole number in wider-than-float arithmetic.
    {0.7f, "70 %"},
    {0.9f, "90 %"},
    {0.35f, "35 %"},
    {0.29f, "29 %"},
    {7.0f, "100 %"},
    {std::numeric_limits<float>::quiet_NaN(), "0 %"},
};

TEST(LinkStripText, AmountInWholePercent) {
    for (const AmountCase& c : kAmounts) {
        char text[16];
        LinkStrip::formatAmount(c.amount, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.amount;
    }
}

class LinkStripInEditor : public EditorViewFixture {
protected:
    void SetUp() override {
        open();
        strip = static_cast<LinkStrip*>(editor->findCustomView(3));
        ASSERT_NE(strip, nullptr);
    }
    float link(int box) { return effect->getParameter(64 + box); }
    int boxDiffers(int box, const std::string& text) {
        BoxPicture expected(10008, text, 4, 0, kBlack);
        return differingPixels(strip->boxRect(box), expected.get());
    }
    Point boxCentre(int i) {
        const Rect& r = strip->boxRect(i);
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    LinkStrip* strip = nullptr;
};

TEST_F(LinkStripInEditor, SitsBetweenTheBandColumns) {
    EXPECT_EQ(strip->viewSize(), Rect(169, 131, 634, 152));
    EXPECT_EQ(strip->stripRect(), Rect(169, 131, 634, 152));
    const int lefts[4] = {533, 423, 313, 203};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(strip->boxRect(i), Rect(lefts[i], 132, lefts[i] + 67, 151)) << i;
        EXPECT_EQ(strip->highlightRect(i), Rect(lefts[i] - 1, 131, lefts[i] + 67, 151)) << i;
    }
}

TEST_F(LinkStripInEditor, EachBoxShowsItsAmount) {
    const float amounts[4] = {0.999f, 1.0f, 0.004f, 0.37f};
    for (int i = 0; i < 4; ++i)
        effect->setParameter(64 + i, amounts[i]);
    paint();
    EXPECT_EQ(boxDiffers(0, "99 %"), 0);
    EXPECT_EQ(boxDiffers(1, "100 %"), 0);
    EXPECT_EQ(boxDiffers(2, "0 %"), 0);
    EXPECT_EQ(boxDiffers(3, "37 %"), 0);
    EXPECT_GT(boxDiffers(3, "38 %"), 0);
}

TEST_F(LinkStripInEditor, RedrawsOnItsRefreshFlagOnly) {
    effect->setParameter(65, 0.5f);
    idle();
    ASSERT_EQ(boxDiffers(1, "50 %"), 0);
    effect->setParameter(65, 0.25f); // as host automation does it
    EXPECT_TRUE(editor->isRefreshPending(3));
    EXPECT_EQ(boxDiffers(1, "50 %"), 0);
    idle();
    EXPECT_EQ(boxDiffers(1, "25 %"), 0);
    strip->setDirty(true);
    effect->setParameter(65, 0.75f);
    editor->getFrame()->idle(); // the refresh of dirty views leaves it alone
    EXPECT_EQ(boxDiffers(1, "25 %"), 0);
    idle();
    EXPECT_EQ(boxDiffers(1, "75 %"), 0);
    effect->setParameter(1, 0.4f);
    EXPECT_FALSE(editor->isRefreshPending(3));
}

TEST_F(LinkStripInEditor, DraggingHundredPixelsRightFromHalfGivesPointSeven) {
    effect->setParameter(66, 0.5f);
    dragX(boxCentre(2), {25, 50, 75, 100, 100, 100});
    EXPECT_NEAR(link(2), 0.7f, 1e-6f);
    EXPECT_EQ(boxDiffers(2, "70 %"), 0);
    // Vertical movement means nothing.
    const Point at = boxCentre(2);
    gesture(InputSource::kPhysicalLeft, at, {Point(at.x, at.y + 50), Point(at.x, at.y - 80)});
    EXPECT_NEAR(link(2), 0.7f, 1e-6f);
}

TEST_F(LinkStripInEditor, ClampsAtBothEnds) {
    effect->setParameter(64, 0.5f);
    dragX(boxCentre(0), {200, 400, 500}); // to 1 and beyond: stays 1
    EXPECT_EQ(link(0), 1.0f);
    effect->setParameter(67, 0.5f);
    dragX(boxCentre(3), {-300, -500});
    EXPECT_EQ(link(3), 0.0f);
    dragX(boxCentre(3), {-10});
    EXPECT_EQ(link(3), 0.0f);
}

TEST_F(LinkStripInEditor, PointerComesBackToThePressAfterALongDrag) {
    const Point press = boxCentre(1);
    int hiddenDuring = 0;
    input.onPoll = [&](int poll) {
        if (poll == 6) hiddenDuring = input.displayCount;
    };
    dragX(press, {300, 900, 1500, 2000, -400});
    EXPECT_LT(hiddenDuring, 0);
    EXPECT_EQ(input.displayCount, 0);
    ASSERT_EQ(input.moves.size(), 1u);
    EXPECT_EQ(input.moves[0], screenOf(press.x, press.y));
}

TEST_F(LinkStripInEditor, PressesOnTheStripsTopAndBottomRowsPickTheBox) {
    for (const int row : {131, 152}) {
        effect->setParameter(64, 0.5f);
        dragX(Point(560, row), {100});
        EXPECT_NEAR(link(0), 0.7f, 1e-6f) << row;
        EXPECT_EQ(input.hides, 1) << row;
        input.hides = 0;
    }
    effect->setParameter(65, 0.9f);
    gesture(InputSource::kPhysicalRight, Point(450, 152), {Point(450, 152)});
    EXPECT_EQ(link(1), 0.5f);
}

TEST_F(LinkStripInEditor, PressBetweenTwoBoxesSelectsNothing) {
    const float before[4] = {link(0), link(1), link(2), link(3)};
    for (const Point p : {Point(500, 140), Point(560, 130), Point(560, 153)}) {
        dragX(p, {100});
        EXPECT_EQ(strip->getSelectedBox(), 0);
    }
    EXPECT_EQ(input.hides, 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(link(i), before[i]) << i;
}

TEST_F(LinkStripInEditor, RightClickOnBoxThreeResetsRedLinkThreeFour) {
    effect->setParameter(66, 0.9f);
    gesture(InputSource::kPhysicalRight, Point(313, 140), {Point(313, 140)});
    EXPECT_EQ(link(2), 0.5f);
    EXPECT_EQ(input.hides, 0);
    effect->setParameter(66, 0.9f);
    gesture(InputSource::kPhysicalRight, Point(390, 140), {Point(390, 140)});
    EXPECT_EQ(link(2), 0.9f);
}

TEST_F(LinkStripInEditor, HighlightWhileDraggingOnly) {
    effect->setParameter(67, 0.5f);
    const COLORREF highlight = RGB(102, 255, 255);
    COLORREF during = 0;
    input.onPoll = [&](int poll) {
        if (poll == 5) during = screenPixel(202, 140);
    };
    dragX(boxCentre(3), {10, 20, 30, 40});
    EXPECT_EQ(during, highlight);
    EXPECT_NE(screenPixel(202, 140), highlight);
    EXPECT_NE(screenPixel(230, 131), highlight);
}

TEST_F(LinkStripInEditor, GesturesLeaveNoGdiObjectBehind) {
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int round = 0; round < 20; ++round) {
        dragX(boxCentre(round % 4), {10, -20, 5});
        gesture(InputSource::kPhysicalRight, boxCentre(2), {boxCentre(2)});
        idle();
    }
    paint();
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
}

} // namespace

} // namespace qv
