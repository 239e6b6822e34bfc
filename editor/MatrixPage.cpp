#include "editor/MatrixPage.h"

#include "params/EditorNotification.h"

#include "editor/DragTracker.h"
#include "editor/PanelArt.h"
#include "editor/ValueStep.h"
#include "editor/ValueText.h"
#include "gui/DrawContext.h"

namespace qv {

namespace pageHint = hint::matrix;

namespace {

constexpr int kItemColumns = 5;
constexpr int kItemRows = 2;
// SelectedChannel written by the channel labels of bands 1..5.
constexpr float kChannelCodes[CompressorBands::kBandCount] = {1.0f, 0.7f, 0.5f, 0.3f, 0.0f};
constexpr int kChannelLabelHeight = 11;
constexpr double kPerPixel = -0.001; // vertical drags, up = up
// Level 24 dB and threshold 20 dB per unit of delta; the ratio twice as fast as elsewhere.
constexpr ValueStep::Scale kScale{24.0, 20.0, 49.0};

layout::LayoutRect bandBox(int band) {
    const int left = layout::kPageFBandBoxX[band - 1];
    return {left, layout::kPageFBandBoxY, left + layout::kBmpMatrixBandBox.width,
            layout::kPageFBandBoxY + layout::kBmpMatrixBandBox.height};
}

} // namespace

int MatrixPage::channelFrame(float c) {
    if (c > 0.8f) return 0;
    if (c > 0.6f) return 1;
    if (c > 0.4f) return 2;
    if (c > 0.2f) return 3;
    return 4;
}

void MatrixPage::drawItems(DrawContext* context) {
    const int item = static_cast<int>(CompressorBands::matrixQuantity(param(param::kMatrixItem)));
    drawFrame(context, layout::kBmpMatrixItems, layout::kPageFItems.left, layout::kPageFItems.top,
              item);
}

void MatrixPage::drawChannels(DrawContext* context) {
    drawFrame(context, layout::kBmpMatrixChannelRow, layout::kPageFChannelRow.left,
              layout::kPageFChannelRow.top, channelFrame(param(param::kSelectedChannel)));
}

void MatrixPage::drawArrows(DrawContext* context) {
    drawFrame(context, layout::kBmpMatrixArrow, layout::kPageFArrowLeft.left,
              layout::kPageFArrowLeft.top, activeElement_ == kLeftArrow ? 0 : 1);
    drawFrame(context, layout::kBmpMatrixArrow, layout::kPageFArrowRight.left,
              layout::kPageFArrowRight.top, activeElement_ == kRightArrow ? 0 : 1);
}

void MatrixPage::drawValues(DrawContext* context) {
    drawFrame(context, layout::kBmpMatrixValueRow, layout::kPageFValueRow.left,
              layout::kPageFValueRow.top, 0);
    const CompressorQuantity q = CompressorBands::matrixQuantity(param(param::kMatrixItem));
    for (int band = 1; band <= CompressorBands::kBandCount; ++band) {
        char text[ValueText::kSize];
        ValueText::quantity(q, param(CompressorBands::parameter(q, band)), text);
        const layout::LayoutRect r = bandBox(band);
        drawValueBox(context, layout::kBmpMatrixBandBox, r.left, r.top, text, true);
    }
}

void MatrixPage::draw(DrawContext* context, int hint) {
    if (hint < 0) return;
    if (hint == hint::kAll) drawBackground(context, layout::kBmpPageFBackground);
    if (hint == hint::kAll || hint == pageHint::kItem) drawItems(context);
    if (hint == hint::kAll || hint == pageHint::kChannel) drawChannels(context);
    drawArrows(context);
    drawValues(context);
}

void MatrixPage::edit(DrawContext* context, Point where, int firstBand, int lastBand) {
    const CompressorQuantity q = CompressorBands::matrixQuantity(param(param::kMatrixItem));
    if (CompressorBands::isSwitch(q)) {
        for (int band = firstBand; band <= lastBand; ++band)
            toggle(CompressorBands::parameter(q, band));
        return;
    }
    float values[CompressorBands::kBandCount + 1] = {};
    for (int band = firstBand; band <= lastBand; ++band)
        values[band] = param(CompressorBands::parameter(q, band));
    DragTracker tracker(context, &panel_);
    tracker.drag(where, false, kPerPixel, [&](double delta) {
        for (int band = firstBand; band <= lastBand; ++band) {
            values[band] = ValueStep::quantity(q, values[band], delta, kScale);
            write(CompressorBands::parameter(q, band), values[band]);
        }
    });
}

void MatrixPage::mouse(DrawContext* context, Point where) {
    activeElement_ = kNone;
    if (!context || !(context->getButtonState() & DrawContext::kLButton)) return;
    for (int column = 0; column < kItemColumns; ++column) {
        for (int row = 0; row < kItemRows; ++row) {
            const int left = layout::kPageFItemX[column], top = layout::kPageFItemY[row];
            const layout::LayoutRect tile{left, top, left + layout::kPageFItemSize,
                                          top + layout::kPageFItemSize};
            if (inside(tile, where)) {
                write(param::kMatrixItem,
                      CompressorBands::matrixItem(
                          static_cast<CompressorQuantity>(column * kItemRows + row)));
                return;
            }
        }
    }
    for (int band = 1; band <= CompressorBands::kBandCount; ++band) {
        const int left = layout::kPageFBandBoxX[band - 1];
        const layout::LayoutRect label{left, layout::kPageFChannelRow.top,
                                       left + layout::kPageFChannelLabelWidth,
                                       layout::kPageFChannelRow.top + kChannelLabelHeight};
        if (inside(label, where)) {
            write(param::kSelectedChannel, kChannelCodes[band - 1]);
            return;
        }
        if (inside(bandBox(band), where)) {
            activeElement_ = kFirstBandBox + band - 1;
            edit(context, where, band, band);
            activeElement_ = kNone;
            return;
        }
    }
    const bool left = inside(layout::kPageFArrowLeft, where);
    if (left || inside(layout::kPageFArrowRight, where)) {
        activeElement_ = left ? kLeftArrow : kRightArrow;
        drawArrows(context); // pressed while held
        edit(context, where, 1, CompressorBands::kBandCount);
        activeElement_ = kNone;
        drawArrows(context);
    }
}

} // namespace qv
