#include "editor/ValueBoxStrip.h"

#include "editor/DragTracker.h"
#include "editor/EditorLayout.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "shell/AudioEffect.h"

#include <new>

namespace qv {

namespace {

constexpr int kBoxPitch = 110;         // pixels from one box to the next, leftwards
constexpr FontId kBoxFont = 4;         // Arial 11 px
const Color kHighlight(102, 255, 255); // outline of the box being dragged

} // namespace

ValueBoxStrip::ValueBoxStrip(const Rect& size, AudioEffect* effect, int boxTop, int pressTop,
                             int pressBottom)
    : View(size), effect_(effect),
      stripBitmap_(new (std::nothrow) Bitmap(layout::kBmpStripBackground.id)),
      boxBitmap_(new (std::nothrow) Bitmap(layout::kBmpStripBox.id)), pressTop_(pressTop),
      pressBottom_(pressBottom) {
    const int stripWidth = stripBitmap_ ? stripBitmap_->getWidth() : 0;
    const int stripHeight = stripBitmap_ ? stripBitmap_->getHeight() : 0;
    const int boxWidth = boxBitmap_ ? boxBitmap_->getWidth() : 0;
    const int boxHeight = boxBitmap_ ? boxBitmap_->getHeight() : 0;
    strip_ = Rect(size.left, size.top, size.left + stripWidth, size.top + stripHeight);
    for (int i = 0; i < kBoxCount; ++i) {
        const int left = layout::kStripBoxX[0] - kBoxPitch * i;
        boxes_[i] = Rect(left, boxTop, left + boxWidth, boxTop + boxHeight);
        // One pixel outside the box at its left and top edges.
        highlights_[i] = Rect(left - 1, boxTop - 1, left + boxWidth, boxTop + boxHeight);
    }
}

ValueBoxStrip::~ValueBoxStrip() {
    if (stripBitmap_) stripBitmap_->release();
    if (boxBitmap_) boxBitmap_->release();
}

int ValueBoxStrip::boxAt(Point p) const {
    if (p.y < pressTop_ || p.y > pressBottom_) return -1;
    for (int i = 0; i < kBoxCount; ++i)
        if (p.x >= boxes_[i].left && p.x <= boxes_[i].right) return i;
    return -1;
}

void ValueBoxStrip::draw(DrawContext* context) {
    if (!context) return;
    if (stripBitmap_) stripBitmap_->draw(context, strip_, Point(0, 0));
    for (int i = 0; i < kBoxCount; ++i) {
        if (boxBitmap_) boxBitmap_->draw(context, boxes_[i], Point(0, 0));
        char text[16];
        formatValue(effect_ ? effect_->getParameter(parameterOf(i)) : 0.0f, text, sizeof text);
        context->setFont(kBoxFont, 0, 0);
        context->setFontColor(kBlack);
        context->drawString(text, boxes_[i], false, DrawContext::kAlignCenter);
    }
    if (activeBox_ >= 1 && activeBox_ <= kBoxCount) {
        context->setFrameColor(kHighlight);
        context->drawRect(highlights_[activeBox_ - 1]);
    }
    setDirty(false);
}

void ValueBoxStrip::mouse(DrawContext* context, Point) {
    if (!context) return;
    DragTracker tracker(context, this);
    int box = -1;       // the box being dragged
    float value = 0.0f; // its running value
    const bool dragged = tracker.pickAndDrag(
        true, kValuePerPixel,
        [&](Point p) {
            box = boxAt(p);
            activeBox_ = box + 1; // 0 on a miss
            if (box < 0) return false;
            value = effect_ ? effect_->getParameter(parameterOf(box)) : 0.0f;
            return true;
        },
        [&](double delta) {
            double next = value + delta;
            if (!(next >= 0.0)) next = 0.0; // NaN from the effect ends at the bottom too
            if (next > 1.0) next = 1.0;
            value = static_cast<float>(next);
            if (effect_) effect_->setParameter(parameterOf(box), value);
        });
    Point p;
    if (tracker.rightHeld(p)) {
        const int target = boxAt(p);
        if (target >= 0 && effect_) effect_->setParameter(parameterOf(target), kResetValue);
    }
    if (dragged) {
        activeBox_ = 0;
        draw(context);
        tracker.restoreCursor();
    }
}

} // namespace qv
