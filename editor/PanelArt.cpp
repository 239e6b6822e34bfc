#include "editor/PanelArt.h"

#include "gui/Bitmap.h"

#include <new>

namespace qv {

namespace {

// Every bitmap a page draws.
constexpr const layout::BitmapSpec* kPanelBitmaps[] = {
    &layout::kBmpValueBox,
    &layout::kBmpSmallSwitch,
    &layout::kBmpReleaseModeSwitch,
    &layout::kBmpPageAMeter,
    &layout::kBmpPageABackground,
    &layout::kBmpThresholdMarker,
    &layout::kBmpThresholdStrip,
    &layout::kBmpAttackCurveSwitch,
    &layout::kBmpChannelButtons,
    &layout::kBmpAutoReleaseTypeSwitch,
    &layout::kBmpPageDBackground,
    &layout::kBmpFilterTypeSwitch,
    &layout::kBmpCutoffCurveSwitch,
    &layout::kBmpPageGBackground,
    &layout::kBmpPageCBackground,
    &layout::kBmpCeilingBox,
    &layout::kBmpClipCurveSwitch,
    &layout::kBmpPageFBackground,
    &layout::kBmpMatrixValueRow,
    &layout::kBmpMatrixItems,
    &layout::kBmpMatrixChannelRow,
    &layout::kBmpMatrixArrow,
    &layout::kBmpBandMeter,
    &layout::kBmpPageBAmplitudeBackground,
    &layout::kBmpPageBEnvelopeBackground,
    &layout::kBmpBandValueBox,
    &layout::kBmpBandCompValueBox,
    &layout::kBmpMatrixBandBox,
    &layout::kBmpChannelHeader,
    &layout::kBmpViewButtons,
    &layout::kBmpBandAttackCurveSwitch,
    &layout::kBmpBandReleaseModeSwitch,
    &layout::kBmpBandAutoReleaseSwitch,
    &layout::kBmpPageEBackground,
    &layout::kBmpCurveModeButton,
    &layout::kBmpAnalyserGraph,
};

} // namespace

PanelArt::PanelArt() {
    for (const layout::BitmapSpec* entry : kPanelBitmaps)
        bitmaps_[entry->id - kFirstId] = new (std::nothrow) Bitmap(entry->id);
}

PanelArt::~PanelArt() {
    for (Bitmap*& bitmap : bitmaps_) {
        if (bitmap) bitmap->release();
        bitmap = nullptr;
    }
}

Bitmap* PanelArt::get(const layout::BitmapSpec& entry) const {
    if (entry.id < kFirstId || entry.id > kLastId) return nullptr;
    return bitmaps_[entry.id - kFirstId];
}

int PanelArt::frameHeight(const layout::BitmapSpec& entry) const {
    const Bitmap* bitmap = get(entry);
    return bitmap && entry.frames > 0 ? bitmap->getHeight() / entry.frames : 0;
}

} // namespace qv
