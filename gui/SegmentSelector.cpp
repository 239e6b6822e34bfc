#include "gui/SegmentSelector.h"

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/DrawContext.h"

#include <cmath>

namespace qv {

namespace {

constexpr int kMinSegments = 2;
constexpr long kLeftWithControl = DrawContext::kLButton | DrawContext::kControl; // 17

} // namespace

SegmentSelector::SegmentSelector(const Rect& size, ControlListener* listener, long tag,
                                 int frameHeight, int segments, Bitmap* background, Point offset)
    : Control(size, listener, tag, background), frameHeight_(frameHeight),
      segments_(segments < kMinSegments ? kMinSegments : segments) {
    sourceOffset_ = offset;
    defaultValue_ = 0.0f;
}

void SegmentSelector::draw(DrawContext* context) {
    if (background_) {
        // Single precision, rounded to the nearest picture.
        const float position = static_cast<float>(segments_ - 1) * value_ + 0.5f;
        int index = 0;
        if (position >= 1.0f) // also false for NaN
            index = position >= static_cast<float>(segments_) ? segments_ - 1
                                                              : static_cast<int>(position);
        const Point source(0, index * frameHeight_);
        if (transparent_)
            background_->drawTransparent(context, size_, source);
        else
            background_->draw(context, size_, source);
    }
    setDirty(false);
}

float SegmentSelector::valueAt(Point where) const {
    // The background's width divides into the segments; without a picture the view's width.
    const int width =
        background_ && background_->getWidth() > 0 ? background_->getWidth() : size_.width();
    if (width <= 0) return 0.0f;
    const double segmentWidth = static_cast<double>(width) / segments_;
    const double index = std::trunc((where.x - size_.left) / segmentWidth);
    float v = static_cast<float>(index) / static_cast<float>(segments_ - 1);
    if (v > 1.0f)
        v = 1.0f;
    else if (v < 0.0f)
        v = 0.0f;
    return v;
}

void SegmentSelector::mouse(DrawContext* context, Point where) {
    if (!mouseEnabled_ || !context) return;
    const long buttons = context->getButtonState();
    if (!(buttons & DrawContext::kLButton)) return;
    if (buttons == kLeftWithControl) {
        value_ = getDefaultValue();
        if (isDirty() && listener_) listener_->valueChanged(context, this);
        return;
    }
    beginEdit();
    do {
        value_ = valueAt(where);
        if (isDirty() && listener_) listener_->valueChanged(context, this);
        where = context->getPointerPosition();
        pumpIdle();
    } while (context->getButtonState() == buttons);
    endEdit();
}

} // namespace qv
