#include "gui/View.h"

#include "gui/Frame.h"

namespace qv {

View::View(const Rect& size) : size_(size), mouseArea_(size) {}

View::~View() = default;

void View::draw(DrawContext*) {
    setDirty(false);
}

void View::drawRect(DrawContext* context, const Rect&) {
    draw(context);
}

bool View::intersects(const Rect& r) const {
    return r.right >= size_.left && size_.right >= r.left && r.bottom >= size_.top &&
           size_.bottom >= r.top;
}

void View::mouse(DrawContext*, Point) {}

void View::update(DrawContext* context) {
    if (!isDirty()) return;
    draw(context);
    setDirty(false);
}

long View::reservedWithTwoArguments(long, long) {
    return 0;
}
long View::onKeyDown(KeyCode&) {
    return -1;
}
long View::onKeyUp(KeyCode&) {
    return -1;
}
bool View::onDrop(void**, long, long, Point) {
    return false;
}
bool View::onWheel(DrawContext*, Point, float) {
    return false;
}
void View::reservedWithOneArgument(long) {}
void View::reservedWithOneArgumentToo(long) {}

bool View::isDirty() const {
    return dirty_;
}
void View::setDirty(bool state) {
    dirty_ = state;
}
void View::setMouseEnabled(bool enabled) {
    mouseEnabled_ = enabled;
}
bool View::getMouseEnabled() const {
    return mouseEnabled_;
}
void View::setMouseArea(const Rect& rect) {
    mouseArea_ = rect;
}

Rect& View::getMouseArea(Rect& rect) const {
    rect = mouseArea_;
    return rect;
}

bool View::hitTest(Point where, long) {
    return size_.contains(where);
}
void View::setTransparent(bool state) {
    transparent_ = state;
}
bool View::getTransparent() const {
    return transparent_;
}

void View::setViewSize(const Rect& rect) {
    size_ = rect;
    setDirty(true);
}

Rect& View::getViewSize(Rect& rect) const {
    rect = size_;
    return rect;
}

void View::setParentView(View*) {}
void View::setFrame(Frame* newFrame) {
    frame_ = newFrame;
}
EditorBase* View::getEditor() const {
    return frame_ ? frame_->getEditor() : nullptr;
}
bool View::removed(View*) {
    return true;
}
bool View::attached(View*) {
    return true;
}

void View::release() {
    if (referenceCount_ <= 0) return;
    if (--referenceCount_ == 0) delete this;
}

void View::retain() {
    ++referenceCount_;
}
long View::getReferenceCount() const {
    return referenceCount_;
}

void View::redraw() {
    if (frame_) frame_->drawView(this);
}

} // namespace qv
