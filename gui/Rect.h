// A rectangle in editor pixels. Width is right - left; containment treats the right and bottom
// edges as inside, so a view answers presses on the last row and column of its outline.
#pragma once

#include "gui/Point.h"

#include <cstdint>

namespace qv {

struct Rect {
    std::int32_t left = 0;   // first column
    std::int32_t top = 0;    // first row
    std::int32_t right = 0;  // left + width
    std::int32_t bottom = 0; // top + height

    constexpr Rect() = default;
    constexpr Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom) {}

    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
    constexpr bool contains(const Point& p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    constexpr bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

} // namespace qv
