// An RGB picture in memory to draw the tools' charts on: rectangles, lines, dashed grid lines
// and text in the built-in bitmap font. Drawing outside the picture is clipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct Rgb {
    std::uint8_t r, g, b;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    int width() const { return w_; }
    int height() const { return h_; }
    const std::vector<std::uint8_t>& rgb() const { return pixels_; } // rows top to bottom
    Rgb at(int x, int y) const;

    void set(int x, int y, Rgb colour);
    // Right and bottom edges excluded.
    void fill(int left, int top, int right, int bottom, Rgb colour);
    void frame(int left, int top, int right, int bottom, Rgb colour);
    // Both end points included.
    void line(int x0, int y0, int x1, int y1, Rgb colour);
    void dottedHorizontal(int left, int right, int y, Rgb colour);
    void dottedVertical(int x, int top, int bottom, Rgb colour);
    // Text with its top-left corner at x, y, each font pixel `scale` pixels square; returns the
    // x just after the last character.
    int text(int x, int y, const std::string& s, Rgb colour, int scale = 1);
    static int textWidth(const std::string& s, int scale = 1);

private:
    int w_, h_;                        // size in pixels
    std::vector<std::uint8_t> pixels_; // w * h * 3 bytes
};

} // namespace qv
