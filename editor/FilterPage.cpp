#include "editor/FilterPage.h"

#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"

#include "gui/DrawContext.h"

namespace qv {

namespace pageHint = hint::filter;

namespace {

constexpr int kSlopeButtons = 3;
constexpr float kSlopeValues[kSlopeButtons] = {0.0f, 0.5f, 1.0f};
// Pixels of the slope buttons from the picture's left edge: 190..237, 237..285, 285..333.
constexpr int kSlopeRightEdges[kSlopeButtons] = {47, 95, 143};

} // namespace

int FilterPage::cutoffFrame(float v) {
    if (v > 0.666666f) return 2;
    if (v > 0.333333f) return 1;
    return 0;
}

void FilterPage::drawFilterType(DrawContext* context) {
    const layout::LayoutRect& r = layout::kPageDFilterType;
    drawFrame(context, layout::kBmpFilterTypeSwitch, r.left, r.top,
              param(param::kFilterType) > 0.5f ? 1 : 0);
}

void FilterPage::drawCutoffCurve(DrawContext* context) {
    const layout::LayoutRect& r = layout::kPageDCutoffCurve;
    drawFrame(context, layout::kBmpCutoffCurveSwitch, r.left, r.top,
              cutoffFrame(param(param::kQcurve)));
}

void FilterPage::draw(DrawContext* context, int hint) {
    switch (hint) {
    case hint::kAll:
        drawBackground(context, layout::kBmpPageDBackground);
        drawFilterType(context);
        drawCutoffCurve(context);
        break;
    case pageHint::kFilterType:
        drawFilterType(context);
        break;
    case pageHint::kCutoffCurve:
        drawCutoffCurve(context);
        break;
    default:
        break;
    }
}

void FilterPage::mouse(DrawContext* context, Point where) {
    activeElement_ = 0;
    if (!context || !(context->getButtonState() & DrawContext::kLButton)) return;
    const layout::LayoutRect& type = layout::kPageDFilterType;
    const int middle = (type.left + type.right) / 2; // 523: Q-type left, brick-wall right
    if (inside(type, where)) {
        write(param::kFilterType, where.x <= middle ? 0.0f : 1.0f);
        return;
    }
    const layout::LayoutRect& slope = layout::kPageDCutoffCurve;
    if (inside(slope, where)) {
        for (int i = 0; i < kSlopeButtons; ++i) {
            if (where.x <= slope.left + kSlopeRightEdges[i]) {
                write(param::kQcurve, kSlopeValues[i]);
                return;
            }
        }
    }
}

} // namespace qv
