#include "editor/DragTracker.h"

#include "gui/DrawContext.h"
#include "gui/EditorBase.h"
#include "gui/InputSource.h"
#include "gui/View.h"

namespace qv {

DragTracker::DragTracker(DrawContext* context, View* view) : context(context), view(view) {}

DragTracker::~DragTracker() {
    restoreCursor();
}

void DragTracker::hideCursor() {
    if (hidden) return;
    InputSource& input = InputSource::current();
    savedCursor = input.cursorPosition();
    input.showCursor(false);
    hidden = true;
}

void DragTracker::restoreCursor() {
    if (!hidden) return;
    InputSource& input = InputSource::current();
    input.setCursorPosition(savedCursor);
    input.showCursor(true);
    hidden = false;
}

bool DragTracker::leftHeld(Point& where) {
    if (!context) return false;
    if (!(context->getButtonState() & DrawContext::kLButton)) return false;
    where = context->getPointerPosition();
    return true;
}

bool DragTracker::rightHeld(Point& where) {
    if (!context) return false;
    if (!(context->getButtonState() & DrawContext::kRButton)) return false;
    where = context->getPointerPosition();
    return true;
}

void DragTracker::waitForRightRelease() {
    if (!context) return;
    while (context->getButtonState() & DrawContext::kRButton)
        pump();
}

void DragTracker::pump() {
    EditorBase* editor = view ? view->getEditor() : nullptr;
    if (editor) editor->pumpIdle();
}

} // namespace qv
