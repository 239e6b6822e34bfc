#include "gui/DrawContext.h"

#include "gui/Frame.h"
#include "gui/FrameWindowClass.h"
#include "gui/GdiCounter.h"
#include "gui/InputSource.h"

#include <cstring>

namespace qv {

namespace {

// Text is one line, vertically centred, and '&' is printed as it is.
constexpr UINT kTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
// Without a frame views see this much of the surface.
constexpr Rect kDefaultClip{0, 0, 1000, 1000};

RECT toRECT(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

} // namespace

DrawContext::DrawContext(Frame* frame, HDC dc, HWND window)
    : dc_(dc), window_(window), frame_(frame) {
    if (frame)
        frame->getViewSize(clipRect_);
    else
        clipRect_ = kDefaultClip;
    if (dc) {
        savedPen_ = GetCurrentObject(dc, OBJ_PEN);
        savedBrush_ = GetCurrentObject(dc, OBJ_BRUSH);
        savedFont_ = GetCurrentObject(dc, OBJ_FONT);
        SetBkMode(dc, TRANSPARENT);
    }
    if (window) {
        RECT r;
        if (GetWindowRect(window, &r)) windowOrigin_ = Point(r.left, r.top);
    }
    if (dc) {
        setFrameColor(kWhite);
        setLineStyle(kLineSolid);
        setFillColor(kBlack);
        SetTextColor(dc, fontColor_.toGdi());
    }
}

DrawContext::~DrawContext() {
    if (dc_) {
        if (savedBrush_) SelectObject(dc_, savedBrush_);
        if (savedPen_) SelectObject(dc_, savedPen_);
        if (savedFont_) SelectObject(dc_, savedFont_);
    }
    GdiCounter::deleteObject(brush_);
    GdiCounter::deleteObject(pen_);
    GdiCounter::deleteObject(font_);
}

void DrawContext::makePen() {
    LOGPEN description{};
    description.lopnStyle = static_cast<UINT>(penStyle_);
    description.lopnWidth.x = lineWidth_;
    description.lopnColor = frameColor_.toGdi();
    HPEN created = GdiCounter::createPen(description);
    if (!created) return; // keep drawing with the pen we have
    if (dc_) SelectObject(dc_, created);
    GdiCounter::deleteObject(pen_);
    pen_ = created;
}

void DrawContext::setLineStyle(int style) {
    lineStyle_ = style;
    penStyle_ = style == kLineDotted ? PS_DOT : PS_SOLID;
    makePen();
}

void DrawContext::setFrameColor(Color color) {
    frameColor_ = color;
    makePen();
}

void DrawContext::setFillColor(Color color) {
    fillColor_ = color;
    if (dc_) SetBkColor(dc_, color.toGdi());
    LOGBRUSH description{};
    description.lbStyle = BS_SOLID;
    description.lbColor = color.toGdi();
    description.lbHatch = 0;
    HBRUSH created = GdiCounter::createBrush(description);
    if (!created) return; // the previous brush stays in use
    if (dc_) SelectObject(dc_, created);
    GdiCounter::deleteObject(brush_);
    brush_ = created;
}

void DrawContext::setFontColor(Color color) {
    fontColor_ = color;
    if (dc_) SetTextColor(dc_, color.toGdi());
}

void DrawContext::setFont(FontId id, int height, int style) {
    if (id < 0 || id >= FontTable::kCount) id = 0;
    const LOGFONTA description = FontTable::describe(id, height, style);
    fontId_ = id;
    fontHeight_ = -description.lfHeight;
    HFONT created = GdiCounter::createFont(description);
    if (!created) return;
    if (dc_) SelectObject(dc_, created);
    GdiCounter::deleteObject(font_);
    font_ = created;
}

void DrawContext::drawRect(const Rect& r) {
    if (!dc_) return;
    MoveToEx(dc_, r.left, r.top, nullptr);
    LineTo(dc_, r.right, r.top);
    LineTo(dc_, r.right, r.bottom);
    LineTo(dc_, r.left, r.bottom);
    LineTo(dc_, r.left, r.top);
}

void DrawContext::fillRect(const Rect& r) {
    if (!dc_ || !brush_) return;
    // Pixels left + 1 .. right and top + 1 .. bottom; GDI leaves out the RECT's right and
    // bottom edges, hence one more each way.
    RECT inside{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    HGDIOBJ before = SelectObject(dc_, GetStockObject(NULL_PEN));
    FillRect(dc_, &inside, brush_);
    if (before) SelectObject(dc_, before);
}

void DrawContext::moveTo(Point p) {
    if (dc_) MoveToEx(dc_, p.x, p.y, nullptr);
}

void DrawContext::lineTo(Point p) {
    if (dc_) LineTo(dc_, p.x, p.y);
}

int DrawContext::drawString(const char* text, const Rect& rect, bool opaque, int align) {
    if (!text || !dc_) return 0;
    SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
    RECT r = toRECT(rect);
    UINT flags = kTextFlags;
    if (align == kAlignCenter) {
        flags |= DT_CENTER;
    } else if (align == kAlignRight) {
        flags |= DT_RIGHT;
    } else {
        flags |= DT_LEFT;
        r.left += 1; // left-aligned text keeps off the box's edge
    }
    const int length = static_cast<int>(std::strlen(text));
    const int height = DrawTextA(dc_, text, length, &r, flags);
    SetBkMode(dc_, TRANSPARENT);
    return height;
}

int DrawContext::getButtonState() const {
    const int physical = InputSource::current().physicalButtons();
    int state = physical & (InputSource::kMiddle | InputSource::kShift | InputSource::kControl |
                            InputSource::kAlt);
    const bool swapped = FrameWindowClass::buttonsSwapped();
    if (physical & InputSource::kPhysicalLeft) state |= swapped ? kRButton : kLButton;
    if (physical & InputSource::kPhysicalRight) state |= swapped ? kLButton : kRButton;
    return state;
}

Point DrawContext::getPointerPosition() const {
    const Point screen = InputSource::current().cursorPosition();
    return Point(screen.x - windowOrigin_.x, screen.y - windowOrigin_.y);
}

} // namespace qv
