#include "editor/LinkStrip.h"

#include "editor/EditorLayout.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/EditorBase.h"
#include "gui/InputSource.h"
#include "shell/AudioEffect.h"

#include <cstdio>
#include <new>

namespace layout = qv::layout;

namespace {

constexpr int kBoxPitch = 110;         // pixels from one box to the next, leftwards
constexpr float kPercent = 100.0f;     // percent per unit amount
constexpr double kDeadZone = 0.0001;   // smaller steps change nothing
constexpr FontId kBoxFont = 4;         // Arial 11 px
const Color kHighlight(102, 255, 255); // outline of the box being dragged

} // namespace

LinkStrip::LinkStrip(const Rect& size, ControlListener* listener, AudioEffect* effect)
    : View(size), effect(effect), listener(listener),
      stripBitmap(new (std::nothrow) Bitmap(layout::kBmpStripBackground.id)),
      boxBitmap(new (std::nothrow) Bitmap(layout::kBmpStripBox.id)) {
    const int stripWidth = stripBitmap ? stripBitmap->getWidth() : 0;
    const int stripHeight = stripBitmap ? stripBitmap->getHeight() : 0;
    const int boxWidth = boxBitmap ? boxBitmap->getWidth() : 0;
    const int boxHeight = boxBitmap ? boxBitmap->getHeight() : 0;
    strip = Rect(size.left, size.top, size.left + stripWidth, size.top + stripHeight);
    for (int i = 0; i < kBoxCount; ++i) {
        const int left = layout::kStripBoxX[0] - kBoxPitch * i;
        const int top = layout::kLinkBoxY;
        boxes[i] = Rect(left, top, left + boxWidth, top + boxHeight);
        // One pixel outside the box at its left and top edges.
        highlights[i] = Rect(left - 1, top - 1, left + boxWidth, top + boxHeight);
    }
}

LinkStrip::~LinkStrip() {
    if (stripBitmap) stripBitmap->release();
    if (boxBitmap) boxBitmap->release();
}

void LinkStrip::formatAmount(float amount, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // Whole percent, truncated: below 1 % (and NaN) shows 0.
    const float percent = amount * kPercent;
    if (!(percent >= 1.0f))
        std::snprintf(text, size, "0 %%");
    else if (percent < kPercent)
        std::snprintf(text, size, "%d %%", static_cast<int>(percent));
    else
        std::snprintf(text, size, "100 %%");
}

int LinkStrip::boxAt(Point p) const {
    for (int i = 0; i < kBoxCount; ++i)
        if (boxes[i].contains(p)) return i;
    return -1;
}

void LinkStrip::draw(DrawContext* context) {
    if (!context) return;
    if (stripBitmap) stripBitmap->draw(context, strip, Point(0, 0));
    for (int i = 0; i < kBoxCount; ++i) {
        if (boxBitmap) boxBitmap->draw(context, boxes[i], Point(0, 0));
        char text[16];
        formatAmount(effect ? effect->getParameter(kFirstParameter + i) : 0.0f, text, sizeof text);
        context->setFont(kBoxFont, 0, 0);
        context->setFontColor(kBlack);
        context->drawString(text, boxes[i], false, DrawContext::kAlignCenter);
    }
    if (selectedBox >= 1 && selectedBox <= kBoxCount) {
        context->setFrameColor(kHighlight);
        context->drawRect(highlights[selectedBox - 1]);
    }
    setDirty(false);
}

void LinkStrip::runIdlePump() {
    if (EditorBase* editor = getEditor()) editor->pumpIdle();
}

void LinkStrip::mouse(DrawContext* context, Point) {
    if (!context) return;
    InputSource& input = InputSource::current();
    bool pointerHidden = false;
    Point pressedAt;    // screen position of the pointer at the press, restored afterwards
    int box = -1;       // the box being dragged
    float value = 0.0f; // its running value
    int lastX = 0;      // x at the last change
    while (context->getButtonState() & DrawContext::kLButton) {
        const Point p = context->getPointerPosition();
        if (box < 0) {
            box = boxAt(p);
            if (box < 0) {
                selectedBox = 0;
                break;
            }
            selectedBox = box + 1;
            lastX = p.x;
            value = effect ? effect->getParameter(kFirstParameter + box) : 0.0f;
            pressedAt = input.cursorPosition();
            input.showCursor(false);
            pointerHidden = true;
        } else {
            const double delta = (p.x - lastX) * kValuePerPixel;
            if (delta < -kDeadZone || delta > kDeadZone) {
                double next = value + delta;
                if (next > 1.0)
                    next = 1.0;
                else if (!(next >= 0.0)) // NaN from the effect ends at the bottom too
                    next = 0.0;
                value = static_cast<float>(next);
                if (effect) effect->setParameter(kFirstParameter + box, value);
                lastX = p.x;
            }
        }
        runIdlePump();
    }
    if (context->getButtonState() & DrawContext::kRButton) {
        const int target = boxAt(context->getPointerPosition());
        if (target >= 0 && effect) effect->setParameter(kFirstParameter + target, kResetValue);
    }
    if (pointerHidden) {
        selectedBox = 0;
        draw(context);
        input.setCursorPosition(pressedAt);
        input.showCursor(true);
    }
}
