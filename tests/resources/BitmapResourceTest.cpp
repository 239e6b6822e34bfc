// The 57 bitmap resources as the editor gets them: each DLL carries ids 10001..10057 and nothing
// else, every one an uncompressed bottom-up 8-bit DIB with a full palette, of the size the views
// compute their rectangles from, and LoadBitmapA hands out a bitmap of that size.
#include "editor/EditorLayout.h"
#include "tests/wine/DllPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

namespace qv {

namespace {

struct ExpectedBitmap {
    int id;
    int width; // 0: size is free (spare pictures), only checked against EditorLayout.h
    int height;
    int frames;
};

// The binding table of bitmap sizes, written out independently of the generator's data.
constexpr ExpectedBitmap kExpected[] = {
    {10001, 785, 570, 1}, {10002, 0, 0, 0},     {10003, 31, 62, 2},     {10004, 25, 50, 2},
    {10005, 211, 175, 7}, {10006, 31, 62, 2},   {10007, 465, 21, 1},    {10008, 67, 19, 1},
    {10009, 35, 305, 1},  {10010, 25, 25, 1},   {10011, 77, 27, 1},     {10012, 25, 50, 2},
    {10013, 74, 148, 2},  {10014, 14, 250, 1},  {10015, 0, 0, 0},       {10016, 550, 347, 1},
    {10017, 24, 24, 1},   {10018, 24, 223, 1},  {10019, 74, 148, 2},    {10020, 155, 155, 5},
    {10021, 74, 148, 2},  {10022, 550, 347, 1}, {10023, 178, 148, 2},   {10024, 143, 120, 3},
    {10025, 550, 347, 1}, {10026, 550, 347, 1}, {10027, 68, 14, 1},     {10028, 153, 125, 5},
    {10029, 550, 347, 1}, {10030, 401, 35, 1},  {10031, 0, 0, 0},       {10032, 0, 0, 0},
    {10033, 0, 0, 0},     {10034, 0, 0, 0},     {10035, 349, 1330, 10}, {10036, 305, 55, 5},
    {10037, 25, 30, 2},   {10038, 61, 173, 1},  {10039, 550, 347, 1},   {10040, 550, 347, 1},
    {10041, 61, 16, 1},   {10042, 61, 16, 1},   {10043, 61, 15, 1},     {10044, 461, 75, 5},
    {10045, 56, 50, 2},   {10046, 61, 42, 2},   {10047, 61, 42, 2},     {10048, 61, 42, 2},
    {10049, 550, 347, 1}, {10050, 64, 50, 2},   {10051, 436, 200, 1},   {10052, 45, 280, 1},
    {10053, 0, 0, 0},     {10054, 104, 566, 1}, {10055, 68, 14, 1},     {10056, 45, 12, 1},
    {10057, 42, 15, 1},
};
constexpr int kFirstId = 10001;
constexpr int kLastId = 10057;

// The raw resource of one bitmap: header, palette and pixel rows as compiled into the DLL.
struct Dib {
    const BITMAPINFOHEADER* header = nullptr;
    DWORD size = 0;

    const RGBQUAD* palette() const {
        return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) +
                                                header->biSize);
    }
    int paletteEntries() const { return header->biClrUsed ? int(header->biClrUsed) : 256; }
    // Colour of pixel (x, y), y counted from the top (rows are stored bottom-up).
    RGBQUAD pixel(int x, int y) const {
        const int stride = (header->biWidth + 3) & ~3;
        const BYTE* bits = reinterpret_cast<const BYTE*>(palette() + paletteEntries());
        return palette()[bits[(header->biHeight - 1 - y) * stride + x]];
    }
};

Dib findDib(HMODULE module, int id) {
    Dib dib;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (!info) return dib;
    HGLOBAL data = LoadResource(module, info);
    if (!data) return dib;
    dib.header = static_cast<const BITMAPINFOHEADER*>(LockResource(data));
    dib.size = SizeofResource(module, info);
    return dib;
}

bool isBlack(RGBQUAD c) {
    return c.rgbRed == 0 && c.rgbGreen == 0 && c.rgbBlue == 0;
}

class BitmapResourceTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        module = LoadLibraryA(pluginPath(GetParam()).c_str());
        ASSERT_NE(module, nullptr) << pluginPath(GetParam()) << " error " << GetLastError();
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

BOOL CALLBACK collectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<int>*>(ids)->insert(int(reinterpret_cast<ULONG_PTR>(name)));
    else
        reinterpret_cast<std::set<int>*>(ids)->insert(-1); // a named bitmap: never expected
    return TRUE;
}

TEST_P(BitmapResourceTest, CarriesExactlyTheBitmapIds) {
    std::set<int> ids;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(2), collectId, reinterpret_cast<LONG_PTR>(&ids));
    std::set<int> expected;
    for (int id = kFirstId; id <= kLastId; ++id)
        expected.insert(id);
    EXPECT_EQ(ids, expected);
}

TEST_P(BitmapResourceTest, EveryBitmapIsAnUncompressedEightBitDibOfItsSize) {
    for (const ExpectedBitmap& e : kExpected) {
        SCOPED_TRACE("bitmap " + std::to_string(e.id));
        const Dib dib = findDib(module, e.id);
        ASSERT_NE(dib.header, nullptr);
        ASSERT_GE(dib.size, sizeof(BITMAPINFOHEADER));
        const BITMAPINFOHEADER& h = *dib.header;
        EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(h.biBitCount, 8);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biCompression, DWORD(BI_RGB));
        EXPECT_GT(h.biHeight, 0) << "rows must be stored bottom-up";
        EXPECT_LE(h.biClrUsed, 256u);
        if (e.width) {
            EXPECT_EQ(h.biWidth, e.width);
            EXPECT_EQ(h.biHeight, e.height);
        } else {
            EXPECT_GT(h.biWidth, 0);
            EXPECT_GT(h.biHeight, 0);
        }
        if (e.frames) {
            EXPECT_EQ(h.biHeight % e.frames, 0) << "frames must divide the height";
        }
        // Header, palette and every padded row are really there.
        const DWORD rowBytes = DWORD((h.biWidth + 3) & ~3);
        const DWORD needed =
            h.biSize + DWORD(dib.paletteEntries()) * sizeof(RGBQUAD) + rowBytes * DWORD(h.biHeight);
        EXPECT_GE(dib.size, needed);
    }
}

TEST_P(BitmapResourceTest, LoadBitmapGivesTheSameSizeAsTheLayout) {
    for (const layout::BitmapSpec& entry : layout::kAllBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(entry.id));
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(entry.id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.bmWidth, entry.width);
        EXPECT_EQ(info.bmHeight, entry.height);
        EXPECT_EQ(entry.height % entry.frames, 0);
        DeleteObject(bitmap);
    }
}

TEST_P(BitmapResourceTest, LayoutAgreesWithTheBindingTable) {
    ASSERT_EQ(std::size(layout::kAllBitmaps), std::size(kExpected));
    for (size_t i = 0; i < std::size(kExpected); ++i) {
        const ExpectedBitmap& e = kExpected[i];
        const layout::BitmapSpec& s = layout::kAllBitmaps[i];
        SCOPED_TRACE("bitmap " + std::to_string(e.id));
        EXPECT_EQ(s.id, e.id);
        if (e.width) {
            EXPECT_EQ(s.frames, e.frames);
            EXPECT_EQ(s.width, e.width);
            EXPECT_EQ(s.height, e.height);
        }
    }
}

// The code draws black text (and the over-level red) into these boxes: their faces must be light.
TEST_P(BitmapResourceTest, ValueBoxesAreLightBehindTheText) {
    for (int id : {10008, 10011, 10027, 10041, 10042, 10043, 10055, 10056, 10057}) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const Dib dib = findDib(module, id);
        ASSERT_NE(dib.header, nullptr);
        const int w = dib.header->biWidth, h = dib.header->biHeight;
        for (int y = h / 4; y < h - h / 4; ++y) {
            for (int x = w / 4; x < w - w / 4; ++x) {
                const RGBQUAD c = dib.pixel(x, y);
                const int luma = (299 * c.rgbRed + 587 * c.rgbGreen + 114 * c.rgbBlue) / 1000;
                ASSERT_GE(luma, 180) << "at " << x << "," << y;
            }
        }
    }
}

// Drawn with black as the transparent colour: black exactly where the view must show through.
TEST_P(BitmapResourceTest, TransparentBitmapsUseBlackOnlyAsTheKey) {
    const Dib marker = findDib(module, 10017);
    ASSERT_NE(marker.header, nullptr);
    EXPECT_TRUE(isBlack(marker.pixel(0, 0)));
    EXPECT_TRUE(isBlack(marker.pixel(0, 23)));
    EXPECT_FALSE(isBlack(marker.pixel(20, 8))) << "the marker body must be opaque";
    const Dib box = findDib(module, 10043);
    ASSERT_NE(box.header, nullptr);
    EXPECT_TRUE(isBlack(box.pixel(0, 0))) << "rounded corner shows the value row";
    for (int x = 3; x < 58; ++x)
        for (int y = 2; y < 13; ++y)
            ASSERT_FALSE(isBlack(box.pixel(x, y))) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(BothDlls, BitmapResourceTest, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv
