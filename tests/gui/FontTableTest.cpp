// The font table as GDI gets it, and what Wine's font mapper makes of the faces: "Arial" must
// come out as a real sans-serif outline font (Liberation Sans through the prefix's replacement)
// and "Symbol" as a symbol font, both drawing legible glyphs at the table's heights.
#include "gui/FontTable.h"
#include "gui/DrawContext.h"
#include "tests/gui/SurfaceHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qv {

namespace {

struct FontCase {
    FontId id;
    int height;
    int style;
    LONG lfHeight;
    LONG weight;
    BYTE italic;
    BYTE underline;
    const char* face;
    BYTE pitchAndFamily;
};

class FontDescription : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontDescription, MatchesTheTable) {
    const FontCase c = GetParam();
    const LOGFONTA lf = FontTable::describe(c.id, c.height, c.style);
    EXPECT_EQ(lf.lfHeight, c.lfHeight);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfItalic, c.italic);
    EXPECT_EQ(lf.lfUnderline, c.underline);
    EXPECT_STREQ(lf.lfFaceName, c.face);
    EXPECT_EQ(lf.lfPitchAndFamily, c.pitchAndFamily);
    EXPECT_EQ(lf.lfClipPrecision, 2);
    EXPECT_EQ(lf.lfOutPrecision, 1);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfCharSet, 0);
    EXPECT_EQ(lf.lfWidth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FontDescription,
    ::testing::Values(FontCase{0, 0, 0, -12, 700, 0, 0, "Arial", 34}, // always bold
                      FontCase{1, 0, 0, -18, 400, 0, 0, "Arial", 34},
                      FontCase{2, 0, 0, -14, 400, 0, 0, "Arial", 34},
                      FontCase{3, 0, 0, -12, 400, 0, 0, "Arial", 34},
                      FontCase{4, 0, 0, -11, 400, 0, 0, "Arial", 34},
                      FontCase{5, 0, 0, -10, 400, 0, 0, "Arial", 34},
                      FontCase{6, 0, 0, -9, 400, 0, 0, "Arial", 34},
                      FontCase{7, 0, 0, -13, 400, 0, 0, "Symbol", 80},
                      FontCase{7, 0, 1, -13, 700, 0, 0, "Symbol", 80},
                      FontCase{9, 0, 0, -12, 700, 0, 0, "Arial", 34},  // unknown id: font 0
                      FontCase{-1, 0, 0, -12, 700, 0, 0, "Arial", 34}, // likewise
                      FontCase{3, 20, 7, -20, 700, 1, 1, "Arial", 34},
                      FontCase{0, 16, 2, -16, 700, 1, 0, "Arial", 34},
                      FontCase{5, 0, 4, -10, 400, 0, 1, "Arial", 34}));

// The font selected into the context's device context, as GDI describes it.
LOGFONTA selectedFont(DrawContext& context) {
    LOGFONTA lf{};
    GetObjectA(GetCurrentObject(context.getDC(), OBJ_FONT), sizeof(lf), &lf);
    return lf;
}

// The face actually drawn with (Wine reports a replaced family under the requested name).
std::string realFace(HDC dc) {
    const UINT size = GetOutlineTextMetricsA(dc, 0, nullptr);
    if (!size) return "(not an outline font)";
    std::vector<char> buffer(size);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
    if (!GetOutlineTextMetricsA(dc, size, otm)) return "(no metrics)";
    return buffer.data() + reinterpret_cast<UINT_PTR>(otm->otmpFaceName);
}

// Rows and columns that text drawn in white on black lights.
struct Ink {
    int pixels = 0;
    int rows = 0;
};

Ink inkOf(TestSurface& s, int width, int height) {
    Ink ink;
    for (int y = 0; y < height; ++y) {
        bool any = false;
        for (int x = 0; x < width; ++x)
            if (s.pixel(x, y) != 0) {
                ++ink.pixels;
                any = true;
            }
        ink.rows += any;
    }
    return ink;
}

TEST(FontTable, SetFontSelectsTheTableEntry) {
    for (FontId id = -2; id <= 9; ++id) {
        TestSurface s;
        s->setFont(id, 0, 0);
        const FontId used = id < 0 || id > 7 ? 0 : id;
        const LOGFONTA lf = selectedFont(s.get());
        EXPECT_EQ(lf.lfHeight, -FontTable::entry(used).height) << id;
        EXPECT_STREQ(lf.lfFaceName, FontTable::entry(used).face) << id;
        EXPECT_EQ(s->getFontId(), used);
        EXPECT_EQ(s->getFontHeight(), FontTable::entry(used).height);
    }
}

TEST(FontTable, ArialIsASansOutlineFontOfTheRightHeight) {
    for (FontId id = 0; id <= 6; ++id) {
        TestSurface s;
        s->setFont(id);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(s->getDC(), &tm));
        EXPECT_EQ(realFace(s->getDC()), id == 0 ? "Liberation Sans Bold" : "Liberation Sans")
            << "font " << id;
        EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
        // Negative lfHeight asks for the character height: cell minus internal leading. Wine
        // rounds ascent and descent separately and may come out one pixel over.
        EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, FontTable::entry(id).height, 1) << id;
        EXPECT_EQ(tm.tmWeight, id == 0 ? 700 : 400);
    }
}

TEST(FontTable, SymbolIsASymbolFont) {
    TestSurface s;
    s->setFont(7, 0, 0);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(s->getDC(), &tm));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(s->getDC(), LF_FACESIZE, face);
    const std::string real = realFace(s->getDC());
    std::printf("[ info ] \"Symbol\" is drawn with face \"%s\" (\"%s\"), character set %d\n", face,
                real.c_str(), tm.tmCharSet);
    // Asked for with the ANSI character set, as Windows does it: the symbol face must still win.
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(real, "Symbol");
    EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 13, 1);
    s->setFont(7, 0, 1);
    ASSERT_TRUE(GetTextMetricsA(s->getDC(), &tm));
    EXPECT_EQ(tm.tmWeight, 700);
}

TEST(FontTable, EveryFontDrawsLegibleText) {
    for (FontId id = 0; id <= 7; ++id) {
        TestSurface s;
        s->setFont(id);
        s->setFontColor(kWhite);
        // Digits and a letter; in the symbol font the same codes are Greek letters and digits.
        s->drawString("0.5 dB", Rect(0, 0, 120, 30), false, DrawContext::kAlignLeft);
        const Ink ink = inkOf(s, 120, 30);
        const int height = FontTable::entry(id).height;
        EXPECT_GT(ink.pixels, 4 * height) << "font " << id;
        EXPECT_GE(ink.rows, height * 2 / 3) << "font " << id;
        EXPECT_LE(ink.rows, height + 4) << "font " << id;
    }
}

} // namespace

} // namespace qv
