#include "gui/ToggleButton.h"

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"

namespace qv {

ToggleButton::ToggleButton(const Rect& size, ControlListener* listener, long tag, int frameHeight,
                           Bitmap* background, Point offset)
    : Control(size, listener, tag, background), frameHeight_(frameHeight), valueDrawn_(value_) {
    sourceOffset_ = offset;
}

void ToggleButton::draw(DrawContext* context) {
    clampValue();
    const Point source(0, isSet(value_) ? frameHeight_ : 0);
    if (background_) {
        if (transparent_)
            background_->drawTransparent(context, size_, source);
        else
            background_->draw(context, size_, source);
    }
    valueDrawn_ = value_;
    setDirty(false);
}

void ToggleButton::mouse(DrawContext* context, Point where) {
    if (!mouseEnabled_ || !context) return;
    const long buttons = context->getButtonState();
    if (!(buttons & DrawContext::kLButton)) return;
    const float start = value_;
    if (context->getButtonState() != 0) {
        // Still held: show the flipped value while the pointer is on the button.
        beginEdit();
        do {
            float candidate = start;
            if (size_.contains(where)) candidate = isSet(start) ? 0.0f : 1.0f;
            value_ = candidate;
            if (isDirty() && listener_) listener_->valueChanged(context, this);
            where = context->getPointerPosition();
            pumpIdle();
        } while (context->getButtonState() == buttons);
        endEdit();
    } else {
        // Released before we looked: a plain click.
        value_ = isSet(value_) ? 0.0f : 1.0f;
        if (listener_) listener_->valueChanged(context, this);
    }
    valueDrawn_ = value_;
}

} // namespace qv
