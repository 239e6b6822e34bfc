#include "tools/picture/Canvas.h"

#include "tools/picture/BitmapFont.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

namespace {
constexpr int kDotSpacing = 3; // every third pixel of a dotted line
}

Canvas::Canvas(int width, int height, Rgb background)
    : w_(std::max(width, 1)), h_(std::max(height, 1)),
      pixels_(static_cast<std::size_t>(w_) * h_ * 3) {
    fill(0, 0, w_, h_, background);
}

Rgb Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return {0, 0, 0};
    const std::size_t i = (static_cast<std::size_t>(y) * w_ + x) * 3;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

void Canvas::set(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    const std::size_t i = (static_cast<std::size_t>(y) * w_ + x) * 3;
    pixels_[i] = colour.r;
    pixels_[i + 1] = colour.g;
    pixels_[i + 2] = colour.b;
}

void Canvas::fill(int left, int top, int right, int bottom, Rgb colour) {
    for (int y = std::max(top, 0); y < std::min(bottom, h_); ++y)
        for (int x = std::max(left, 0); x < std::min(right, w_); ++x)
            set(x, y, colour);
}

void Canvas::frame(int left, int top, int right, int bottom, Rgb colour) {
    line(left, top, right - 1, top, colour);
    line(left, bottom - 1, right - 1, bottom - 1, colour);
    line(left, top, left, bottom - 1, colour);
    line(right - 1, top, right - 1, bottom - 1, colour);
}

void Canvas::line(int x0, int y0, int x1, int y1, Rgb colour) {
    // Bresenham: every step moves one pixel along the longer axis.
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void Canvas::dottedHorizontal(int left, int right, int y, Rgb colour) {
    for (int x = left; x <= right; x += kDotSpacing)
        set(x, y, colour);
}

void Canvas::dottedVertical(int x, int top, int bottom, Rgb colour) {
    for (int y = top; y <= bottom; y += kDotSpacing)
        set(x, y, colour);
}

int Canvas::text(int x, int y, const std::string& s, Rgb colour, int scale) {
    for (char c : s) {
        for (int row = 0; row < BitmapFont::kGlyphHeight; ++row) {
            const std::uint8_t bits = BitmapFont::row(c, row);
            for (int col = 0; col < BitmapFont::kGlyphWidth; ++col)
                if (bits & (1u << (BitmapFont::kGlyphWidth - 1 - col)))
                    fill(x + col * scale, y + row * scale, x + (col + 1) * scale,
                         y + (row + 1) * scale, colour);
        }
        x += BitmapFont::kAdvance * scale;
    }
    return x;
}

int Canvas::textWidth(const std::string& s, int scale) {
    return static_cast<int>(s.size()) * BitmapFont::kAdvance * scale;
}

} // namespace qv
