#include "gui/Control.h"

#include "gui/Bitmap.h"
#include "gui/EditorBase.h"
#include "gui/EditorOwner.h"
#include "gui/Frame.h"

namespace qv {

Control::Control(const Rect& size, ControlListener* listener, long tag, Bitmap* background)
    : View(size), listener(listener), tag(tag), background(background) {
    if (background) background->retain();
}

Control::~Control() {
    if (background) background->release();
}

bool Control::isDirty() const {
    // Written as "not equal" so that a NaN on either side counts as different.
    return !(lastDrawnValue == value) || View::isDirty();
}

void Control::setDirty(bool state) {
    View::setDirty(state);
    if (state)
        lastDrawnValue = value == -1.0f ? 0.0f : -1.0f;
    else
        lastDrawnValue = value;
}

void Control::pumpIdle() {
    if (EditorBase* editor = getEditor()) editor->pumpIdle();
}

void Control::setValue(float v) {
    value = v;
}
float Control::getValue() const {
    return value;
}
void Control::setMin(float v) {
    minimum = v;
}
float Control::getMin() const {
    return minimum;
}
void Control::setMax(float v) {
    maximum = v;
}
float Control::getMax() const {
    return maximum;
}
void Control::setLastDrawnValue(float v) {
    lastDrawnValue = v;
}
float Control::getLastDrawnValue() const {
    return lastDrawnValue;
}
void Control::setDefaultValue(float v) {
    defaultValue = v;
}
float Control::getDefaultValue() const {
    return defaultValue;
}
void Control::setTag(long newTag) {
    tag = newTag;
}

void Control::setBackground(Bitmap* bitmap) {
    if (bitmap) bitmap->retain(); // first, in case it is the one we hold
    if (background) background->release();
    background = bitmap;
}

Bitmap* Control::getBackground() const {
    return background;
}
void Control::setSourceOffset(Point offset) {
    sourceOffset = offset;
}
void Control::setSourceOffsetToOrigin() {
    sourceOffset = Point(size.left, size.top);
}
void Control::setWheelIncrement(float v) {
    wheelIncrement = v;
}
float Control::getWheelIncrement() const {
    return wheelIncrement;
}

void Control::clampValue() {
    if (value > maximum)
        value = maximum;
    else if (value < minimum)
        value = minimum;
}

void Control::beginEdit() {
    EditorBase* editor = getEditor();
    if (EditorOwner* owner = editor ? editor->getOwner() : nullptr) owner->beginEdit(tag);
}

void Control::endEdit() {
    EditorBase* editor = getEditor();
    if (EditorOwner* owner = editor ? editor->getOwner() : nullptr) owner->endEdit(tag);
}

} // namespace qv
