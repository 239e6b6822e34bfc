#include "params/EditorNotification.h"

#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"

namespace qv {

namespace {

constexpr int kNone = -1;                  // the page does not react
constexpr int kNumReactingPages = 6;       // pages A..F; page G reacts only to PanelPage itself
constexpr int kPanelPageHint = hint::kAll; // PanelPage: the whole page, on every page, G too

// panelHint codes by page A..F for the page-dependent families.
struct PanelRow {
    ParameterFamily family;
    int hints[kNumReactingPages];
};

namespace A = hint::compressor;
namespace B = hint::band;
namespace C = hint::limiter;
namespace D = hint::filter;
namespace E = hint::analyser;
namespace F = hint::matrix;

constexpr PanelRow kPanelRows[] = {
    {ParameterFamily::InLevel, {A::kInputLevel, B::kInputLevel, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::OutLevel,
     {A::kOutputLevel, B::kOutputLevel, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::Thresh, {A::kThreshold, B::kThreshold, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::Ratio, {A::kRatio, B::kRatio, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::AtkCurve,
     {A::kAttackCurve, B::kAttackCurve, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::Atk, {A::kAttackTime, B::kAttackTime, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::RelMode, {A::kReleaseMode, B::kReleaseMode, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::RelM, {A::kReleaseTime, B::kReleaseTime, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::RelA, {A::kReleaseDepth, B::kReleaseDepth, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::AutoRelType,
     {A::kAutoReleaseType, B::kAutoReleaseType, kNone, kNone, kNone, F::kValues}},
    {ParameterFamily::LtLimSw, {kNone, kNone, C::kPower, kNone, kNone, kNone}},
    {ParameterFamily::MeterSw, {kNone, B::kMeterSwitch, kNone, kNone, kNone, kNone}},
    {ParameterFamily::LtCeiling, {kNone, kNone, C::kCeiling, kNone, kNone, kNone}},
    {ParameterFamily::LtRelSw, {kNone, kNone, C::kReleaseSwitch, kNone, kNone, kNone}},
    {ParameterFamily::LtRelM, {kNone, kNone, C::kReleaseTime, kNone, kNone, kNone}},
    {ParameterFamily::LtRelA, {kNone, kNone, C::kReleaseDepth, kNone, kNone, kNone}},
    {ParameterFamily::LtClip, {kNone, kNone, C::kClip, kNone, kNone, kNone}},
    {ParameterFamily::FilterType, {kNone, kNone, kNone, D::kFilterType, kNone, kNone}},
    {ParameterFamily::Qcurve, {kNone, kNone, kNone, D::kCutoffCurve, kNone, kNone}},
    {ParameterFamily::SelectedChannel, {hint::kAll, kNone, kNone, kNone, kNone, F::kChannel}},
    {ParameterFamily::MatrixItem, {kNone, kNone, kNone, kNone, kNone, F::kItem}},
    {ParameterFamily::BandView, {kNone, B::kView, kNone, kNone, kNone, kNone}},
    {ParameterFamily::AnalyserPower, {kNone, kNone, kNone, kNone, E::kPower, kNone}},
    {ParameterFamily::AnalyserCurveMode, {kNone, kNone, kNone, kNone, E::kCurveMode, kNone}},
};

} // namespace

EditorNotification editorNotificationFor(int index, int page) {
    const ParameterFamily family = familyOf(index);
    switch (family) {
    case ParameterFamily::Freq:
        return {EditorRefresh::CrossoverStrip, 0};
    case ParameterFamily::RedLink:
        return {EditorRefresh::LinkStrip, 0};
    case ParameterFamily::MasterOut:
        return {EditorRefresh::OutputStage, hint::output::kMaster};
    case ParameterFamily::DryOut:
        return {EditorRefresh::OutputStage, hint::output::kDry};
    case ParameterFamily::WetOut:
        return {EditorRefresh::OutputStage, hint::output::kWet};
    default:
        break;
    }
    if (page < 0 || page >= kNumPanelPages) return {EditorRefresh::None, 0};
    if (family == ParameterFamily::PanelPage) return {EditorRefresh::Panel, kPanelPageHint};
    if (page >= kNumReactingPages) return {EditorRefresh::None, 0};
    for (const PanelRow& row : kPanelRows) {
        if (row.family != family) continue;
        const int hint = row.hints[page];
        if (hint == kNone) return {EditorRefresh::None, 0};
        return {EditorRefresh::Panel, hint};
    }
    return {EditorRefresh::None, 0};
}

int mergeHint(int pending, bool undrawn, int incoming) {
    if (!undrawn || incoming == 0 || pending == incoming) return incoming;
    return kHintWholeView; // two undrawn elements, or an element after an undrawn whole view
}

} // namespace qv
