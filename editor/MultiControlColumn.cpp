#include "editor/MultiControlColumn.h"

#include "params/ParameterIndex.h"

#include "editor/DragTracker.h"
#include "editor/EditorLayout.h"
#include "editor/ValueStep.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "shell/AudioEffect.h"

#include <new>

namespace qv {

namespace {

// A row over one compressor quantity: its parameters for bands 1..5.
MultiControlColumn::Row bandRow(CompressorQuantity q, MultiControlColumn::Domain domain) {
    const auto index = [q](int band) { return CompressorBands::parameter(q, band); };
    return {{index(1), index(2), index(3), index(4), index(5)}, domain, q};
}

} // namespace

const MultiControlColumn::Row MultiControlColumn::kRows[kRowCount] = {
    bandRow(CompressorQuantity::InputLevel, Domain::Level),
    bandRow(CompressorQuantity::OutputLevel, Domain::Level),
    bandRow(CompressorQuantity::Threshold, Domain::Threshold),
    bandRow(CompressorQuantity::Ratio, Domain::Ratio),
    bandRow(CompressorQuantity::AttackTime, Domain::Normalised),
    bandRow(CompressorQuantity::ReleaseTime, Domain::Normalised),
    bandRow(CompressorQuantity::ReleaseDepth, Domain::Normalised),
};

namespace {

constexpr int kHitSize = 35; // pixels, each way, of a row's hit area

// Drag steps: one unit of delta is 24 dB of level, 20 dB of threshold, and the ratio factor
// 1 / (1 + 24.5 delta).
constexpr double kLevelDbPerDelta = 24.0;
constexpr double kThresholdDbPerDelta = 20.0;
constexpr double kRatioGain = 24.5;
// A single poll step further down than this would make the factor negative or infinite. The
// column limits the step itself: its lowest divisor, 1 - 24.5 x 0.04, lies a hair above the one
// ValueStep::ratioFactor limits to.
constexpr double kRatioLowestDelta = -0.04;

} // namespace

MultiControlColumn::MultiControlColumn(const Rect& size, AudioEffect* effect)
    : View(size), effect_(effect),
      columnBitmap_(new (std::nothrow) Bitmap(layout::kBmpMultiControlColumn.id)),
      pressedBitmap_(new (std::nothrow) Bitmap(layout::kBmpPressedSpinner.id)) {
    column_ = Rect(size.left, size.top, size.left + (columnBitmap_ ? columnBitmap_->getWidth() : 0),
                   size.top + (columnBitmap_ ? columnBitmap_->getHeight() : 0));
    const int spinnerWidth = pressedBitmap_ ? pressedBitmap_->getWidth() : 0;
    const int spinnerHeight = pressedBitmap_ ? pressedBitmap_->getHeight() : 0;
    for (int k = 0; k < kRowCount; ++k) {
        const int spinnerTop = layout::kFirstSpinnerY + layout::kSpinnerPitch * k;
        spinners_[k] = Rect(layout::kSpinnerX, spinnerTop, layout::kSpinnerX + spinnerWidth,
                            spinnerTop + spinnerHeight);
        const int hitTop = size.top + layout::kSpinnerPitch * k;
        hits_[k] = Rect(size.left, hitTop, size.left + kHitSize, hitTop + kHitSize);
    }
}

MultiControlColumn::~MultiControlColumn() {
    if (columnBitmap_) columnBitmap_->release();
    if (pressedBitmap_) pressedBitmap_->release();
}

void MultiControlColumn::step(Domain domain, double delta, float (&values)[kBandCount]) {
    // The column's values take no detour through the bottom of the range: a NaN stays a NaN
    // for the step, which then gives the range's end.
    constexpr ValueStep::Nan kNan = ValueStep::Nan::Kept;
    const double ratioFactor =
        ValueStep::ratioFactor(delta < kRatioLowestDelta ? kRatioLowestDelta : delta, kRatioGain);
    for (float& v : values) {
        switch (domain) {
        case Domain::Level:
            v = ValueStep::level(v, kLevelDbPerDelta * delta, kNan);
            break;
        case Domain::Threshold:
            v = ValueStep::threshold(v, kThresholdDbPerDelta * delta, kNan);
            break;
        case Domain::Ratio:
            v = ValueStep::ratio(v, ratioFactor, kNan);
            break;
        case Domain::Normalised:
            v = ValueStep::normalised(v, delta, kNan);
            break;
        }
    }
}

int MultiControlColumn::sourceBand(float selectedChannel) {
    return CompressorBands::selectedBand(selectedChannel);
}

int MultiControlColumn::rowAt(Point p) const {
    for (int k = 0; k < kRowCount; ++k)
        if (hits_[k].contains(p)) return k + 1;
    return 0;
}

void MultiControlColumn::draw(DrawContext* context) {
    if (!context) return;
    if (columnBitmap_) columnBitmap_->draw(context, column_, Point(0, 0));
    if (pressedRow_ >= 1 && pressedRow_ <= kRowCount && pressedBitmap_)
        pressedBitmap_->draw(context, spinners_[pressedRow_ - 1], Point(0, 0));
    setDirty(false);
}

void MultiControlColumn::writeRow(const Row& row, const float (&values)[kBandCount]) {
    if (!effect_) return;
    for (int band = 0; band < kBandCount; ++band)
        effect_->setParameter(row.parameters[band], values[band]);
}

void MultiControlColumn::mouse(DrawContext* context, Point) {
    if (!context) return;
    DragTracker tracker(context, this);
    const float selectedChannel = effect_ ? effect_->getParameter(param::kSelectedChannel) : 0.0f;
    int row = 0;                   // the row being dragged
    float values[kBandCount] = {}; // its five working values, band 1..5
    const bool dragged = tracker.pickAndDrag(
        false, -kValuePerPixel,
        [&](Point p) {
            row = rowAt(p);
            pressedRow_ = row;
            if (row == 0) return false;
            for (int band = 0; band < kBandCount; ++band)
                values[band] =
                    effect_ ? effect_->getParameter(kRows[row - 1].parameters[band]) : 0.0f;
            // Hidden before the pressed spinner is drawn and the row announced.
            tracker.hideCursor();
            draw(context);
            if (effect_)
                effect_->setParameter(param::kMatrixItem,
                                      CompressorBands::matrixItem(kRows[row - 1].quantity));
            return true;
        },
        [&](double delta) {
            step(kRows[row - 1].domain, delta, values);
            writeRow(kRows[row - 1], values);
        });
    Point p;
    if (tracker.rightHeld(p)) {
        const int target = rowAt(p);
        if (target != 0 && effect_) {
            const Row& r = kRows[target - 1];
            const int band = sourceBand(selectedChannel);
            const float value = effect_->getParameter(r.parameters[band - 1]);
            float copies[kBandCount];
            for (float& v : copies)
                v = value;
            writeRow(r, copies);
            effect_->setParameter(param::kMatrixItem, CompressorBands::matrixItem(r.quantity));
        }
    }
    if (dragged) {
        pressedRow_ = 0;
        draw(context);
        tracker.restoreCursor();
    }
}

} // namespace qv
