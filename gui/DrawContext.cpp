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

DrawContext::DrawContext(Frame* frame, HDC dc, HWND window) : dc(dc), window(window), frame(frame) {
    if (frame)
        frame->getViewSize(clipRect);
    else
        clipRect = kDefaultClip;
    if (dc) {
        savedPen = GetCurrentObject(dc, OBJ_PEN);
        savedBrush = GetCurrentObject(dc, OBJ_BRUSH);
        savedFont = GetCurrentObject(dc, OBJ_FONT);
        SetBkMode(dc, TRANSPARENT);
    }
    if (window) {
        RECT r;
        if (GetWindowRect(window, &r)) windowOrigin = Point(r.left, r.top);
    }
    if (dc) {
        setFrameColor(kWhite);
        setLineStyle(kLineSolid);
        setFillColor(kBlack);
        SetTextColor(dc, fontColor.toGdi());
    }
}

DrawContext::~DrawContext() {
    if (dc) {
        if (savedBrush) SelectObject(dc, savedBrush);
        if (savedPen) SelectObject(dc, savedPen);
        if (savedFont) SelectObject(dc, savedFont);
    }
    GdiCounter::deleteObject(brush);
    GdiCounter::deleteObject(pen);
    GdiCounter::deleteObject(font);
}

void DrawContext::makePen() {
    LOGPEN description{};
    description.lopnStyle = static_cast<UINT>(penStyle);
    description.lopnWidth.x = lineWidth;
    description.lopnColor = frameColor.toGdi();
    HPEN created = GdiCounter::createPen(description);
    if (!created) return; // keep drawing with the pen we have
    if (dc) SelectObject(dc, created);
    GdiCounter::deleteObject(pen);
    pen = created;
}

void DrawContext::setLineStyle(int style) {
    lineStyle = style;
    penStyle = style == kLineDotted ? PS_DOT : PS_SOLID;
    makePen();
}

void DrawContext::setFrameColor(Color color) {
    frameColor = color;
    makePen();
}

void DrawContext::setFillColor(Color color) {
    fillColor = color;
    if (dc) SetBkColor(dc, color.toGdi());
    LOGBRUSH description{};
    description.lbStyle = BS_SOLID;
    description.lbColor = color.toGdi();
    description.lbHatch = 0;
    HBRUSH created = GdiCounter::createBrush(description);
    if (!created) return; // the previous brush stays in use
    if (dc) SelectObject(dc, created);
    GdiCounter::deleteObject(brush);
    brush = created;
}

void DrawContext::setFontColor(Color color) {
    fontColor = color;
    if (dc) SetTextColor(dc, color.toGdi());
}

void DrawContext::setFont(FontId id, int height, int style) {
    if (id < 0 || id >= FontTable::kCount) id = 0;
    const LOGFONTA description = FontTable::describe(id, height, style);
    fontId = id;
    fontHeight = -description.lfHeight;
    HFONT created = GdiCounter::createFont(description);
    if (!created) return;
    if (dc) SelectObject(dc, created);
    GdiCounter::deleteObject(font);
    font = created;
}

void DrawContext::drawRect(const Rect& r) {
    if (!dc) return;
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right, r.top);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left, r.bottom);
    LineTo(dc, r.left, r.top);
}

void DrawContext::fillRect(const Rect& r) {
    if (!dc || !brush) return;
    // Pixels left + 1 .. right and top + 1 .. bottom; GDI leaves out the RECT's right and
    // bottom edges, hence one more each way.
    RECT inside{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    HGDIOBJ before = SelectObject(dc, GetStockObject(NULL_PEN));
    FillRect(dc, &inside, brush);
    if (before) SelectObject(dc, before);
}

void DrawContext::moveTo(Point p) {
    if (dc) MoveToEx(dc, p.x, p.y, nullptr);
}

void DrawContext::lineTo(Point p) {
    if (dc) LineTo(dc, p.x, p.y);
}

int DrawContext::drawString(const char* text, const Rect& rect, bool opaque, int align) {
    if (!text || !dc) return 0;
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
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
    const int height = DrawTextA(dc, text, length, &r, flags);
    SetBkMode(dc, TRANSPARENT);
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
    return Point(screen.x - windowOrigin.x, screen.y - windowOrigin.y);
}

} // namespace qv
