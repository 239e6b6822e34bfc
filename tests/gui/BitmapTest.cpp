// Bitmaps from the module's own resources: sizes, failure, reference counting, opaque copies from
// a source point, and transparent drawing that gives the same picture through TransparentBlt and
// through the mask method.
#include "gui/Bitmap.h"
#include "gui/GdiCounter.h"
#include "gui/ImageLibrary.h"
#include "gui/ResourceModule.h"
#include "tests/gui/SurfaceHelpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {

namespace {

// Pixel (x, y) of the bitmap itself, read without the toolkit.
COLORREF bitmapPixel(Bitmap* bitmap, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ before = SelectObject(memory, bitmap->getHandle());
    const COLORREF c = GetPixel(memory, x, y) & 0xFFFFFF;
    SelectObject(memory, before);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

struct SizeCase {
    int id;
    int width;
    int height;
};

class BitmapSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BitmapSize, LoadsFromTheModulesResources) {
    const SizeCase c = GetParam();
    Bitmap* bitmap = new Bitmap(c.id);
    EXPECT_NE(bitmap->getHandle(), nullptr);
    EXPECT_EQ(bitmap->getWidth(), c.width);
    EXPECT_EQ(bitmap->getHeight(), c.height);
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    EXPECT_EQ(bitmap->getTransparentColor(), Color(0, 0, 0, 255));
    bitmap->release();
}

INSTANTIATE_TEST_SUITE_P(Resources, BitmapSize,
                         ::testing::Values(SizeCase{10001, 785, 570}, SizeCase{10005, 211, 175},
                                           SizeCase{10017, 24, 24}, SizeCase{10057, 42, 15}));

TEST(Bitmap, MissingResourceGivesAnEmptyBitmapThatDrawsNothing) {
    const int objects = GdiCounter::liveObjects();
    Bitmap* missing = new Bitmap(9999);
    EXPECT_EQ(missing->getHandle(), nullptr);
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    {
        TestSurface surface(10016, Color(1, 2, 3));
        missing->draw(&surface.get(), Rect(0, 0, 50, 50));
        missing->drawTransparent(&surface.get(), Rect(0, 0, 50, 50));
        EXPECT_EQ(surface.pixel(10, 10), RGB(1, 2, 3));
    }
    missing->release();
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
}

TEST(Bitmap, ComesFromTheSetModuleNotTheProgram) {
    // A module without our resources: the same id cannot be found there.
    ResourceModule::set(GetModuleHandleA("kernel32.dll"));
    Bitmap* elsewhere = new Bitmap(10001);
    ResourceModule::set(nullptr);
    EXPECT_EQ(elsewhere->getWidth(), 0);
    elsewhere->release();
    Bitmap* own = new Bitmap(10001);
    EXPECT_EQ(own->getWidth(), 785);
    own->release();
}

TEST(Bitmap, LastReleaseFreesTheGdiBitmap) {
    const int objects = GdiCounter::liveObjects();
    Bitmap* bitmap = new Bitmap(10003);
    EXPECT_EQ(GdiCounter::liveObjects(), objects + 1);
    bitmap->retain();
    bitmap->retain();
    EXPECT_EQ(bitmap->getReferenceCount(), 3);
    bitmap->release();
    bitmap->release();
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    EXPECT_EQ(GdiCounter::liveObjects(), objects + 1);
    bitmap->release();
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
}

TEST(Bitmap, OpaqueDrawCopiesFromTheSourcePoint) {
    Bitmap* pages = new Bitmap(10005);
    TestSurface surface;
    const Rect target(5, 7, 5 + 211, 7 + 25);
    pages->draw(&surface.get(), target, Point(0, 3 * 25)); // the fourth picture
    for (int y = 0; y < 25; y += 3)
        for (int x = 0; x < 211; x += 5)
            ASSERT_EQ(surface.pixel(5 + x, 7 + y), bitmapPixel(pages, x, 75 + y)) << x << "," << y;
    // Nothing outside the target rectangle.
    EXPECT_EQ(surface.pixel(4, 7), 0u);
    EXPECT_EQ(surface.pixel(5, 7 + 25), 0u);
    EXPECT_EQ(surface.pixel(5 + 211, 7), 0u);
    pages->release();
}

// Paints a pattern under the picture so that "left unchanged" can be told from "black".
void paintPattern(TestSurface& s) {
    for (int i = 0; i < 8; ++i) {
        s->setFillColor(
            Color(static_cast<uint8_t>(30 * i), 200, static_cast<uint8_t>(255 - 30 * i)));
        s->fillRect(Rect(i * 4 - 1, -1, i * 4 + 3, 40));
    }
}

// The transparent draw of bitmap at (2, 3) on the pattern, with or without TransparentBlt.
std::vector<COLORREF> drawnTransparent(Bitmap* bitmap, bool useTransparentBlt,
                                       std::vector<COLORREF>* under = nullptr) {
    const ImageLibrary::TransparentBltProc saved = ImageLibrary::transparentBlt();
    HMODULE library = ImageLibrary::acquire();
    if (!useTransparentBlt) ImageLibrary::setTransparentBlt(nullptr);
    TestSurface s;
    paintPattern(s);
    const int w = bitmap->getWidth();
    const int h = bitmap->getHeight();
    if (under) {
        under->clear();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                under->push_back(s.pixel(2 + x, 3 + y));
    }
    bitmap->drawTransparent(&s.get(), Rect(2, 3, 2 + w, 3 + h), Point(0, 0));
    std::vector<COLORREF> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.push_back(s.pixel(2 + x, 3 + y));
    ImageLibrary::release(library);
    ImageLibrary::setTransparentBlt(saved);
    return out;
}

TEST(Bitmap, TransparentDrawIsTheSameThroughTransparentBltAndThroughTheMask) {
    HMODULE library = ImageLibrary::acquire();
    ASSERT_NE(ImageLibrary::transparentBlt(), nullptr) << "msimg32.dll should be there";
    ImageLibrary::release(library);

    Bitmap* marker = new Bitmap(10017); // black is its transparent colour
    const Color keys[] = {kDefaultTransparentColor, Color(0, 0, 0, 0), Color(255, 255, 255)};
    for (const Color key : keys) {
        marker->setTransparentColor(key);
        std::vector<COLORREF> under;
        const std::vector<COLORREF> blt = drawnTransparent(marker, true, &under);
        const std::vector<COLORREF> mask = drawnTransparent(marker, false);
        ASSERT_EQ(blt, mask);
        // And it is the right picture: key pixels show what was under them.
        int kept = 0;
        int covered = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                const COLORREF source = bitmapPixel(marker, x, y);
                const COLORREF expected = source == key.toGdi() ? under[y * 24 + x] : source;
                ASSERT_EQ(blt[y * 24 + x], expected) << x << "," << y;
                (source == key.toGdi() ? kept : covered)++;
            }
        if (key.toGdi() == 0) {
            EXPECT_GT(kept, 0);
            EXPECT_GT(covered, 0);
        }
    }
    marker->release();
}

TEST(Bitmap, DrawingLeavesNoGdiObjectOrContextBehind) {
    Bitmap* marker = new Bitmap(10017);
    TestSurface s;
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (bool viaBlt : {true, false}) {
        drawnTransparent(marker, viaBlt);
        marker->draw(&s.get(), Rect(0, 0, 24, 24));
    }
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
    marker->release();
}

} // namespace

} // namespace qv
