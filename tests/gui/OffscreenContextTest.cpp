// Offscreen contexts: black 20 x 20 without a bitmap, a private copy of a bitmap, or the
// bitmap's own picture; copying out; nothing left behind.
#include "gui/GdiCounter.h"
#include "tests/gui/SurfaceHelpers.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

COLORREF pixelOf(DrawContext& c, int x, int y) {
    return GetPixel(c.getDC(), x, y) & 0xFFFFFF;
}

TEST(OffscreenContext, WithoutABitmapIsTwentyByTwentyBlack) {
    OffscreenContext context(nullptr, nullptr);
    EXPECT_EQ(context.getWidth(), 20);
    EXPECT_EQ(context.getHeight(), 20);
    EXPECT_EQ(context.getClipRect(), Rect(0, 0, 20, 20));
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(context.getSurface(), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 20);
    EXPECT_EQ(info.bmHeight, 20);
    EXPECT_GE(info.bmBitsPixel, 24); // a colour surface, not a monochrome one
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(pixelOf(context, x, y), 0u) << x << "," << y;
    context.setFillColor(Color(0, 255, 0));
    context.fillRect(Rect(2, 2, 5, 5));
    EXPECT_EQ(pixelOf(context, 3, 3), RGB(0, 255, 0));
}

TEST(OffscreenContext, ACopyStartsAsTheBitmapAndLeavesItAlone) {
    Bitmap* picture = new Bitmap(10008);
    {
        OffscreenContext copy(nullptr, picture);
        EXPECT_EQ(copy.getWidth(), 67);
        EXPECT_EQ(copy.getHeight(), 19);
        OffscreenContext reference(nullptr, picture);
        const COLORREF original = pixelOf(reference, 30, 9);
        EXPECT_EQ(pixelOf(copy, 30, 9), original);
        copy.setFillColor(Color(1, 2, 3));
        copy.fillRect(Rect(-1, -1, 67, 19));
        EXPECT_EQ(pixelOf(copy, 30, 9), RGB(1, 2, 3));
        OffscreenContext again(nullptr, picture);
        EXPECT_EQ(pixelOf(again, 30, 9), original);
    }
    picture->release();
}

TEST(OffscreenContext, DrawingIntoTheBitmapChangesIt) {
    Bitmap* picture = new Bitmap(10008);
    {
        OffscreenContext into(nullptr, picture, true);
        into.setFillColor(Color(9, 8, 7));
        into.fillRect(Rect(9, 4, 12, 6));
    }
    OffscreenContext copy(nullptr, picture);
    EXPECT_EQ(pixelOf(copy, 10, 5), RGB(9, 8, 7));
    EXPECT_EQ(pixelOf(copy, 12, 6), RGB(9, 8, 7));
    EXPECT_NE(pixelOf(copy, 13, 7), RGB(9, 8, 7));
    picture->release();
}

TEST(OffscreenContext, CopyToTakesTheSourcePoint) {
    OffscreenContext part(nullptr, nullptr);
    part.setFillColor(Color(200, 0, 0));
    part.fillRect(Rect(9, 9, 19, 19)); // lower right quarter red
    TestSurface target(10016, Color(0, 0, 255));
    part.copyTo(&target.get(), Rect(100, 50, 110, 60), Point(10, 10));
    EXPECT_EQ(target.pixel(100, 50), RGB(200, 0, 0));
    EXPECT_EQ(target.pixel(109, 59), RGB(200, 0, 0));
    EXPECT_EQ(target.pixel(110, 60), RGB(0, 0, 255));
    EXPECT_EQ(target.pixel(99, 49), RGB(0, 0, 255));
    part.copyTo(&target.get(), Rect(0, 0, 10, 10), Point(0, 0));
    EXPECT_EQ(target.pixel(5, 5), 0u);
}

TEST(OffscreenContext, LeavesNoGdiObjectOrContextBehind) {
    Bitmap* picture = new Bitmap(10008);
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int round = 0; round < 3; ++round) {
        OffscreenContext plain(nullptr, nullptr);
        OffscreenContext copy(&plain, picture);
        OffscreenContext into(&copy, picture, true);
        into.setFont(2);
        into.setFrameColor(kWhite);
        into.drawRect(Rect(1, 1, 5, 5));
        copy.setFillColor(kWhite);
    }
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
    picture->release();
}

} // namespace

} // namespace qv
