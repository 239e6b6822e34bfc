#include "editor/LimiterPage.h"

#include "dsp/math/CoefficientMath.h"

#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"

#include "editor/DragTracker.h"
#include "editor/PanelArt.h"
#include "editor/ValueStep.h"
#include "editor/ValueText.h"
#include "gui/DrawContext.h"

#include <cmath>

namespace qv {

namespace pageHint = hint::limiter;

namespace {

constexpr int kClipButtons = 5;
constexpr float kClipValues[kClipButtons] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f};
constexpr double kBoxPerPixel = 0.001;    // release boxes: normalised units per pixel
constexpr double kCeilingDbPerStep = 3.0; // ceiling knob: 0.003 dB per pixel
constexpr double kCeilingFloorDb = -5.99; // lowest ceiling a drag reaches
// What the right button puts back.
constexpr float kCeilingDefault = 0.998f;
constexpr float kReleaseTimeDefault = 0.1f;
constexpr float kReleaseDepthDefault = 0.40625f;

} // namespace

int LimiterPage::clipFrame(float v) {
    if (v < 0.2f) return 0;
    if (v < 0.4f) return 1;
    if (v < 0.6f) return 2;
    if (v < 0.8f) return 3;
    return 4;
}

float LimiterPage::ceilingStep(float v, double dB) {
    const double start = v == v ? static_cast<double>(v) : 1.0;
    double c = ceilingDb(start) + dB;
    if (c > 0.0) c = 0.0;
    if (c < kCeilingFloorDb) c = kCeilingFloorDb;
    const double next = (c + kCeilingSpanDb) / kCeilingSpanDb;
    return static_cast<float>(next < 0.0 ? 0.0 : next > 1.0 ? 1.0 : next);
}

void LimiterPage::flip(int index) {
    write(index, std::round(param(index)) == 1.0f ? 0.0f : 1.0f);
}

void LimiterPage::drawPower(DrawContext* context) {
    const layout::LayoutRect& r = layout::kPageCPower;
    drawFrame(context, layout::kBmpSmallSwitch, r.left, r.top,
              param(param::kLtLimSw) > 0.5f ? 1 : 0);
}

void LimiterPage::drawClip(DrawContext* context) {
    const layout::LayoutRect& r = layout::kPageCClipCurve;
    drawFrame(context, layout::kBmpClipCurveSwitch, r.left, r.top,
              clipFrame(param(param::kLtClip)));
}

void LimiterPage::drawCeiling(DrawContext* context) {
    char text[ValueText::kSize];
    ValueText::ceiling(param(param::kLtCeiling), text);
    const layout::LayoutRect& r = layout::kPageCCeiling;
    drawValueBox(context, layout::kBmpCeilingBox, r.left, r.top, text, false, 3, kFontBold);
}

void LimiterPage::drawReleaseSwitch(DrawContext* context) {
    const layout::LayoutRect& r = layout::kPageCReleaseSwitch;
    drawFrame(context, layout::kBmpReleaseModeSwitch, r.left, r.top,
              param(param::kLtRelSw) < 0.5f ? 0 : 1);
}

void LimiterPage::drawReleaseDepth(DrawContext* context) {
    char text[ValueText::kSize];
    ValueText::releaseDepth(param(param::kLtRelA), text);
    const layout::LayoutRect& r = layout::kPageCReleaseDepth;
    drawValueBox(context, layout::kBmpValueBox, r.left, r.top, text);
}

void LimiterPage::drawReleaseTime(DrawContext* context) {
    char text[ValueText::kSize];
    ValueText::releaseTime(param(param::kLtRelM), text);
    const layout::LayoutRect& r = layout::kPageCReleaseTime;
    drawValueBox(context, layout::kBmpValueBox, r.left, r.top, text);
}

void LimiterPage::draw(DrawContext* context, int hint) {
    switch (hint) {
    case hint::kAll:
        drawBackground(context, layout::kBmpPageCBackground);
        drawPower(context);
        drawClip(context);
        drawCeiling(context);
        drawReleaseTime(context);
        drawReleaseDepth(context);
        drawReleaseSwitch(context);
        break;
    case pageHint::kPower:
        drawPower(context);
        break;
    case pageHint::kClip:
        drawClip(context);
        break;
    case pageHint::kCeiling:
        drawCeiling(context);
        break;
    case pageHint::kReleaseSwitch:
        drawReleaseSwitch(context);
        break;
    case pageHint::kReleaseDepth:
        drawReleaseDepth(context);
        break;
    case pageHint::kReleaseTime:
        drawReleaseTime(context);
        break;
    default:
        break;
    }
}

void LimiterPage::mouse(DrawContext* context, Point where) {
    if (!context) return;
    const int buttons = context->getButtonState();
    DragTracker tracker(context, &panel_);

    if (buttons & DrawContext::kLButton) {
        const layout::LayoutRect& clip = layout::kPageCClipCurve;
        if (inside(clip, where)) {
            int button = (where.x - clip.left) * kClipButtons / (clip.right - clip.left);
            if (button >= kClipButtons) button = kClipButtons - 1; // the right edge
            write(param::kLtClip, kClipValues[button]);
        } else if (inside(layout::kPageCCeilingKnob, where)) {
            activeElement_ = kCeilingKnob;
            float v = param(param::kLtCeiling);
            tracker.drag(where, true, kBoxPerPixel, [&](double delta) {
                v = ceilingStep(v, kCeilingDbPerStep * delta);
                write(param::kLtCeiling, v);
            });
        } else if (inside(layout::kPageCReleaseTime, where) ||
                   inside(layout::kPageCReleaseDepth, where)) {
            const bool time = inside(layout::kPageCReleaseTime, where);
            activeElement_ = time ? kReleaseTimeBox : kReleaseDepthBox;
            const int index = time ? param::kLtRelM : param::kLtRelA;
            float v = param(index);
            tracker.drag(where, true, kBoxPerPixel, [&](double delta) {
                v = ValueStep::normalised(v, delta);
                write(index, v);
            });
        } else if (inside(layout::kPageCPower, where)) {
            flip(param::kLtLimSw);
        } else if (inside(layout::kPageCReleaseSwitch, where)) {
            flip(param::kLtRelSw);
        }
        activeElement_ = kNone;
        return;
    }
    if (buttons & DrawContext::kRButton) {
        int index = -1;
        float value = 0.0f;
        if (inside(layout::kPageCCeilingKnob, where)) {
            index = param::kLtCeiling;
            value = kCeilingDefault;
        } else if (inside(layout::kPageCReleaseTime, where)) {
            index = param::kLtRelM;
            value = kReleaseTimeDefault;
        } else if (inside(layout::kPageCReleaseDepth, where)) {
            index = param::kLtRelA;
            value = kReleaseDepthDefault;
        }
        activeElement_ = kNone;
        if (index < 0) return;
        tracker.waitForRightRelease();
        write(index, value);
    }
}

} // namespace qv
