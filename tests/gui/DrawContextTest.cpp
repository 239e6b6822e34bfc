// Drawing read back from offscreen bitmaps: rectangle edges, text placement and background,
// freeing of what a context creates, buttons (also swapped) and pointer position.
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/FrameWindowClass.h"
#include "gui/GdiCounter.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/SurfaceHelpers.h"
#include "tests/gui/TestWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {

namespace {

constexpr COLORREF kGdiWhite = 0xFFFFFF;
constexpr COLORREF kGdiBlack = 0x000000;

struct RectCase {
    Rect rect;
};

class RectEdges : public ::testing::TestWithParam<Rect> {};

TEST_P(RectEdges, FillCoversTheInsideOfTheOutline) {
    const Rect r = GetParam();
    TestSurface surface;
    surface->setFillColor(kWhite);
    surface->fillRect(r);
    for (int y = r.top - 2; y <= r.bottom + 2; ++y)
        for (int x = r.left - 2; x <= r.right + 2; ++x) {
            const bool inside = x > r.left && x <= r.right && y > r.top && y <= r.bottom;
            ASSERT_EQ(surface.pixel(x, y), inside ? kGdiWhite : kGdiBlack) << x << "," << y;
        }
}

TEST_P(RectEdges, OutlineIncludesBothCorners) {
    const Rect r = GetParam();
    TestSurface surface;
    surface->setFrameColor(kWhite);
    surface->drawRect(r);
    for (int y = r.top - 2; y <= r.bottom + 2; ++y)
        for (int x = r.left - 2; x <= r.right + 2; ++x) {
            const bool inBox = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
            const bool onEdge =
                inBox && (x == r.left || x == r.right || y == r.top || y == r.bottom);
            ASSERT_EQ(surface.pixel(x, y), onEdge ? kGdiWhite : kGdiBlack) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Rectangles, RectEdges,
                         ::testing::Values(Rect(10, 10, 20, 20), Rect(3, 5, 4, 6),
                                           Rect(30, 40, 70, 45)));

TEST(DrawContext, FillAndOutlineTogetherPaintTheWholeBoxOnce) {
    TestSurface surface;
    const Rect r(10, 10, 20, 20);
    surface->setFillColor(Color(0, 0, 255));
    surface->fillRect(r);
    surface->setFrameColor(Color(255, 0, 0));
    surface->drawRect(r);
    int blue = 0;
    int red = 0;
    for (int y = 9; y <= 21; ++y)
        for (int x = 9; x <= 21; ++x) {
            if (surface.pixel(x, y) == RGB(0, 0, 255)) ++blue;
            if (surface.pixel(x, y) == RGB(255, 0, 0)) ++red;
        }
    EXPECT_EQ(blue, 9 * 9); // (11..19) inside the outline
    EXPECT_EQ(red, 4 * 10); // the 11 x 11 outline
}

TEST(DrawContext, DottedLinesLeaveGaps) {
    TestSurface surface;
    surface->setFrameColor(kWhite);
    surface->setLineStyle(DrawContext::kLineDotted);
    surface->moveTo(Point(0, 5));
    surface->lineTo(Point(40, 5));
    int lit = 0;
    for (int x = 0; x < 40; ++x)
        lit += surface.pixel(x, 5) == kGdiWhite;
    EXPECT_GT(lit, 5);
    EXPECT_LT(lit, 35);
}

// Leftmost column with a lit pixel in rows 0..height, or -1.
int leftmostLit(TestSurface& s, int width, int height) {
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (s.pixel(x, y) != kGdiBlack) return x;
    return -1;
}

int rightmostLit(TestSurface& s, int width, int height) {
    for (int x = width - 1; x >= 0; --x)
        for (int y = 0; y < height; ++y)
            if (s.pixel(x, y) != kGdiBlack) return x;
    return -1;
}

// Where plain DrawTextA puts the same text.
void drawRaw(TestSurface& s, const char* text, RECT r, UINT flags) {
    DrawTextA(s->getDC(), text, -1, &r, flags | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

TEST(DrawContext, LeftAlignedTextStartsOnePixelInOthersUseTheRectAsGiven) {
    const Rect box(10, 0, 90, 20);
    TestSurface ours;
    TestSurface raw;
    for (TestSurface* s : {&ours, &raw}) {
        s->get().setFont(3);
        s->get().setFontColor(kWhite);
    }
    ours->drawString("Hl", box, false, DrawContext::kAlignLeft);
    drawRaw(raw, "Hl", RECT{box.left + 1, box.top, box.right, box.bottom}, DT_LEFT);
    EXPECT_NE(leftmostLit(ours, 100, 20), -1);
    EXPECT_EQ(leftmostLit(ours, 100, 20), leftmostLit(raw, 100, 20));

    ours.fill(kBlack);
    raw.fill(kBlack);
    ours->drawString("Hl", box, false, DrawContext::kAlignRight);
    drawRaw(raw, "Hl", RECT{box.left, box.top, box.right, box.bottom}, DT_RIGHT);
    EXPECT_EQ(rightmostLit(ours, 100, 20), rightmostLit(raw, 100, 20));

    ours.fill(kBlack);
    raw.fill(kBlack);
    ours->drawString("Hl", box, false, DrawContext::kAlignCenter);
    drawRaw(raw, "Hl", RECT{box.left, box.top, box.right, box.bottom}, DT_CENTER);
    EXPECT_EQ(leftmostLit(ours, 100, 20), leftmostLit(raw, 100, 20));
    EXPECT_EQ(rightmostLit(ours, 100, 20), rightmostLit(raw, 100, 20));
}

TEST(DrawContext, OpaqueTextIsBackedByTheFillColour) {
    const COLORREF kRed = RGB(255, 0, 0);
    for (bool opaque : {false, true}) {
        TestSurface s;
        s->setFont(1);
        s->setFontColor(kWhite);
        s->setFillColor(Color(255, 0, 0));
        s->drawString("x", Rect(0, 0, 60, 30), opaque, DrawContext::kAlignCenter);
        int red = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                red += s.pixel(x, y) == kRed;
        if (opaque)
            EXPECT_GT(red, 20);
        else
            EXPECT_EQ(red, 0);
        // The mode goes back to transparent after the string.
        EXPECT_EQ(GetBkMode(s->getDC()), TRANSPARENT);
    }
}

TEST(DrawContext, NullTextDrawsNothing) {
    TestSurface s;
    s->setFontColor(kWhite);
    EXPECT_EQ(s->drawString(nullptr, Rect(0, 0, 50, 20)), 0);
    EXPECT_EQ(leftmostLit(s, 50, 20), -1);
}

TEST(DrawContext, FreesEveryObjectItCreatesAndRestoresTheDeviceContext) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ pen = GetCurrentObject(memory, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(memory, OBJ_BRUSH);
    const HGDIOBJ font = GetCurrentObject(memory, OBJ_FONT);
    const int objects = GdiCounter::liveObjects();
    {
        DrawContext context(nullptr, memory, nullptr);
        EXPECT_EQ(GdiCounter::liveObjects(), objects + 2); // first pen and brush
        for (int i = 0; i < 5; ++i) {
            context.setFrameColor(Color(i, 0, 0));
            context.setFillColor(Color(0, i, 0));
            context.setLineStyle(i % 2);
            context.setFont(i);
        }
        EXPECT_EQ(GdiCounter::liveObjects(), objects + 3); // one pen, one brush, one font
        EXPECT_NE(GetCurrentObject(memory, OBJ_FONT), font);
    }
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_FONT), font);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(DrawContext, StartsWithWhiteLinesBlackFillAndTransparentText) {
    TestSurface s;
    DrawContext context(nullptr, s->getDC(), nullptr);
    EXPECT_EQ(context.getFrameColor(), kWhite);
    EXPECT_EQ(context.getFillColor(), kBlack);
    EXPECT_EQ(context.getFontColor(), kWhite);
    EXPECT_EQ(context.getLineWidth(), 1);
    EXPECT_EQ(GetBkMode(s->getDC()), TRANSPARENT);
    EXPECT_EQ(GetTextColor(s->getDC()) & 0xFFFFFF, kGdiWhite);
    EXPECT_EQ(context.getClipRect(), Rect(0, 0, 1000, 1000));
    Frame frame(Rect(0, 0, 300, 200), nullptr, nullptr);
    DrawContext framed(&frame, nullptr, nullptr);
    EXPECT_EQ(framed.getClipRect(), Rect(0, 0, 300, 200));
}

struct ButtonCase {
    int physical;
    bool swapped;
    int reported;
};

class ButtonState : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonState, ReportsLogicalButtonsAndModifiers) {
    const ButtonCase c = GetParam();
    ScriptedInput input;
    input.then(c.physical, 0, 0);
    const bool before = FrameWindowClass::buttonsSwapped();
    FrameWindowClass::setButtonsSwapped(c.swapped);
    DrawContext context(nullptr, nullptr, nullptr);
    EXPECT_EQ(context.getButtonState(), c.reported);
    FrameWindowClass::setButtonsSwapped(before);
}

INSTANTIATE_TEST_SUITE_P(Table, ButtonState,
                         ::testing::Values(ButtonCase{0, false, 0}, ButtonCase{1, false, 1},
                                           ButtonCase{2, false, 2}, ButtonCase{4, false, 4},
                                           ButtonCase{1 | 8, false, 9},
                                           ButtonCase{1 | 16, false, 17},
                                           ButtonCase{4 | 32, false, 36}, ButtonCase{4, true, 1},
                                           ButtonCase{1, true, 4}, ButtonCase{5, true, 5},
                                           ButtonCase{4 | 16, true, 17}, ButtonCase{2, true, 2}));

TEST(DrawContext, PointerIsRelativeToTheWindow) {
    TestWindow window;
    RECT r;
    ASSERT_TRUE(GetWindowRect(window.handle, &r));
    ScriptedInput input;
    input.setCursorPosition(Point(r.left + 100, r.top + 50));
    DrawContext context(nullptr, nullptr, window.handle);
    EXPECT_EQ(context.getPointerPosition(), Point(100, 50));
    DrawContext windowless(nullptr, nullptr, nullptr);
    EXPECT_EQ(windowless.getPointerPosition(), Point(r.left + 100, r.top + 50));
}

} // namespace

} // namespace qv
