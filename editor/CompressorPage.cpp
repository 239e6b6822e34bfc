#include "editor/CompressorPage.h"

#include "params/EditorNotification.h"

#include "editor/DragTracker.h"
#include "editor/PanelArt.h"
#include "editor/ValueStep.h"
#include "editor/ValueText.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

#include <cmath>

namespace qv {

namespace pageHint = hint::compressor;
using Q = CompressorQuantity;

namespace {

// A value box: place, quantity, drag element, redraw hint, value the right button writes.
struct Box {
    const layout::LayoutRect& place;
    Q quantity;
    CompressorPage::Element element;
    int hint;
    float reset;
};

constexpr double kBoxPerPixel = 0.001;     // horizontal drags, right = up
constexpr double kMarkerPerPixel = -0.001; // the threshold marker, up = up
// Domain steps per unit of delta: a box moves the level 24 dB and the threshold 20 dB per unit,
// the marker the threshold 40 dB (5 pixels per dB on the strip).
constexpr ValueStep::Scale kBoxScale{24.0, 20.0, 24.5};
constexpr ValueStep::Scale kMarkerScale{24.0, 40.0, 24.5};
constexpr float kMarkerReset = 1.0f;

constexpr int kChannelButtons = 5;
constexpr float kChannelValues[kChannelButtons] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f}; // band 5..1

constexpr Color kMeterColorOne{217, 0, 87};
constexpr Color kMeterColorTwo{255, 0, 102};
constexpr float kMeterTop = 1.0f;           // reading at row 0
constexpr float kMeterFloor = 0.00316f;     // -50 dB: the bottom row
constexpr double kMeterRowsPerDecade = 100; // 5 pixels per dB
constexpr int kMarkerTravel = 200;          // pixels from 0 dB to -40 dB

// The seven value boxes, in the order a full page draws them.
const Box kBoxes[] = {
    {layout::kPageARatio, Q::Ratio, CompressorPage::kRatioBox, pageHint::kRatio, 0.5f},
    {layout::kPageAThreshold, Q::Threshold, CompressorPage::kThresholdBox, pageHint::kThreshold,
     1.0f},
    {layout::kPageAInputLevel, Q::InputLevel, CompressorPage::kInputLevelBox, pageHint::kInputLevel,
     0.5f},
    {layout::kPageAOutputLevel, Q::OutputLevel, CompressorPage::kOutputLevelBox,
     pageHint::kOutputLevel, 0.5f},
    {layout::kPageAAttack, Q::AttackTime, CompressorPage::kAttackBox, pageHint::kAttackTime, 0.25f},
    {layout::kPageAReleaseTime, Q::ReleaseTime, CompressorPage::kReleaseTimeBox,
     pageHint::kReleaseTime, 0.5f},
    {layout::kPageAReleaseDepth, Q::ReleaseDepth, CompressorPage::kReleaseDepthBox,
     pageHint::kReleaseDepth, 0.5f},
};

// The round switches: place, picture, quantity, hint.
struct SwitchPlace {
    const layout::LayoutRect& place;
    const layout::BitmapSpec& picture;
    Q quantity;
    int hint;
};
const SwitchPlace kSwitches[] = {
    {layout::kPageAAttackCurve, layout::kBmpAttackCurveSwitch, Q::AttackCurve,
     pageHint::kAttackCurve},
    {layout::kPageAReleaseMode, layout::kBmpReleaseModeSwitch, Q::ReleaseMode,
     pageHint::kReleaseMode},
    {layout::kPageAAutoReleaseType, layout::kBmpAutoReleaseTypeSwitch, Q::AutoReleaseType,
     pageHint::kAutoReleaseType},
};

} // namespace

int CompressorPage::meterRow(float value) {
    if (value >= kMeterTop) return 0;
    if (!(value > kMeterFloor)) return kMeterRows;
    return static_cast<int>(-kMeterRowsPerDecade * std::log10(static_cast<double>(value)));
}

int CompressorPage::markerTop(float threshold) {
    double offset = (1.0 - static_cast<double>(threshold)) * kMarkerTravel;
    if (!(offset >= 0.0)) offset = 0.0; // above 0 dB, or NaN: the top
    if (offset > kMarkerTravel) offset = kMarkerTravel;
    return layout::kPageAThresholdTrack.top + static_cast<int>(offset);
}

void CompressorPage::drawBox(DrawContext* context, const layout::LayoutRect& place, Q q, int band) {
    char text[ValueText::kSize];
    ValueText::quantity(q, param(CompressorBands::parameter(q, band)), text);
    drawValueBox(context, layout::kBmpValueBox, place.left, place.top, text);
}

void CompressorPage::drawSwitch(DrawContext* context, Q q, int band) {
    for (const SwitchPlace& s : kSwitches) {
        if (s.quantity != q) continue;
        const float v = param(CompressorBands::parameter(q, band));
        drawFrame(context, s.picture, s.place.left, s.place.top, v < 0.5f ? 0 : 1);
    }
}

void CompressorPage::drawChannelButtons(DrawContext* context, int band) {
    const layout::LayoutRect& r = layout::kPageAChannel;
    drawFrame(context, layout::kBmpChannelButtons, r.left, r.top, 5 - band);
}

void CompressorPage::drawMeter(DrawContext* context, int band) {
    Bitmap* strip = art_.get(layout::kBmpPageAMeter);
    if (!strip || !context) return;
    const int level = meterRow(reading(tag::kBandLevelFirst + band - 1));
    const int reduction = meterRow(10.0f * reading(tag::kBandReductionFirst + band - 1));
    OffscreenContext meter(context, strip);
    // fillRect covers left + 1 .. right and top + 1 .. bottom.
    if (level < kMeterRows) {
        meter.setFillColor(kMeterColorOne);
        meter.fillRect(Rect(11, level - 1, 13, kMeterRows)); // x 12..13
        meter.setFillColor(kMeterColorTwo);
        meter.fillRect(Rect(6, level - 1, 11, kMeterRows)); // x 7..11
    }
    if (reduction > 0) {
        meter.setFillColor(kMeterColorOne);
        meter.fillRect(Rect(1, -1, 2, reduction)); // x 2
        meter.setFillColor(kMeterColorTwo);
        meter.fillRect(Rect(-1, -1, 1, reduction)); // x 0..1
    }
    meter.copyTo(context, toRect(layout::kPageAMeterStrip));
}

void CompressorPage::drawThresholdMarker(DrawContext* context, int band) {
    const layout::LayoutRect& track = layout::kPageAThresholdTrack;
    drawFrame(context, layout::kBmpThresholdStrip, track.left, track.top, 0);
    const float threshold = param(CompressorBands::parameter(Q::Threshold, band));
    drawFrame(context, layout::kBmpThresholdMarker, track.left, markerTop(threshold), 0, true);
}

void CompressorPage::draw(DrawContext* context, int hint) {
    const int band = CompressorBands::selectedBand(param(param::kSelectedChannel));
    if (hint == hint::kAll) {
        drawBackground(context, layout::kBmpPageABackground);
        drawChannelButtons(context, band);
        drawMeter(context, band);
        drawThresholdMarker(context, band);
        for (const Box& box : kBoxes)
            drawBox(context, box.place, box.quantity, band);
        for (const SwitchPlace& s : kSwitches)
            drawSwitch(context, s.quantity, band);
        return;
    }
    if (hint == pageHint::kMeter) {
        drawMeter(context, band);
        return;
    }
    if (hint == pageHint::kThreshold) drawThresholdMarker(context, band);
    for (const Box& box : kBoxes)
        if (box.hint == hint) drawBox(context, box.place, box.quantity, band);
    for (const SwitchPlace& s : kSwitches)
        if (s.hint == hint) drawSwitch(context, s.quantity, band);
}

void CompressorPage::mouse(DrawContext* context, Point where) {
    activeElement_ = kNone;
    if (!context) return;
    const int buttons = context->getButtonState();
    const bool left = (buttons & DrawContext::kLButton) != 0;
    const bool right = !left && (buttons & DrawContext::kRButton) != 0;
    if (!left && !right) return;
    // The band is chosen once, at the press.
    const int band = CompressorBands::selectedBand(param(param::kSelectedChannel));
    DragTracker tracker(context, &panel_);

    const layout::LayoutRect& channels = layout::kPageAChannel;
    if (inside(channels, where)) {
        if (!left) return;
        int button = (where.x - channels.left) / (channels.bottom - channels.top);
        if (button >= kChannelButtons) button = kChannelButtons - 1; // the right edge
        write(param::kSelectedChannel, kChannelValues[button]);
        return;
    }
    for (const Box& box : kBoxes) {
        if (!inside(box.place, where)) continue;
        const int index = CompressorBands::parameter(box.quantity, band);
        if (right) {
            tracker.waitForRightRelease();
            write(index, box.reset);
            return;
        }
        activeElement_ = box.element;
        float v = param(index);
        tracker.drag(where, true, kBoxPerPixel, [&](double delta) {
            v = ValueStep::quantity(box.quantity, v, delta, kBoxScale);
            write(index, v);
        });
        activeElement_ = kNone;
        return;
    }
    if (inside(layout::kPageAThresholdTrack, where)) {
        const int index = CompressorBands::parameter(Q::Threshold, band);
        if (right) {
            tracker.waitForRightRelease();
            write(index, kMarkerReset);
            return;
        }
        activeElement_ = kThresholdMarker;
        float v = param(index);
        tracker.drag(where, false, kMarkerPerPixel, [&](double delta) {
            v = ValueStep::quantity(Q::Threshold, v, delta, kMarkerScale);
            write(index, v);
        });
        activeElement_ = kNone;
        return;
    }
    if (!left) return;
    for (const SwitchPlace& s : kSwitches)
        if (inside(s.place, where)) {
            toggle(CompressorBands::parameter(s.quantity, band));
            return;
        }
}

} // namespace qv
