// A short-lived drawing surface over a GDI device context: current colours, line width and style
// and font, with the pens, brushes and fonts created on demand and freed by the destructor, which
// also puts back what was selected before. Also answers which buttons are down and where the
// pointer is. Lives for one paint, press or redraw, on the thread that made it.
#pragma once

#include "gui/Color.h"
#include "gui/FontTable.h"
#include "gui/Point.h"
#include "gui/Rect.h"

#include <windows.h>

namespace qv {

class Frame;

class DrawContext {
public:
    enum LineStyle : int { kLineSolid = 0, kLineDotted = 1 };
    enum TextAlign : int { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
    // Bits of getButtonState.
    enum : int { kLButton = 1, kMButton = 2, kRButton = 4, kShift = 8, kControl = 16, kAlt = 32 };

    // frame, dc and window may each be null.
    DrawContext(Frame* frame, HDC dc, HWND window);
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;
    virtual ~DrawContext();

    void setLineStyle(int style);
    void setLineWidth(int width) { lineWidth = width; }
    void setFrameColor(Color color);
    void setFillColor(Color color);
    void setFontColor(Color color);
    void setFont(FontId id, int height = 0, int style = 0);

    // Outline through (left, top) and (right, bottom), both corners included.
    void drawRect(const Rect& rect);
    // Pixels left + 1 .. right and top + 1 .. bottom, both ends included.
    void fillRect(const Rect& rect);
    void moveTo(Point p);
    void lineTo(Point p);
    // One line of text in rect, vertically centred; left-aligned text starts one pixel in.
    // opaque: backed by the fill colour. Returns 0 for null text, else DrawTextA's height.
    int drawString(const char* text, const Rect& rect, bool opaque = false,
                   int align = kAlignCenter);

    // Buttons and modifier keys down now (bits above); with swapped mouse buttons the physical
    // right button is reported as the left one.
    int getButtonState() const;
    // The pointer relative to the window given at construction.
    Point getPointerPosition() const;

    HDC getDC() const { return dc; }
    Frame* getFrame() const { return frame; }
    const Rect& getClipRect() const { return clipRect; }
    Color getFrameColor() const { return frameColor; }
    Color getFillColor() const { return fillColor; }
    Color getFontColor() const { return fontColor; }
    int getLineWidth() const { return lineWidth; }
    int getLineStyle() const { return lineStyle; }
    FontId getFontId() const { return fontId; }
    int getFontHeight() const { return fontHeight; }

protected:
    // Creates the pen for the current style, width and frame colour and selects it.
    void makePen();

    Point windowOrigin;           // window's top-left in screen coordinates, for the pointer
    HDC dc = nullptr;             // the device context drawn into, or null
    HWND window = nullptr;        // its window; an offscreen context keeps its bitmap here
    Frame* frame = nullptr;       // the frame drawn for, or null
    int fontHeight = 0;           // pixels, of the current font
    FontId fontId = 0;            // current font
    Color fontColor = kWhite;     // text colour
    int lineWidth = 1;            // pen width in pixels
    Color frameColor = kWhite;    // lines and outlines
    Color fillColor = kBlack;     // fills and opaque text background
    int lineStyle = kLineSolid;   // solid or dotted
    Rect clipRect;                // for views to read; nothing here clips to it
    HBRUSH brush = nullptr;       // brush this context created, or null
    HPEN pen = nullptr;           // pen this context created, or null
    HFONT font = nullptr;         // font this context created, or null
    HGDIOBJ savedBrush = nullptr; // selected before this context, put back by the destructor
    HGDIOBJ savedPen = nullptr;   // likewise
    HGDIOBJ savedFont = nullptr;  // likewise
    int penStyle = PS_SOLID;      // PS_DOT for the dotted style
};

} // namespace qv
