#include "gui/GdiCounter.h"

#include <atomic>

namespace qv {

namespace {

std::atomic<int> objects{0};  // GDI objects created here and not yet deleted
std::atomic<int> contexts{0}; // device contexts obtained here and not yet given back

template <typename Handle> Handle countObject(Handle handle) {
    if (handle) ++objects;
    return handle;
}

HDC countContext(HDC dc) {
    if (dc) ++contexts;
    return dc;
}

} // namespace

int GdiCounter::liveObjects() {
    return objects.load();
}
int GdiCounter::liveDeviceContexts() {
    return contexts.load();
}

HPEN GdiCounter::createPen(const LOGPEN& pen) {
    return countObject(CreatePenIndirect(&pen));
}

HBRUSH GdiCounter::createBrush(const LOGBRUSH& brush) {
    return countObject(CreateBrushIndirect(&brush));
}

HFONT GdiCounter::createFont(const LOGFONTA& font) {
    return countObject(CreateFontIndirectA(&font));
}

HBITMAP GdiCounter::loadBitmap(HINSTANCE module, int resourceId) {
    return countObject(LoadBitmapA(module, MAKEINTRESOURCEA(resourceId)));
}

HBITMAP GdiCounter::createCompatibleBitmap(HDC dc, int width, int height) {
    return countObject(CreateCompatibleBitmap(dc, width, height));
}

HBITMAP GdiCounter::createMonochromeBitmap(int width, int height) {
    return countObject(CreateBitmap(width, height, 1, 1, nullptr));
}

bool GdiCounter::deleteObject(HGDIOBJ object) {
    if (!object || !DeleteObject(object)) return false;
    --objects;
    return true;
}

HDC GdiCounter::createCompatibleDC(HDC dc) {
    return countContext(CreateCompatibleDC(dc));
}

bool GdiCounter::deleteDC(HDC dc) {
    if (!dc || !DeleteDC(dc)) return false;
    --contexts;
    return true;
}

HDC GdiCounter::getDC(HWND window) {
    return countContext(GetDC(window));
}

void GdiCounter::releaseDC(HWND window, HDC dc) {
    if (dc && ReleaseDC(window, dc)) --contexts;
}

HDC GdiCounter::beginPaint(HWND window, PAINTSTRUCT& paint) {
    return countContext(BeginPaint(window, &paint));
}

void GdiCounter::endPaint(HWND window, const PAINTSTRUCT& paint) {
    if (paint.hdc) --contexts;
    EndPaint(window, &paint);
}

} // namespace qv
