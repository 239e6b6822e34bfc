// A 5 x 7 pixel bitmap font of the printable ASCII characters, drawn by hand for the tools'
// pictures (no font files, no system fonts, the same pixels everywhere).
#pragma once

#include <cstdint>

namespace qv {

class BitmapFont {
public:
    static constexpr int kGlyphWidth = 5;
    static constexpr int kGlyphHeight = 7;
    static constexpr int kAdvance = kGlyphWidth + 1; // one blank column between characters
    static constexpr int kLineHeight = kGlyphHeight + 3;

    // Row y (0 = top) of the glyph of `c` as five bits, the leftmost pixel in bit 4; characters
    // outside the printable ASCII range show as '?'.
    static std::uint8_t row(char c, int y);
};

} // namespace qv
