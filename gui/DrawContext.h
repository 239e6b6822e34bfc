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
    void setLineWidth(int width) { lineWidth_ = width; }
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

    HDC getDC() const { return dc_; }
    Frame* getFrame() const { return frame_; }
    const Rect& getClipRect() const { return clipRect_; }
    Color getFrameColor() const { return frameColor_; }
    Color getFillColor() const { return fillColor_; }
    Color getFontColor() const { return fontColor_; }
    int getLineWidth() const { return lineWidth_; }
    int getLineStyle() const { return lineStyle_; }
    FontId getFontId() const { return fontId_; }
    int getFontHeight() const { return fontHeight_; }

protected:
    // Creates the pen for the current style, width and frame colour and selects it.
    void makePen();

    Point windowOrigin_;           // window's top-left in screen coordinates, for the pointer
    HDC dc_ = nullptr;             // the device context drawn into, or null
    HWND window_ = nullptr;        // its window; an offscreen context keeps its bitmap here
    Frame* frame_ = nullptr;       // the frame drawn for, or null
    int fontHeight_ = 0;           // pixels, of the current font
    FontId fontId_ = 0;            // current font
    Color fontColor_ = kWhite;     // text colour
    int lineWidth_ = 1;            // pen width in pixels
    Color frameColor_ = kWhite;    // lines and outlines
    Color fillColor_ = kBlack;     // fills and opaque text background
    int lineStyle_ = kLineSolid;   // solid or dotted
    Rect clipRect_;                // for views to read; nothing here clips to it
    HBRUSH brush_ = nullptr;       // brush this context created, or null
    HPEN pen_ = nullptr;           // pen this context created, or null
    HFONT font_ = nullptr;         // font this context created, or null
    HGDIOBJ savedBrush_ = nullptr; // selected before this context, put back by the destructor
    HGDIOBJ savedPen_ = nullptr;   // likewise
    HGDIOBJ savedFont_ = nullptr;  // likewise
    int penStyle_ = PS_SOLID;      // PS_DOT for the dotted style
};

} // namespace qv
