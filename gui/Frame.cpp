#include "gui/Frame.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/DropTarget.h"
#include "gui/FrameWindowClass.h"
#include "gui/GdiCounter.h"
#include "gui/ImageLibrary.h"
#include "gui/InputSource.h"
#include "gui/ResourceModule.h"

#include <cstdlib>
#include <new>
#include <ole2.h>

namespace qv {

namespace {

constexpr const char* kWindowTitle = "Window";

Frame* frameOf(HWND window) {
    return reinterpret_cast<Frame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

} // namespace

Frame::Frame(const Rect& size, HWND parentWindow, EditorBase* editor)
    : View(size), editor_(editor), parentWindow_(parentWindow) {
    imageLibrary_ = ImageLibrary::acquire();
    if (parentWindow) createWindow();
}

void Frame::createWindow() {
    const char* className = FrameWindowClass::acquire(&Frame::windowProcedure);
    window_ =
        CreateWindowExA(0, className, kWindowTitle, WS_CHILD | WS_VISIBLE, 0, 0, size_.width(),
                        size_.height(), parentWindow_, nullptr, ResourceModule::get(), nullptr);
    if (!window_) {
        // Nothing was made: give the class back now, the destructor will not.
        FrameWindowClass::release();
        return;
    }
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    auto* target = new (std::nothrow) DropTarget(this);
    if (!target) return; // the window works without drag and drop
    if (RegisterDragDrop(window_, target) == S_OK) {
        dropTargetRegistered_ = true;
    } else {
        target->AddRef(); // nobody else holds it: take and drop a reference to free it
        target->Release();
    }
}

Frame::~Frame() {
    if (dropTargetRegistered_ && window_) {
        RevokeDragDrop(window_); // releases the registration's reference, the target's last
        dropTargetRegistered_ = false;
    }
    removeAll(true);
    if (background_) {
        background_->release();
        background_ = nullptr;
    }
    if (imageLibrary_) {
        ImageLibrary::release(imageLibrary_);
        imageLibrary_ = nullptr;
    }
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        window_ = nullptr;
        FrameWindowClass::release();
    }
}

EditorBase* Frame::getEditor() const {
    return editor_;
}

void Frame::setBackground(Bitmap* bitmap) {
    if (bitmap) bitmap->retain();
    if (background_) background_->release();
    background_ = bitmap;
}

// ---- children

bool Frame::addView(View* view) {
    if (!view) return false;
    if (childCount_ == childCapacity_) {
        const long capacity = childCapacity_ + kChildGrowth;
        void* grown = std::realloc(children_, static_cast<size_t>(capacity) * sizeof(View*));
        if (!grown) return false;
        children_ = static_cast<View**>(grown);
        childCapacity_ = capacity;
    }
    children_[childCount_++] = view;
    view->setFrame(this);
    view->attached(this);
    return true;
}

bool Frame::removeView(View* view, bool withRelease) {
    for (long i = 0; i < childCount_; ++i) {
        if (children_[i] != view) continue;
        for (long j = i + 1; j < childCount_; ++j)
            children_[j - 1] = children_[j];
        --childCount_;
        view->removed(this);
        if (withRelease) view->release();
        break;
    }
    return true;
}

bool Frame::removeAll(bool withRelease) {
    // Detach the list first: a child's release must not find itself still listed.
    View** list = children_;
    const long count = childCount_;
    children_ = nullptr;
    childCount_ = 0;
    childCapacity_ = 0;
    for (long i = 0; i < count; ++i) {
        list[i]->removed(this);
        if (withRelease) list[i]->release();
    }
    std::free(list);
    return true;
}

bool Frame::isChild(View* view) const {
    for (long i = 0; i < childCount_; ++i)
        if (children_[i] == view) return true;
    return false;
}

long Frame::getViewCount() const {
    return childCount_;
}

View* Frame::getView(long index) const {
    return index >= 0 && index < childCount_ ? children_[index] : nullptr;
}

// ---- drawing

void Frame::draw(DrawContext* context) {
    firstDrawPending_ = false;
    if (background_)
        background_->draw(context, Rect(0, 0, background_->getWidth(), background_->getHeight()),
                          Point(0, 0));
    for (long i = 0; i < childCount_; ++i)
        children_[i]->draw(context);
}

void Frame::drawRect(DrawContext* context, const Rect& rect) {
    firstDrawPending_ = false;
    if (background_) background_->draw(context, rect, Point(rect.left, rect.top));
    for (long i = 0; i < childCount_; ++i)
        if (children_[i]->intersects(rect)) children_[i]->drawRect(context, rect);
}

void Frame::update(DrawContext* context) {
    if (!open_) return;
    if (isDirty()) {
        draw(context);
        setDirty(false);
        return;
    }
    for (long i = 0; i < childCount_; ++i)
        children_[i]->update(context);
}

void Frame::drawView(View* view) {
    if (!window_) return;
    HDC dc = GdiCounter::getDC(window_);
    if (!dc) return;
    {
        DrawContext context(this, dc, window_);
        if (view && isChild(view))
            view->draw(&context);
        else
            draw(&context);
    }
    GdiCounter::releaseDC(window_, dc);
}

bool Frame::isSomethingDirty() const {
    if (isDirty()) return true;
    for (long i = 0; i < childCount_; ++i)
        if (children_[i]->isDirty()) return true;
    return false;
}

void Frame::idle() {
    if (!open_ || firstDrawPending_ || !window_ || !isSomethingDirty()) return;
    HDC dc = GdiCounter::getDC(window_);
    if (!dc) return;
    {
        DrawContext context(this, dc, window_);
        update(&context);
    }
    GdiCounter::releaseDC(window_, dc);
}

// ---- input

void Frame::mouse(DrawContext* context, Point where) {
    const long buttons = context ? context->getButtonState() : 0;
    for (long i = childCount_ - 1; i >= 0; --i) {
        View* child = children_[i];
        if (child->getMouseEnabled() && child->hitTest(where, buttons)) {
            child->mouse(context, where);
            return;
        }
    }
}

long Frame::onKeyDown(KeyCode& key) {
    for (long i = childCount_ - 1; i >= 0; --i) {
        const long result = children_[i]->onKeyDown(key);
        if (result != -1) return result;
    }
    return -1;
}

long Frame::onKeyUp(KeyCode& key) {
    for (long i = childCount_ - 1; i >= 0; --i) {
        const long result = children_[i]->onKeyUp(key);
        if (result != -1) return result;
    }
    return -1;
}

bool Frame::onDrop(void** items, long count, long type, Point where) {
    for (long i = childCount_ - 1; i >= 0; --i) {
        View* child = children_[i];
        if (child->getMouseEnabled() && child->viewSize().contains(where) &&
            child->onDrop(items, count, type, where))
            return true;
    }
    return false;
}

bool Frame::getCurrentLocation(Point& where) const {
    const Point screen = InputSource::current().cursorPosition();
    RECT r{0, 0, 0, 0};
    if (window_) GetWindowRect(window_, &r);
    where = Point(screen.x - r.left, screen.y - r.top);
    return true;
}

View* Frame::getViewAt() const {
    Point where;
    getCurrentLocation(where);
    for (long i = childCount_ - 1; i >= 0; --i)
        if (children_[i]->viewSize().contains(where)) return children_[i];
    return nullptr;
}

bool Frame::onWheel(DrawContext* context, Point, float distance) {
    View* view = getViewAt();
    if (!view) return false;
    Point where;
    getCurrentLocation(where);
    if (context || !window_) return view->onWheel(context, where, distance);
    HDC dc = GdiCounter::getDC(window_);
    bool handled = false;
    {
        DrawContext own(this, dc, window_);
        handled = view->onWheel(&own, where, distance);
    }
    GdiCounter::releaseDC(window_, dc);
    return handled;
}

// ---- window procedure

LRESULT CALLBACK Frame::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Called from the host's message loop: an exception must not unwind into it.
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT Frame::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Frame* frame = frameOf(window);
    switch (message) {
    case WM_DESTROY:
        if (frame) {
            frame->open_ = false;
            frame->parentWindow_ = nullptr;
        }
        break;
    case WM_PAINT: {
        RECT dirtyArea;
        if (!frame || !GetUpdateRect(window, &dirtyArea, FALSE)) break;
        PAINTSTRUCT paint{};
        HDC dc = GdiCounter::beginPaint(window, paint);
        if (dc) {
            DrawContext context(frame, dc, window);
            const RECT& r = paint.rcPaint;
            frame->drawRect(&context, Rect(r.left, r.top, r.right, r.bottom));
        }
        GdiCounter::endPaint(window, paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        if (!frame) break;
        HDC dc = GdiCounter::getDC(window);
        {
            DrawContext context(frame, dc, window);
            const Point where(LOWORD(lParam), HIWORD(lParam));
            frame->mouse(&context, where);
        }
        GdiCounter::releaseDC(window, dc);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace qv
