#include "editor/BandPage.h"

#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"

#include "editor/DragTracker.h"
#include "editor/PanelArt.h"
#include "editor/ValueStep.h"
#include "editor/ValueText.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

#include <cmath>

namespace qv {

namespace pageHint = hint::band;
using Q = CompressorQuantity;

struct BandPage::Row {
    Q quantity;
    int top;                         // y of the row
    const layout::BitmapSpec& image; // value box, or two-frame switch
    bool amplitude;                  // shown in the amplitude view, else in the envelope view
    int hint;
};

namespace {

const BandPage::Row kRows[] = {
    {Q::InputLevel, layout::kPageBInputLevelY, layout::kBmpBandValueBox, true,
     pageHint::kInputLevel},
    {Q::OutputLevel, layout::kPageBOutputLevelY, layout::kBmpBandValueBox, true,
     pageHint::kOutputLevel},
    {Q::Threshold, layout::kPageBThresholdY, layout::kBmpBandCompValueBox, true,
     pageHint::kThreshold},
    {Q::Ratio, layout::kPageBRatioY, layout::kBmpBandCompValueBox, true, pageHint::kRatio},
    {Q::AttackCurve, layout::kPageBAttackCurveY, layout::kBmpBandAttackCurveSwitch, false,
     pageHint::kAttackCurve},
    {Q::AttackTime, layout::kPageBAttackY, layout::kBmpBandValueBox, false, pageHint::kAttackTime},
    {Q::ReleaseMode, layout::kPageBReleaseModeY, layout::kBmpBandReleaseModeSwitch, false,
     pageHint::kReleaseMode},
    {Q::ReleaseDepth, layout::kPageBReleaseDepthY, layout::kBmpBandValueBox, false,
     pageHint::kReleaseDepth},
    {Q::ReleaseTime, layout::kPageBReleaseTimeY, layout::kBmpBandValueBox, false,
     pageHint::kReleaseTime},
    {Q::AutoReleaseType, layout::kPageBAutoReleaseTypeY, layout::kBmpBandAutoReleaseSwitch, false,
     pageHint::kAutoReleaseType},
};

constexpr double kBoxPerPixel = 0.0005;   // value boxes, right = up
constexpr double kMeterPerPixel = -0.001; // band meters drag the threshold, up = up
// A box moves the level 48 dB (0.024 dB per pixel) and the threshold 20 dB per unit of delta;
// a meter moves the threshold 40 dB.
constexpr ValueStep::Scale kBoxScale{48.0, 20.0, 24.5};
constexpr ValueStep::Scale kMeterScale{48.0, 40.0, 24.5};

constexpr Color kHighlight{102, 255, 255};             // level outline
constexpr Color kAccent{255, 0, 102};                  // gain-change outline
constexpr double kRowsPerDecade = 80.0;                // 4 pixels per dB
constexpr float kLevelFloor = 0.01f;                   // -40 dB: nothing drawn
constexpr int kLevelLastTop = 159;                     // a lower top draws nothing
constexpr int kReductionFullBottom = 164;              // the whole height
constexpr int kReductionFullFrom = 160;                // a bottom this low draws the whole height
constexpr float kUnityLow = 0.99f, kUnityHigh = 1.01f; // no change worth drawing
constexpr float kReductionFloor = 0.01f;

int columnX(int band) {
    return layout::kPageBColumnX[band - 1];
}

} // namespace

int BandPage::levelTop(float level) {
    if (!(level > kLevelFloor)) return -1;
    if (level >= 1.0f) return kMeterZeroRow;
    const int top =
        kMeterZeroRow + static_cast<int>(-kRowsPerDecade * std::log10(static_cast<double>(level)));
    return top > kLevelLastTop ? -1 : top;
}

int BandPage::reductionBottom(float gain) {
    if (gain != gain) return -1;
    if (gain > kUnityLow && gain < kUnityHigh) return -1;
    if (gain <= kReductionFloor) return kReductionFullBottom;
    const double rows = kRowsPerDecade * std::fabs(std::log10(static_cast<double>(gain)));
    if (rows >= kReductionFullBottom) return kReductionFullBottom;
    const int bottom = kMeterZeroRow + static_cast<int>(rows);
    return bottom >= kReductionFullFrom ? kReductionFullBottom : bottom;
}

bool BandPage::amplitudeView() const {
    return param(param::kBandView) > 0.5f;
}

const BandPage::Row* BandPage::rowOfHint(int hint, bool amplitude) {
    for (const Row& row : kRows)
        if (row.hint == hint && row.amplitude == amplitude) return &row;
    return nullptr;
}

void BandPage::drawRow(DrawContext* context, const Row& row) {
    const bool isSwitch = CompressorBands::isSwitch(row.quantity);
    for (int band = 1; band <= CompressorBands::kBandCount; ++band) {
        const float v = param(CompressorBands::parameter(row.quantity, band));
        if (isSwitch) {
            drawFrame(context, row.image, columnX(band), row.top, v < 0.5f ? 0 : 1);
        } else {
            char text[ValueText::kSize];
            ValueText::quantity(row.quantity, v, text);
            drawValueBox(context, row.image, columnX(band), row.top, text);
        }
    }
}

void BandPage::drawHeader(DrawContext* context, bool amplitude) {
    const layout::LayoutRect& r =
        amplitude ? layout::kPageBHeaderAmplitude : layout::kPageBHeaderEnvelope;
    const int band = CompressorBands::selectedBand(param(param::kSelectedChannel));
    drawFrame(context, layout::kBmpChannelHeader, r.left, r.top, band - 1);
}

void BandPage::drawMeterSwitch(DrawContext* context) {
    const layout::LayoutRect& r = layout::kPageBMeterSwitch;
    drawFrame(context, layout::kBmpSmallSwitch, r.left, r.top,
              param(param::kMeterSw) < 0.5f ? 0 : 1);
}

void BandPage::drawViewButtons(DrawContext* context, bool amplitude) {
    const layout::LayoutRect& r = layout::kPageBViews;
    drawFrame(context, layout::kBmpViewButtons, r.left, r.top, amplitude ? 0 : 1);
}

void BandPage::drawMeters(DrawContext* context) {
    Bitmap* meterArt = art_.get(layout::kBmpBandMeter);
    if (!meterArt || !context) return;
    const bool showReduction = param(param::kMeterSw) < 0.5f;
    for (int band = 1; band <= CompressorBands::kBandCount; ++band) {
        OffscreenContext meter(context, meterArt);
        if (showReduction) {
            const int bottom =
                reductionBottom(10.0f * reading(tag::kBandReductionFirst + band - 1));
            if (bottom >= 0) {
                meter.setFrameColor(kAccent);
                meter.drawRect(Rect(1, kMeterZeroRow, 59, bottom));
            }
        }
        const int top = levelTop(reading(tag::kBandLevelFirst + band - 1));
        if (top >= 0) {
            meter.setFrameColor(kHighlight);
            meter.drawRect(Rect(0, top, 60, kMeterBottom));
        }
        const int left = columnX(band);
        meter.copyTo(context, Rect(left, layout::kPageBMeterY, left + meter.getWidth(),
                                   layout::kPageBMeterY + meter.getHeight()));
    }
}

void BandPage::drawView(DrawContext* context, bool amplitude) {
    drawBackground(context, amplitude ? layout::kBmpPageBAmplitudeBackground
                                      : layout::kBmpPageBEnvelopeBackground);
    drawMeterSwitch(context);
    drawViewButtons(context, amplitude);
    for (const Row& row : kRows)
        if (row.amplitude == amplitude) drawRow(context, row);
    drawHeader(context, amplitude);
    if (amplitude) drawMeters(context);
}

void BandPage::draw(DrawContext* context, int hint) {
    const bool amplitude = amplitudeView();
    if (hint == hint::kAll || hint == pageHint::kView) {
        drawView(context, amplitude);
        return;
    }
    if (hint == pageHint::kMeterSwitch) drawMeterSwitch(context);
    if (const Row* row = rowOfHint(hint, amplitude)) {
        drawRow(context, *row);
        drawHeader(context, amplitude);
    }
    if (amplitude && (hint == pageHint::kMeters || hint == pageHint::kMeterSwitch ||
                      hint == pageHint::kThreshold))
        drawMeters(context);
}

void BandPage::mouse(DrawContext* context, Point where) {
    activeElement_ = 0;
    if (!context || !(context->getButtonState() & DrawContext::kLButton)) return;
    const bool amplitude = amplitudeView();
    if (inside(layout::kPageBMeterSwitch, where)) {
        toggle(param::kMeterSw);
        return;
    }
    if (inside(layout::kPageBAmplitudeHit, where)) {
        write(param::kBandView, 1.0f);
        return;
    }
    if (inside(layout::kPageBEnvelopeHit, where)) {
        write(param::kBandView, 0.0f);
        return;
    }
    DragTracker tracker(context, &panel_);
    for (int band = 1; band <= CompressorBands::kBandCount; ++band) {
        const int left = columnX(band);
        int element = band; // 1..5: the band meters; rows follow in steps of five
        for (const Row& row : kRows) {
            element += CompressorBands::kBandCount;
            if (row.amplitude != amplitude) continue;
            const layout::LayoutRect place{left, row.top, left + row.image.width,
                                           row.top + art_.frameHeight(row.image)};
            if (!inside(place, where)) continue;
            const int index = CompressorBands::parameter(row.quantity, band);
            if (CompressorBands::isSwitch(row.quantity)) {
                toggle(index);
                return;
            }
            activeElement_ = element;
            float v = param(index);
            tracker.drag(where, true, kBoxPerPixel, [&](double delta) {
                v = ValueStep::quantity(row.quantity, v, delta, kBoxScale);
                write(index, v);
            });
            activeElement_ = 0;
            return;
        }
        const layout::LayoutRect meter{left, layout::kPageBMeterY,
                                       left + layout::kBmpBandMeter.width,
                                       layout::kPageBMeterY + layout::kBmpBandMeter.height};
        if (amplitude && inside(meter, where)) {
            const int index = CompressorBands::parameter(Q::Threshold, band);
            activeElement_ = band;
            float v = param(index);
            tracker.drag(where, false, kMeterPerPixel, [&](double delta) {
                v = ValueStep::quantity(Q::Threshold, v, delta, kMeterScale);
                write(index, v);
            });
            activeElement_ = 0;
            return;
        }
    }
}

} // namespace qv
