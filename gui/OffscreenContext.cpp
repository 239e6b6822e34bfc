#include "gui/OffscreenContext.h"

#include "gui/Bitmap.h"
#include "gui/GdiCounter.h"

namespace qv {

OffscreenContext::OffscreenContext(DrawContext* source, Bitmap* bitmap, bool drawIntoBitmap)
    : DrawContext(source ? source->getFrame() : nullptr, nullptr, nullptr), bitmap(bitmap),
      width(bitmap ? bitmap->getWidth() : kDefaultSize),
      height(bitmap ? bitmap->getHeight() : kDefaultSize) {
    clipRect = Rect(0, 0, width, height);
    HDC sourceDc = source ? source->getDC() : nullptr;
    dc = GdiCounter::createCompatibleDC(sourceDc);
    if (!dc) return;
    SetBkMode(dc, TRANSPARENT);

    HBITMAP surface = nullptr;
    if (drawIntoBitmap && bitmap) {
        surface = bitmap->getHandle();
    } else {
        // A compatible bitmap of a memory DC would be monochrome: ask the source (or screen).
        HDC screen = sourceDc ? nullptr : GdiCounter::getDC(nullptr);
        surface = GdiCounter::createCompatibleBitmap(sourceDc ? sourceDc : screen, width, height);
        if (screen) GdiCounter::releaseDC(nullptr, screen);
        ownsSurface = surface != nullptr;
    }
    if (surface) previousBitmap = SelectObject(dc, surface);
    window = reinterpret_cast<HWND>(surface);

    if (ownsSurface) {
        if (bitmap) {
            bitmap->draw(this, Rect(0, 0, width, height), Point(0, 0));
        } else {
            setFillColor(kBlack);
            // fillRect starts one pixel in; start one pixel out to blacken the whole surface.
            fillRect(Rect(-1, -1, width, height));
        }
    }
}

OffscreenContext::~OffscreenContext() {
    if (dc) {
        if (previousBitmap) SelectObject(dc, previousBitmap);
        GdiCounter::deleteDC(dc);
        dc = nullptr;
    }
    if (ownsSurface) GdiCounter::deleteObject(reinterpret_cast<HBITMAP>(window));
    window = nullptr;
}

void OffscreenContext::copyTo(DrawContext* destination, const Rect& rect, Point source) {
    if (!dc || !destination || !destination->getDC()) return;
    BitBlt(destination->getDC(), rect.left, rect.top, rect.width(), rect.height(), dc, source.x,
           source.y, SRCCOPY);
}

} // namespace qv
