#include "gui/FontTable.h"

#include <cstring>

namespace qv {

namespace {

constexpr FontSpec kFonts[FontTable::kCount] = {
    {12, "Arial", true, FontTable::kSwissVariable},
    {18, "Arial", false, FontTable::kSwissVariable},
    {14, "Arial", false, FontTable::kSwissVariable},
    {12, "Arial", false, FontTable::kSwissVariable},
    {11, "Arial", false, FontTable::kSwissVariable},
    {10, "Arial", false, FontTable::kSwissVariable},
    {9, "Arial", false, FontTable::kSwissVariable},
    {13, "Symbol", false, FontTable::kDecorative},
};

constexpr LONG kWeightNormal = 400;
constexpr LONG kWeightBold = 700;

} // namespace

const FontSpec& FontTable::entry(FontId id) {
    if (id < 0 || id >= kCount) id = 0;
    return kFonts[id];
}

LOGFONTA FontTable::describe(FontId id, int height, int style) {
    const FontSpec& font = entry(id);
    if (height == 0) height = font.height;
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -height; // negative: character height, not cell height
    lf.lfWeight = (style & kFontBold) || font.alwaysBold ? kWeightBold : kWeightNormal;
    lf.lfItalic = (style & kFontItalic) ? 1 : 0;
    lf.lfUnderline = (style & kFontUnderline) ? 1 : 0;
    std::strncpy(lf.lfFaceName, font.face, LF_FACESIZE - 1);
    lf.lfPitchAndFamily = font.pitchAndFamily;
    lf.lfClipPrecision = CLIP_STROKE_PRECIS; // 2
    lf.lfOutPrecision = OUT_STRING_PRECIS;   // 1
    lf.lfQuality = DEFAULT_QUALITY;          // 0
    lf.lfCharSet = ANSI_CHARSET;             // 0
    return lf;
}

} // namespace qv
