#include "editor/DragTracker.h"

#include "gui/DrawContext.h"
#include "gui/EditorBase.h"
#include "gui/InputSource.h"
#include "gui/View.h"

namespace qv {

DragTracker::DragTracker(DrawContext* context, View* view) : context_(context), view_(view) {}

DragTracker::~DragTracker() {
    restoreCursor();
}

void DragTracker::hideCursor() {
    if (hidden_) return;
    InputSource& input = InputSource::current();
    savedCursor_ = input.cursorPosition();
    input.showCursor(false);
    hidden_ = true;
}

void DragTracker::restoreCursor() {
    if (!hidden_) return;
    InputSource& input = InputSource::current();
    input.setCursorPosition(savedCursor_);
    input.showCursor(true);
    hidden_ = false;
}

bool DragTracker::leftHeld(Point& where) {
    if (!context_) return false;
    if (!(context_->getButtonState() & DrawContext::kLButton)) return false;
    where = context_->getPointerPosition();
    return true;
}

bool DragTracker::rightHeld(Point& where) {
    if (!context_) return false;
    if (!(context_->getButtonState() & DrawContext::kRButton)) return false;
    where = context_->getPointerPosition();
    return true;
}

void DragTracker::waitForRightRelease() {
    if (!context_) return;
    while (context_->getButtonState() & DrawContext::kRButton)
        pump();
}

void DragTracker::pump() {
    EditorBase* editor = view_ ? view_->getEditor() : nullptr;
    if (editor) editor->pumpIdle();
}

} // namespace qv
