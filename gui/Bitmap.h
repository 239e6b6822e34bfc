// A picture from the plug-in's own bitmap resources, shared by reference count and drawn opaque
// or with one colour left out (transparent).
#pragma once

#include "gui/Color.h"
#include "gui/Point.h"
#include "gui/Rect.h"

#include <cstdint>
#include <windows.h>

namespace qv {

class DrawContext;

class Bitmap {
public:
    // Loads resource resourceId of ResourceModule; on failure the handle is null and the size
    // 0 x 0, and drawing does nothing. The count starts at 1. UI thread.
    explicit Bitmap(int resourceId);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    void retain() { ++referenceCount_; }
    // Drops one reference; the last one frees the GDI bitmap and this object. A count already
    // at 0 or below is left alone.
    void release();
    int getReferenceCount() const { return referenceCount_; }

    int getWidth() const { return width_; }
    int getHeight() const { return height_; }
    int getResourceId() const { return resourceId_; }
    HBITMAP getHandle() const { return handle_; }
    void setTransparentColor(Color color) { transparentColor_ = color; }
    Color getTransparentColor() const { return transparentColor_; }

    // Copies the picture from source into rect of the context.
    void draw(DrawContext* context, const Rect& rect, Point source = Point());
    // Likewise, but source pixels of the transparent colour leave the destination as it was.
    void drawTransparent(DrawContext* context, const Rect& rect, Point source = Point());

private:
    ~Bitmap();
    void drawWithMask(HDC destination, const Rect& rect, HDC sourceDc, Point source, COLORREF key);

    std::uint16_t resourceId_;                          // integer resource name
    int referenceCount_ = 1;                            // holders; the last release deletes
    int width_ = 0;                                     // pixels, 0 when loading failed
    int height_ = 0;                                    // pixels, 0 when loading failed
    Color transparentColor_ = kDefaultTransparentColor; // left out by drawTransparent
    HBITMAP handle_ = nullptr;                          // the GDI bitmap
    HBITMAP mask_ = nullptr;                            // a prepared mask; stays null here
};

} // namespace qv
