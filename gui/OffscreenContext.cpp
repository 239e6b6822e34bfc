#include "gui/OffscreenContext.h"

#include "gui/Bitmap.h"
#include "gui/GdiCounter.h"

namespace qv {

OffscreenContext::OffscreenContext(DrawContext* source, Bitmap* bitmap, bool drawIntoBitmap)
    : DrawContext(source ? source->getFrame() : nullptr, nullptr, nullptr), bitmap_(bitmap),
      width_(bitmap ? bitmap->getWidth() : kDefaultSize),
      height_(bitmap ? bitmap->getHeight() : kDefaultSize) {
    clipRect_ = Rect(0, 0, width_, height_);
    HDC sourceDc = source ? source->getDC() : nullptr;
    dc_ = GdiCounter::createCompatibleDC(sourceDc);
    if (!dc_) return;
    SetBkMode(dc_, TRANSPARENT);

    HBITMAP surface = nullptr;
    if (drawIntoBitmap && bitmap) {
        surface = bitmap->getHandle();
    } else {
        // A compatible bitmap of a memory DC would be monochrome: ask the source (or screen).
        HDC screen = sourceDc ? nullptr : GdiCounter::getDC(nullptr);
        surface = GdiCounter::createCompatibleBitmap(sourceDc ? sourceDc : screen, width_, height_);
        if (screen) GdiCounter::releaseDC(nullptr, screen);
        ownsSurface_ = surface != nullptr;
    }
    if (surface) previousBitmap_ = SelectObject(dc_, surface);
    window_ = reinterpret_cast<HWND>(surface);

    if (ownsSurface_) {
        if (bitmap) {
            bitmap->draw(this, Rect(0, 0, width_, height_), Point(0, 0));
        } else {
            setFillColor(kBlack);
            // fillRect starts one pixel in; start one pixel out to blacken the whole surface.
            fillRect(Rect(-1, -1, width_, height_));
        }
    }
}

OffscreenContext::~OffscreenContext() {
    if (dc_) {
        if (previousBitmap_) SelectObject(dc_, previousBitmap_);
        GdiCounter::deleteDC(dc_);
        dc_ = nullptr;
    }
    if (ownsSurface_) GdiCounter::deleteObject(reinterpret_cast<HBITMAP>(window_));
    window_ = nullptr;
}

void OffscreenContext::copyTo(DrawContext* destination, const Rect& rect, Point source) {
    if (!dc_ || !destination || !destination->getDC()) return;
    BitBlt(destination->getDC(), rect.left, rect.top, rect.width(), rect.height(), dc_, source.x,
           source.y, SRCCOPY);
}

} // namespace qv
