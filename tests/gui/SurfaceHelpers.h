// Offscreen surfaces to draw on and read back in tests.
#pragma once

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

#include <windows.h>

namespace qv {

// A surface of the size of bitmap resource id (a copy of it), cleared to colour.
class TestSurface {
public:
    explicit TestSurface(int id = 10016, Color clear = kBlack)
        : picture(new Bitmap(id)), context(nullptr, picture) {
        fill(clear);
    }
    ~TestSurface() { picture->release(); }

    void fill(Color c) {
        context.setFillColor(c);
        context.fillRect(Rect(-1, -1, context.getWidth(), context.getHeight()));
    }
    COLORREF pixel(int x, int y) { return GetPixel(context.getDC(), x, y) & 0xFFFFFF; }
    OffscreenContext* operator->() { return &context; }
    OffscreenContext& get() { return context; }

private:
    Bitmap* picture;
    OffscreenContext context;
};

} // namespace qv
