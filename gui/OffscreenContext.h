// A drawing context whose device context draws into a memory bitmap: views compose a picture in
// it and copy it to the window in one step. Either draws into a bitmap's own picture, or into a
// fresh copy of it (or, without a bitmap, a black 20 x 20 surface).
#pragma once

#include "gui/DrawContext.h"

namespace qv {

class Bitmap;

class OffscreenContext : public DrawContext {
public:
    // source: the context to be compatible with (may be null: the screen). bitmap: not
    // retained, may be null. drawIntoBitmap: draw into the bitmap itself instead of a copy.
    OffscreenContext(DrawContext* source, Bitmap* bitmap, bool drawIntoBitmap = false);
    ~OffscreenContext() override;

    // BitBlt of this surface from source into rect of destination.
    void copyTo(DrawContext* destination, const Rect& rect, Point source = Point());

    int getWidth() const { return width_; }
    int getHeight() const { return height_; }
    // The memory bitmap drawn into (the bitmap's own or the one created here).
    HBITMAP getSurface() const { return reinterpret_cast<HBITMAP>(window_); }

private:
    static constexpr int kDefaultSize = 20; // pixels, each way, without a bitmap

    Bitmap* bitmap_;                   // the picture this was made from, or null; not retained
    int width_;                        // pixels
    int height_;                       // pixels
    bool ownsSurface_ = false;         // the memory bitmap was created here
    HGDIOBJ previousBitmap_ = nullptr; // selected into the memory DC before ours
};

} // namespace qv
