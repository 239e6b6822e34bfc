// The toolkit's eight fonts, chosen by FontId 0..7, and the GDI description of each.
#pragma once

#include <windows.h>

namespace qv {

using FontId = int;

// Style bits of DrawContext::setFont.
enum FontStyle : int { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4 };

struct FontSpec {
    int height;          // default height in pixels (character height, without leading)
    const char* face;    // GDI face name
    bool alwaysBold;     // drawn at weight 700 whatever style asks for
    BYTE pitchAndFamily; // LOGFONT lfPitchAndFamily
};

class FontTable {
public:
    static constexpr int kCount = 8;
    static constexpr BYTE kSwissVariable = 34; // FF_SWISS | VARIABLE_PITCH
    static constexpr BYTE kDecorative = 80;    // FF_DECORATIVE | DEFAULT_PITCH

    // The entry for id; ids outside 0..7 mean font 0. Any thread.
    static const FontSpec& entry(FontId id);
    // The LOGFONTA for font id at height pixels (0: the table's height) with style bits.
    static LOGFONTA describe(FontId id, int height, int style);
};

} // namespace qv
