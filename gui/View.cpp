#include "gui/View.h"

#include "gui/Frame.h"

namespace qv {

View::View(const Rect& size) : size(size), mouseArea(size) {}

View::~View() = default;

void View::draw(DrawContext*) {
    setDirty(false);
}

void View::drawRect(DrawContext* context, const Rect&) {
    draw(context);
}

bool View::intersects(const Rect& r) const {
    return r.right >= size.left && size.right >= r.left && r.bottom >= size.top &&
           size.bottom >= r.top;
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
    return dirty;
}
void View::setDirty(bool state) {
    dirty = state;
}
void View::setMouseEnabled(bool enabled) {
    mouseEnabled = enabled;
}
bool View::getMouseEnabled() const {
    return mouseEnabled;
}
void View::setMouseArea(const Rect& rect) {
    mouseArea = rect;
}

Rect& View::getMouseArea(Rect& rect) const {
    rect = mouseArea;
    return rect;
}

bool View::hitTest(Point where, long) {
    return size.contains(where);
}
void View::setTransparent(bool state) {
    transparent = state;
}
bool View::getTransparent() const {
    return transparent;
}

void View::setViewSize(const Rect& rect) {
    size = rect;
    setDirty(true);
}

Rect& View::getViewSize(Rect& rect) const {
    rect = size;
    return rect;
}

void View::setParentView(View*) {}
void View::setFrame(Frame* newFrame) {
    frame = newFrame;
}
EditorBase* View::getEditor() const {
    return frame ? frame->getEditor() : nullptr;
}
bool View::removed(View*) {
    return true;
}
bool View::attached(View*) {
    return true;
}

void View::release() {
    if (referenceCount <= 0) return;
    if (--referenceCount == 0) delete this;
}

void View::retain() {
    ++referenceCount;
}
long View::getReferenceCount() const {
    return referenceCount;
}

void View::redraw() {
    if (frame) frame->drawView(this);
}

} // namespace qv
