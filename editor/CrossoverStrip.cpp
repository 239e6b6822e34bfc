#include "editor/CrossoverStrip.h"

#include "editor/EditorLayout.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/EditorBase.h"
#include "gui/InputSource.h"
#include "shell/AudioEffect.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace layout = qv::layout;

namespace {

constexpr int kFirstParameter = 0;     // "Freq1-2"; box i shows parameter i
constexpr int kBoxPitch = 110;         // pixels from one box to the next, leftwards
constexpr float kLowestHz = 40.0f;     // shown for anything at or below
constexpr float kHighestHz = 16000.0f; // shown for anything at or above
constexpr float kCurveBase = 2.1f;     // f = 2.1 ^ (8.2 x - 4.4) kHz
constexpr float kCurveSpan = 8.2f;     // exponent range over x = 0..1
constexpr float kCurveOffset = 4.4f;   // minus the exponent at x = 0
constexpr float kHzPerKHz = 1000.0f;   // Hz
constexpr double kDeadZone = 0.0001;   // smaller steps change nothing
constexpr FontId kBoxFont = 4;         // Arial 11 px
const Color kHighlight(102, 255, 255); // outline of the box being dragged

} // namespace

CrossoverStrip::CrossoverStrip(const Rect& size, ControlListener* listener, AudioEffect* effect)
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
        const int top = layout::kCrossoverBoxY;
        boxes[i] = Rect(left, top, left + boxWidth, top + boxHeight);
        // One pixel outside the box at its left and top edges.
        highlights[i] = Rect(left - 1, top - 1, left + boxWidth, top + boxHeight);
    }
}

CrossoverStrip::~CrossoverStrip() {
    if (stripBitmap) stripBitmap->release();
    if (boxBitmap) boxBitmap->release();
}

void CrossoverStrip::formatFrequency(float x, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // In double precision from the single-precision constants, truncated to whole Hz.
    const double hz = std::pow(static_cast<double>(kCurveBase),
                               static_cast<double>(x) * kCurveSpan - kCurveOffset) *
                      kHzPerKHz;
    // Truncation leaves 40 for anything below 41 Hz; NaN also shows the bottom.
    if (!(hz >= kLowestHz + 1.0))
        std::snprintf(text, size, "40 Hz");
    else if (hz < kHighestHz)
        std::snprintf(text, size, "%d Hz", static_cast<int>(hz));
    else
        std::snprintf(text, size, "16000 Hz");
}

int CrossoverStrip::boxAt(Point p) const {
    for (int i = 0; i < kBoxCount; ++i)
        if (boxes[i].contains(p)) return i;
    return -1;
}

void CrossoverStrip::draw(DrawContext* context) {
    if (!context) return;
    if (stripBitmap) stripBitmap->draw(context, strip, Point(0, 0));
    for (int i = 0; i < kBoxCount; ++i) {
        if (boxBitmap) boxBitmap->draw(context, boxes[i], Point(0, 0));
        char text[16];
        formatFrequency(effect ? effect->getParameter(kFirstParameter + i) : 0.0f, text,
                        sizeof text);
        context->setFont(kBoxFont, 0, 0);
        context->setFontColor(kBlack);
        context->drawString(text, boxes[i], false, DrawContext::kAlignCenter);
    }
    if (activeBox >= 1 && activeBox <= kBoxCount) {
        context->setFrameColor(kHighlight);
        context->drawRect(highlights[activeBox - 1]);
    }
    setDirty(false);
}

void CrossoverStrip::runIdlePump() {
    if (EditorBase* editor = getEditor()) editor->pumpIdle();
}

void CrossoverStrip::mouse(DrawContext* context, Point) {
    if (!context) return;
    InputSource& input = InputSource::current();
    bool pointerHidden = false;
    Point pressedAt;    // screen position of the pointer at the press, restored afterwards
    int box = -1;       // the box being dragged
    float value = 0.0f; // its running value
    int anchorX = 0;    // x at the last change
    while (context->getButtonState() & DrawContext::kLButton) {
        const Point p = context->getPointerPosition();
        if (box < 0) {
            box = boxAt(p);
            if (box < 0) {
                activeBox = 0;
                break;
            }
            activeBox = box + 1;
            anchorX = p.x;
            value = effect ? effect->getParameter(kFirstParameter + box) : 0.0f;
            if (!pointerHidden) {
                pressedAt = input.cursorPosition();
                input.showCursor(false);
                pointerHidden = true;
            }
        } else {
            const double delta = (p.x - anchorX) * kValuePerPixel;
            if (delta < -kDeadZone || delta > kDeadZone) {
                double next = value + delta;
                if (!(next >= 0.0)) next = 0.0; // NaN from the effect ends at the bottom too
                if (next > 1.0) next = 1.0;
                value = static_cast<float>(next);
                if (effect) effect->setParameter(kFirstParameter + box, value);
                anchorX = p.x;
            }
        }
        runIdlePump();
    }
    if (context->getButtonState() & DrawContext::kRButton) {
        const int target = boxAt(context->getPointerPosition());
        if (target >= 0 && effect) effect->setParameter(kFirstParameter + target, kResetValue);
    }
    if (pointerHidden) {
        activeBox = 0;
        draw(context);
        input.setCursorPosition(pressedAt);
        input.showCursor(true);
    }
}
