#include "params/EditorNotification.h"

#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"

namespace qv {

namespace {

constexpr int kNone = -1;            // the page does not react
constexpr int kNumReactingPages = 6; // pages A..F; page G reacts only to PanelPage itself
constexpr int kPanelPageHint = 0;    // PanelPage sets hint 0 on every page, G included

// panelHint codes by page A..F for the page-dependent families.
struct PanelRow {
    ParameterFamily family;
    int hints[kNumReactingPages];
};

constexpr PanelRow kPanelRows[] = {
    {ParameterFamily::InLevel, {4, 4, kNone, kNone, kNone, 10}},
    {ParameterFamily::OutLevel, {5, 5, kNone, kNone, kNone, 10}},
    {ParameterFamily::Thresh, {2, 6, kNone, kNone, kNone, 10}},
    {ParameterFamily::Ratio, {3, 7, kNone, kNone, kNone, 10}},
    {ParameterFamily::AtkCurve, {9, 11, kNone, kNone, kNone, 10}},
    {ParameterFamily::Atk, {6, 8, kNone, kNone, kNone, 10}},
    {ParameterFamily::RelMode, {10, 12, kNone, kNone, kNone, 10}},
    {ParameterFamily::RelM, {7, 9, kNone, kNone, kNone, 10}},
    {ParameterFamily::RelA, {8, 10, kNone, kNone, kNone, 10}},
    {ParameterFamily::AutoRelType, {11, 13, kNone, kNone, kNone, 10}},
    {ParameterFamily::LtLimSw, {kNone, kNone, 1, kNone, kNone, kNone}},
    {ParameterFamily::MeterSw, {kNone, 2, kNone, kNone, kNone, kNone}},
    {ParameterFamily::LtCeiling, {kNone, kNone, 3, kNone, kNone, kNone}},
    {ParameterFamily::LtRelSw, {kNone, kNone, 4, kNone, kNone, kNone}},
    {ParameterFamily::LtRelM, {kNone, kNone, 6, kNone, kNone, kNone}},
    {ParameterFamily::LtRelA, {kNone, kNone, 5, kNone, kNone, kNone}},
    {ParameterFamily::LtClip, {kNone, kNone, 2, kNone, kNone, kNone}},
    {ParameterFamily::FilterType, {kNone, kNone, kNone, 1, kNone, kNone}},
    {ParameterFamily::Qcurve, {kNone, kNone, kNone, 2, kNone, kNone}},
    {ParameterFamily::SelectedChannel, {0, kNone, kNone, kNone, kNone, 2}},
    {ParameterFamily::MatrixItem, {kNone, kNone, kNone, kNone, kNone, 1}},
    {ParameterFamily::BandView, {kNone, 3, kNone, kNone, kNone, kNone}},
    {ParameterFamily::AnalyserPower, {kNone, kNone, kNone, kNone, 2, kNone}},
    {ParameterFamily::AnalyserCurveMode, {kNone, kNone, kNone, kNone, 3, kNone}},
};

// outputHint codes of the output-stage parameters.
constexpr int kMasterOutHint = 2;
constexpr int kDryOutHint = 3;
constexpr int kWetOutHint = 4;

} // namespace

EditorNotification editorNotificationFor(int index, int page) {
    const ParameterFamily family = familyOf(index);
    switch (family) {
    case ParameterFamily::Freq:
        return {EditorRefresh::CrossoverStrip, 0};
    case ParameterFamily::RedLink:
        return {EditorRefresh::LinkStrip, 0};
    case ParameterFamily::MasterOut:
        return {EditorRefresh::OutputStage, kMasterOutHint};
    case ParameterFamily::DryOut:
        return {EditorRefresh::OutputStage, kDryOutHint};
    case ParameterFamily::WetOut:
        return {EditorRefresh::OutputStage, kWetOutHint};
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
