#include "gui/Bitmap.h"

#include "gui/DrawContext.h"
#include "gui/GdiCounter.h"
#include "gui/ImageLibrary.h"
#include "gui/ResourceModule.h"

namespace qv {

namespace {

constexpr COLORREF kMaskBackground = 0xFFFFFF; // key pixels become 1 in a mask: white
constexpr COLORREF kMaskText = 0x000000;       // all others 0: black

} // namespace

Bitmap::Bitmap(int id) : resourceId_(static_cast<std::uint16_t>(id)) {
    handle_ = GdiCounter::loadBitmap(ResourceModule::get(), resourceId_);
    BITMAP info{};
    if (handle_ && GetObjectA(handle_, sizeof(info), &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
}

Bitmap::~Bitmap() {
    GdiCounter::deleteObject(handle_);
    GdiCounter::deleteObject(mask_);
}

void Bitmap::release() {
    if (referenceCount_ <= 0) return;
    if (--referenceCount_ == 0) delete this;
}

void Bitmap::draw(DrawContext* context, const Rect& rect, Point source) {
    if (!handle_ || !context || !context->getDC()) return;
    HDC target = context->getDC();
    HDC memory = GdiCounter::createCompatibleDC(target);
    if (!memory) return;
    HGDIOBJ before = SelectObject(memory, handle_);
    BitBlt(target, rect.left, rect.top, rect.width(), rect.height(), memory, source.x, source.y,
           SRCCOPY);
    SelectObject(memory, before);
    GdiCounter::deleteDC(memory);
}

void Bitmap::drawTransparent(DrawContext* context, const Rect& rect, Point source) {
    if (!handle_ || !context || !context->getDC()) return;
    HDC target = context->getDC();
    HDC memory = GdiCounter::createCompatibleDC(target);
    if (!memory) return;
    HGDIOBJ before = SelectObject(memory, handle_);
    const COLORREF key = transparentColor_.toGdi();
    const int w = rect.width();
    const int h = rect.height();
    if (ImageLibrary::TransparentBltProc blit = ImageLibrary::transparentBlt())
        blit(target, rect.left, rect.top, w, h, memory, source.x, source.y, w, h, key);
    else
        drawWithMask(target, rect, memory, source, key);
    SelectObject(memory, before);
    GdiCounter::deleteDC(memory);
}

// XOR the source in, AND a mask that is white where the source has the key and black elsewhere,
// XOR the source again: under the key the destination comes back, elsewhere the source shows.
void Bitmap::drawWithMask(HDC target, const Rect& rect, HDC sourceDc, Point source, COLORREF key) {
    const int w = rect.width();
    const int h = rect.height();
    if (w <= 0 || h <= 0) return;
    const COLORREF savedBackground = SetBkColor(target, kMaskBackground);
    const COLORREF savedText = SetTextColor(target, kMaskText);

    HBITMAP maskBitmap = GdiCounter::createMonochromeBitmap(w, h);
    HDC maskDc = maskBitmap ? GdiCounter::createCompatibleDC(target) : nullptr;
    if (maskDc) {
        HGDIOBJ maskBefore = SelectObject(maskDc, maskBitmap);
        // Colour to monochrome: pixels equal to the source's background colour become 1.
        const COLORREF sourceBackground = SetBkColor(sourceDc, key);
        BitBlt(maskDc, 0, 0, w, h, sourceDc, source.x, source.y, SRCCOPY);
        SetBkColor(sourceDc, sourceBackground);

        BitBlt(target, rect.left, rect.top, w, h, sourceDc, source.x, source.y, SRCINVERT);
        BitBlt(target, rect.left, rect.top, w, h, maskDc, 0, 0, SRCAND);
        BitBlt(target, rect.left, rect.top, w, h, sourceDc, source.x, source.y, SRCINVERT);

        SelectObject(maskDc, maskBefore);
        GdiCounter::deleteDC(maskDc);
    }
    GdiCounter::deleteObject(maskBitmap);
    SetBkColor(target, savedBackground);
    SetTextColor(target, savedText);
}

} // namespace qv
