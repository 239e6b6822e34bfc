#include "gui/ToggleButton.h"

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"

namespace qv {

ToggleButton::ToggleButton(const Rect& size, ControlListener* listener, long tag, int frameHeight,
                           Bitmap* background, Point offset)
    : Control(size, listener, tag, background), frameHeight(frameHeight), valueDrawn(value) {
    sourceOffset = offset;
}

void ToggleButton::draw(DrawContext* context) {
    clampValue();
    const Point source(0, isSet(value) ? frameHeight : 0);
    if (background) {
        if (transparent)
            background->drawTransparent(context, size, source);
        else
            background->draw(context, size, source);
    }
    valueDrawn = value;
    setDirty(false);
}

void ToggleButton::mouse(DrawContext* context, Point where) {
    if (!mouseEnabled || !context) return;
    const long buttons = context->getButtonState();
    if (!(buttons & DrawContext::kLButton)) return;
    const float start = value;
    if (context->getButtonState() != 0) {
        // Still held: show the flipped value while the pointer is on the button.
        beginEdit();
        do {
            float candidate = start;
            if (size.contains(where)) candidate = isSet(start) ? 0.0f : 1.0f;
            value = candidate;
            if (isDirty() && listener) listener->valueChanged(context, this);
            where = context->getPointerPosition();
            pumpIdle();
        } while (context->getButtonState() == buttons);
        endEdit();
    } else {
        // Released before we looked: a plain click.
        value = isSet(value) ? 0.0f : 1.0f;
        if (listener) listener->valueChanged(context, this);
    }
    valueDrawn = value;
}

} // namespace qv
