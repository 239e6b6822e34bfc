// The one place where the toolkit creates and frees GDI objects and device contexts. It keeps a
// live count of each, so tests can prove that opening and closing the editor leaks nothing
// (Wine's GetGuiResources answers 0, so Windows cannot be asked). Any thread.
#pragma once

#include <windows.h>

namespace qv {

class GdiCounter {
public:
    // GDI objects (pens, brushes, fonts, bitmaps) and device contexts alive right now.
    static int liveObjects();
    static int liveDeviceContexts();

    static HPEN createPen(const LOGPEN& pen);
    static HBRUSH createBrush(const LOGBRUSH& brush);
    static HFONT createFont(const LOGFONTA& font);
    static HBITMAP loadBitmap(HINSTANCE module, int resourceId);
    static HBITMAP createCompatibleBitmap(HDC dc, int width, int height);
    static HBITMAP createMonochromeBitmap(int width, int height);
    // DeleteObject; counts only what GDI really deleted. Null is ignored.
    static bool deleteObject(HGDIOBJ object);

    static HDC createCompatibleDC(HDC dc);
    static bool deleteDC(HDC dc);
    static HDC getDC(HWND window);
    static void releaseDC(HWND window, HDC dc);
    static HDC beginPaint(HWND window, PAINTSTRUCT& paint);
    static void endPaint(HWND window, const PAINTSTRUCT& paint);
};

} // namespace qv
