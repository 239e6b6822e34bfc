// A point in editor pixels (the frame window's client coordinates, origin top-left).
#pragma once

#include <cstdint>

namespace qv {

struct Point {
    std::int32_t x = 0; // pixels to the right of the origin
    std::int32_t y = 0; // pixels below the origin

    constexpr Point() = default;
    constexpr Point(std::int32_t x, std::int32_t y) : x(x), y(y) {}

    constexpr bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Point& o) const { return !(*this == o); }
};

} // namespace qv
