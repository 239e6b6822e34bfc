#include "editor/OutputStageView.h"

#include "dsp/math/CoefficientMath.h"
#include "dsp/math/SingleRounding.h"
#include "params/EditorNotification.h"

#include "editor/DragTracker.h"
#include "editor/EditorLayout.h"
#include "editor/RectOf.h"
#include "editor/ValueStep.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"
#include "shell/AudioEffect.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <new>

namespace qv {

namespace outputHint = hint::output;

namespace {

const Color kDarkBar(217, 0, 87);    // the narrow edge of each bar
const Color kBrightBar(255, 0, 102); // the body of each bar
const Color kOverLevel(221, 0, 88);  // peak readouts at or above full scale

// Columns of the scale picture a bar lights, both ends included.
struct BarColumns {
    int darkFirst, darkLast;
    int brightFirst, brightLast;
};
constexpr BarColumns kBars[OutputStageView::kMeterCount] = {
    {11, 12, 6, 10},  // 98: output peak, left
    {37, 38, 32, 36}, // 99: output peak, right
    {2, 2, 0, 1},     // 105: output RMS, left
    {44, 44, 42, 43}, // 106: output RMS, right
};

constexpr float kMeterScale = 10.0f;       // readings are amplitudes x 0.1; 1 is full scale here
constexpr float kFullBar = 1.0f;           // scaled reading of a full bar (0 dB)
constexpr float kNoBarReading = 0.001f;    // reading at the foot of the scale (-40 dB)
constexpr double kPixelsPerDecade = 140.0; // 7 pixels per dB

constexpr float kPeakOverRange = 9.999999f; // above +20 dB: "over 20"
constexpr float kPeakOver = 0.999999f;      // above 0 dB: the warning colour
constexpr float kPeakFloor = 0.000001f;     // at or below -120 dB: "----"

constexpr float kUnityZoneDb = 0.1f;     // shown as "0.0 dB" within this of 0 dB
constexpr float kSilentGain = 0.000001f; // "Dry out"/"Wet out" below this: "-oo" (and 0 by drag)

constexpr double kValuePerPixel = 0.001; // horizontal drag; master: 0.048 dB per pixel
// The master drag's start in dB is formed in single precision.
constexpr float kLevelSpanSingle = static_cast<float>(kLevelSpanDb);
constexpr float kLevelFloorSingle = static_cast<float>(kLevelFloorDb);
constexpr double kGainPerValue = 0.5; // dry and wet move half as fast: 0.0005 per pixel
constexpr float kMasterReset = 0.5f;  // 0 dB
constexpr float kDryReset = 0.0f;     // no dry signal
constexpr float kWetReset = 1.0f;     // full wet signal

constexpr FontId kSmallFont = 5;  // Arial 10 px: peak readouts, dry and wet
constexpr FontId kMasterFont = 3; // Arial 12 px, drawn bold
constexpr int kBold = 1;

Rect placed(const Bitmap* bitmap, int left, int top) {
    return Rect(left, top, left + (bitmap ? bitmap->getWidth() : 0),
                top + (bitmap ? bitmap->getHeight() : 0));
}

// Fills the pixel columns first..last and rows top..bottom, both ends included.
void fillColumns(DrawContext& context, int first, int last, int top, int bottom, Color colour) {
    context.setFrameColor(colour);
    context.setFillColor(colour);
    context.fillRect(Rect(first - 1, top - 1, last, bottom)); // fillRect paints left+1..right
}

} // namespace

OutputStageView::OutputStageView(const Rect& size, AudioEffect* effect)
    : View(size), effect_(effect),
      backgroundBitmap_(new (std::nothrow) Bitmap(layout::kBmpOutputStageBackground.id)),
      scaleBitmap_(new (std::nothrow) Bitmap(layout::kBmpOutputMeterScale.id)),
      masterBitmap_(new (std::nothrow) Bitmap(layout::kBmpMasterBox.id)),
      peakBitmap_(new (std::nothrow) Bitmap(layout::kBmpPeakBox.id)),
      levelBitmap_(new (std::nothrow) Bitmap(layout::kBmpLevelBox.id)) {
    background_ = placed(backgroundBitmap_, size.left, size.top);
    meters_ = placed(scaleBitmap_, layout::kOutputMeters.left, layout::kOutputMeters.top);
    master_ = placed(masterBitmap_, layout::kOutputMaster.left, layout::kOutputMaster.top);
    masterDrag_ = rectOf(layout::kOutputMasterDrag);
    peak_[0] = placed(peakBitmap_, layout::kOutputPeak1.left, layout::kOutputPeak1.top);
    peak_[1] = placed(peakBitmap_, layout::kOutputPeak2.left, layout::kOutputPeak2.top);
    dry_ = placed(levelBitmap_, layout::kOutputDry.left, layout::kOutputDry.top);
    wet_ = placed(levelBitmap_, layout::kOutputWet.left, layout::kOutputWet.top);
}

OutputStageView::~OutputStageView() {
    for (Bitmap* bitmap :
         {backgroundBitmap_, scaleBitmap_, masterBitmap_, peakBitmap_, levelBitmap_})
        if (bitmap) bitmap->release();
}

// --- texts ------------------------------------------------------------------------------------

int OutputStageView::barTop(float reading) {
    const float scaled = kMeterScale * reading;
    if (scaled >= kFullBar) return 0;
    // The foot is tested on the reading itself: 10 x 0.001 rounds up to just above 0.01 in
    // single precision and would light the bottom row for a reading of exactly -40 dB.
    if (!(reading > kNoBarReading)) return kMeterHeight; // NaN lights nothing either
    return static_cast<int>(-kPixelsPerDecade * std::log10(static_cast<double>(scaled)));
}

void OutputStageView::formatPeak(float peakValue, char* text, std::size_t size, bool& over) {
    over = false;
    if (!text || size == 0) return;
    if (peakValue > kPeakOverRange) {
        over = true;
        std::snprintf(text, size, "over 20");
        return;
    }
    if (!(peakValue > kPeakFloor)) {
        std::snprintf(text, size, "----");
        return;
    }
    over = peakValue > kPeakOver;
    std::snprintf(text, size, "%.2f", 20.0 * std::log10(static_cast<double>(peakValue)));
}

void OutputStageView::formatMaster(float value, char* text, std::size_t size) {
    if (!text || size == 0) return;
    // The float expression rounded once, so that both builds show the same text.
    const float db = roundToSingle(levelDb(value));
    if ((db > -kUnityZoneDb && db < kUnityZoneDb) || db != db) // NaN shows the middle as well
        std::snprintf(text, size, "0.0 dB");
    else
        std::snprintf(text, size, "%.1f dB", static_cast<double>(db));
}

void OutputStageView::formatLevel(float value, char* text, std::size_t size) {
    if (!text || size == 0) return;
    if (!(value >= kSilentGain)) // NaN as silence
        std::snprintf(text, size, "-oo");
    else
        std::snprintf(text, size, "%.1f", 20.0 * std::log10(static_cast<double>(value)));
}

// --- drawing ----------------------------------------------------------------------------------

float OutputStageView::parameter(VstInt32 index) const {
    return effect_ ? effect_->getParameter(index) : 0.0f;
}

void OutputStageView::draw(DrawContext* context) {
    if (!context) return;
    const VstInt32 hint = effect_ ? effect_->getEditorHint(tag::kOutputHint) : hint::kAll;
    switch (hint) {
    case hint::kAll:
    case kHintWholeView: // several elements changed before a redraw
        if (backgroundBitmap_) backgroundBitmap_->draw(context, background_, Point(0, 0));
        drawMeters(context);
        drawMaster(context);
        drawPeak(context, 0);
        drawPeak(context, 1);
        drawLevel(context, param::kDryOut, dry_);
        drawLevel(context, param::kWetOut, wet_);
        break;
    case outputHint::kMeters:
        drawMeters(context);
        break;
    case outputHint::kMaster:
        drawMaster(context);
        break;
    case outputHint::kDry:
        drawLevel(context, param::kDryOut, dry_);
        break;
    case outputHint::kWet:
        drawLevel(context, param::kWetOut, wet_);
        break;
    default:
        break;
    }
    // A hint the effect sets between the read and this clear is lost: the next redraw is full.
    if (effect_) effect_->setEditorHint(tag::kOutputHint, hint::kAll);
    setDirty(false);
}

void OutputStageView::drawMeters(DrawContext* context) {
    float scaled[kMeterCount];
    {
        OffscreenContext picture(context, scaleBitmap_, false);
        const int bottom = kMeterHeight - 1;
        for (int m = 0; m < kMeterCount; ++m) {
            float reading = effect_ ? effect_->getEditorValue(kMeterTags[m]) : 0.0f;
            if (reading != reading) reading = 0.0f; // a NaN reading shows as silence
            scaled[m] = kMeterScale * reading;
            const int top = barTop(reading);
            if (top >= kMeterHeight) continue;
            const BarColumns& bar = kBars[m];
            fillColumns(picture, bar.darkFirst, bar.darkLast, top, bottom, kDarkBar);
            fillColumns(picture, bar.brightFirst, bar.brightLast, top, bottom, kBrightBar);
        }
        picture.copyTo(context, meters_, Point(0, 0));
    }
    // Peak meters feed readout 1, RMS meters readout 2.
    for (int k = 0; k < 2; ++k) {
        const float a = scaled[2 * k];
        const float b = scaled[2 * k + 1];
        if (a > peakHold_[k] || b > peakHold_[k]) {
            peakHold_[k] = a > b ? a : b;
            drawPeak(context, k);
        }
    }
}

void OutputStageView::drawPeak(DrawContext* context, int k) {
    char text[16];
    bool over = false;
    formatPeak(peakHold_[k], text, sizeof text, over);
    if (peakBitmap_) peakBitmap_->draw(context, peak_[k], Point(0, 0));
    context->setFont(kSmallFont, 0, 0);
    context->setFontColor(over ? kOverLevel : kBlack);
    context->drawString(text, peak_[k], false, DrawContext::kAlignRight);
}

void OutputStageView::drawMaster(DrawContext* context) {
    char text[24];
    formatMaster(parameter(param::kMasterOut), text, sizeof text);
    if (masterBitmap_) masterBitmap_->draw(context, master_, Point(0, 0));
    context->setFont(kMasterFont, 0, kBold);
    context->setFontColor(kBlack);
    context->drawString(text, master_, false, DrawContext::kAlignCenter);
}

void OutputStageView::drawLevel(DrawContext* context, VstInt32 index, const Rect& box) {
    char text[24];
    formatLevel(parameter(index), text, sizeof text);
    if (levelBitmap_) levelBitmap_->draw(context, box, Point(0, 0));
    context->setFont(kSmallFont, 0, 0);
    context->setFontColor(kBlack);
    context->drawString(text, box, false, DrawContext::kAlignCenter);
}

// --- mouse ------------------------------------------------------------------------------------

void OutputStageView::mouse(DrawContext* context, Point) {
    if (!context) return;
    DragTracker tracker(context, this);
    VstInt32 target = -1; // the level being dragged
    float running = 0.0f; // its running value
    tracker.pickAndDrag(
        true, kValuePerPixel,
        [&](Point p) {
            if (masterDrag_.contains(p))
                target = param::kMasterOut;
            else if (dry_.contains(p))
                target = param::kDryOut;
            else if (wet_.contains(p))
                target = param::kWetOut;
            if (target < 0) {
                for (int k = 0; k < 2; ++k) {
                    if (!peak_[k].contains(p)) continue;
                    peakHold_[k] = 0.0f;
                    drawPeak(context, k);
                    break;
                }
                return false;
            }
            running = parameter(target);
            return true;
        },
        [&](double delta) {
            double next;
            if (target == param::kMasterOut) {
                // Above +24 dB gives 1, below -23.9 dB (and NaN) exactly 0.
                next = ValueStep::levelAt(running * kLevelSpanSingle + kLevelFloorSingle +
                                          delta * kLevelSpanDb);
            } else {
                next = running + delta * kGainPerValue;
                if (next > 1.0)
                    next = 1.0;
                else if (!(next >= kSilentGain)) // NaN too
                    next = 0.0;
            }
            running = static_cast<float>(next);
            if (effect_) effect_->setParameter(target, running);
        });
    Point p;
    if (tracker.rightHeld(p) && effect_) {
        if (masterDrag_.contains(p))
            effect_->setParameter(param::kMasterOut, kMasterReset);
        else if (dry_.contains(p))
            effect_->setParameter(param::kDryOut, kDryReset);
        else if (wet_.contains(p))
            effect_->setParameter(param::kWetOut, kWetReset);
    }
    tracker.restoreCursor(); // if a drag hid it
}

} // namespace qv
