#include "gui/Control.h"

#include "gui/Bitmap.h"
#include "gui/EditorBase.h"
#include "gui/EditorOwner.h"
#include "gui/Frame.h"

namespace qv {

Control::Control(const Rect& size, ControlListener* listener, long tag, Bitmap* background)
    : View(size), listener_(listener), tag_(tag), background_(background) {
    if (background) background->retain();
}

Control::~Control() {
    if (background_) background_->release();
}

bool Control::isDirty() const {
    // Written as "not equal" so that a NaN on either side counts as different.
    return !(lastDrawnValue_ == value_) || View::isDirty();
}

void Control::setDirty(bool state) {
    View::setDirty(state);
    if (state)
        lastDrawnValue_ = value_ == -1.0f ? 0.0f : -1.0f;
    else
        lastDrawnValue_ = value_;
}

void Control::pumpIdle() {
    if (EditorBase* editor = getEditor()) editor->pumpIdle();
}

void Control::setValue(float v) {
    value_ = v;
}
float Control::getValue() const {
    return value_;
}
void Control::setMin(float v) {
    minimum_ = v;
}
float Control::getMin() const {
    return minimum_;
}
void Control::setMax(float v) {
    maximum_ = v;
}
float Control::getMax() const {
    return maximum_;
}
void Control::setLastDrawnValue(float v) {
    lastDrawnValue_ = v;
}
float Control::getLastDrawnValue() const {
    return lastDrawnValue_;
}
void Control::setDefaultValue(float v) {
    defaultValue_ = v;
}
float Control::getDefaultValue() const {
    return defaultValue_;
}
void Control::setTag(long newTag) {
    tag_ = newTag;
}

void Control::setBackground(Bitmap* bitmap) {
    if (bitmap) bitmap->retain(); // first, in case it is the one we hold
    if (background_) background_->release();
    background_ = bitmap;
}

Bitmap* Control::getBackground() const {
    return background_;
}
void Control::setSourceOffset(Point offset) {
    sourceOffset_ = offset;
}
void Control::setSourceOffsetToOrigin() {
    sourceOffset_ = Point(size_.left, size_.top);
}
void Control::setWheelIncrement(float v) {
    wheelIncrement_ = v;
}
float Control::getWheelIncrement() const {
    return wheelIncrement_;
}

void Control::clampValue() {
    if (value_ > maximum_)
        value_ = maximum_;
    else if (value_ < minimum_)
        value_ = minimum_;
}

void Control::beginEdit() {
    EditorBase* editor = getEditor();
    if (EditorOwner* owner = editor ? editor->getOwner() : nullptr) owner->beginEdit(tag_);
}

void Control::endEdit() {
    EditorBase* editor = getEditor();
    if (EditorOwner* owner = editor ? editor->getOwner() : nullptr) owner->endEdit(tag_);
}

} // namespace qv
