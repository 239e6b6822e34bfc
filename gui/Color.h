// A drawing colour: red, green, blue and a fourth byte that GDI calls ignore (a bitmap's default
// transparent colour sets it, which still means black to GDI).
#pragma once

#include <cstdint>

namespace qv {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t unused = 0; // carried along, never drawn

    constexpr Color() = default;
    constexpr Color(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                    std::uint8_t unused = 0)
        : red(red), green(green), blue(blue), unused(unused) {}

    // The GDI colour value (COLORREF layout): red in the low byte.
    constexpr std::uint32_t toGdi() const {
        return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue) << 16;
    }
    constexpr bool operator==(const Color& o) const {
        return red == o.red && green == o.green && blue == o.blue && unused == o.unused;
    }
    constexpr bool operator!=(const Color& o) const { return !(*this == o); }
};

inline constexpr Color kWhite{255, 255, 255, 0};
inline constexpr Color kBlack{0, 0, 0, 0};
// A bitmap's transparent colour until it is told otherwise (black to GDI).
inline constexpr Color kDefaultTransparentColor{0, 0, 0, 255};

} // namespace qv
