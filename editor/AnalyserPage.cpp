#include "editor/AnalyserPage.h"

#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"

#include "editor/PanelArt.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"
#include "shell/AudioEffect.h"

#include <cmath>

namespace qv {

namespace pageHint = hint::analyser;

namespace {

constexpr Color kLeftCurve{255, 0, 102};
constexpr Color kRightCurve{255, 149, 191};
constexpr Color kCombinedCurve{255, 0, 102};

} // namespace

void AnalyserPage::drawPower(DrawContext* context) {
    PanelPage::drawFrame(context, layout::kBmpSmallSwitch, layout::kPageEPower.left,
                         layout::kPageEPower.top, param(param::kAnalyserPower) >= 0.5f ? 0 : 1);
}

void AnalyserPage::drawCurveMode(DrawContext* context) {
    PanelPage::drawFrame(context, layout::kBmpCurveModeButton, layout::kPageECurveMode.left,
                         layout::kPageECurveMode.top,
                         param(param::kAnalyserCurveMode) <= 0.5f ? 0 : 1);
}

void AnalyserPage::drawEmptyGraph(DrawContext* context) {
    PanelPage::drawFrame(context, layout::kBmpAnalyserGraph, layout::kPageEGraph.left,
                         layout::kPageEGraph.top, 0);
}

void AnalyserPage::drawFrame(DrawContext* context) {
    Bitmap* graph = art_.get(layout::kBmpAnalyserGraph);
    if (!graph || !context) return;
    const float* left = effect_ ? effect_->getDisplayBuffer(tag::kAnalysisBufferFirst) : nullptr;
    const float* right = effect_ ? effect_->getDisplayBuffer(tag::kAnalysisBufferSecond) : nullptr;
    analyser_.analyse(left, right, effect_ ? effect_->getAnalyserBands() : nullptr);

    OffscreenContext surface(context, graph);
    auto curve = [&](Color color, auto value) {
        surface.setFrameColor(color);
        surface.moveTo(Point(0, SpectrumAnalyser::rowOf(value(0))));
        for (int i = 1; i < SpectrumAnalyser::kPoints; ++i)
            surface.lineTo(Point(kPointSpacing * i, SpectrumAnalyser::rowOf(value(i))));
    };
    if (param(param::kAnalyserCurveMode) < 0.5f) {
        // The left curve last, on top.
        curve(kRightCurve, [this](int i) { return analyser_.rightPoint(i); });
        curve(kLeftCurve, [this](int i) { return analyser_.leftPoint(i); });
    } else {
        curve(kCombinedCurve,
              [this](int i) { return std::fmax(analyser_.leftPoint(i), analyser_.rightPoint(i)); });
    }
    surface.copyTo(context, toRect(layout::kPageEGraph));
}

void AnalyserPage::draw(DrawContext* context, int hint) {
    switch (hint) {
    case hint::kAll:
        drawBackground(context, layout::kBmpPageEBackground);
        drawPower(context);
        drawCurveMode(context);
        break;
    case pageHint::kFrame:
        drawFrame(context);
        break;
    case pageHint::kPower:
        drawPower(context);
        drawEmptyGraph(context);
        break;
    case pageHint::kCurveMode:
        drawCurveMode(context);
        drawEmptyGraph(context);
        break;
    default:
        break;
    }
}

void AnalyserPage::mouse(DrawContext* context, Point where) {
    activeElement_ = 0;
    if (!context || !(context->getButtonState() & DrawContext::kLButton)) return;
    if (inside(layout::kPageEPowerHit, where))
        write(param::kAnalyserPower,
              std::round(param(param::kAnalyserPower)) == 0.0f ? 1.0f : 0.0f);
    else if (inside(layout::kPageESeparateHit, where))
        write(param::kAnalyserCurveMode, 0.0f);
    else if (inside(layout::kPageECombinedHit, where))
        write(param::kAnalyserCurveMode, 1.0f);
}

} // namespace qv
