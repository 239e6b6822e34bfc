#include "editor/MultibandEditor.h"

#include "params/ParameterMapping.h"

#include "editor/CrossoverStrip.h"
#include "editor/EditorLayout.h"
#include "editor/LinkStrip.h"
#include "editor/MultiControlColumn.h"
#include "editor/OutputStageView.h"
#include "editor/RectOf.h"
#include "editor/SettingsPanel.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/SegmentSelector.h"
#include "gui/ToggleButton.h"
#include "shell/AudioEffect.h"

#include <new>
#include <windows.h>

namespace qv {

namespace {

constexpr int kPageCount = kNumPanelPages; // pictures and positions of the page selector

// A rectangle of the bitmap's width and one frame's height at (x, y).
Rect bitmapSized(const Bitmap* bitmap, int x, int y, int frames) {
    const int width = bitmap ? bitmap->getWidth() : 0;
    const int height = bitmap ? bitmap->getHeight() / frames : 0;
    return Rect(x, y, x + width, y + height);
}

} // namespace

MultibandEditor::MultibandEditor(AudioEffect* effect) : PluginEditor(effect) {
    background_ = new (std::nothrow) Bitmap(layout::kBmpBackground.id);
    const int width = background_ ? background_->getWidth() : 0;
    const int height = background_ ? background_->getHeight() : 0;
    rect_.top = 0;
    rect_.left = 0;
    rect_.bottom = static_cast<std::int16_t>(height);
    rect_.right = static_cast<std::int16_t>(width);
}

MultibandEditor::~MultibandEditor() {
    // A host that forgot effEditClose: the window must not outlive the frame it points to.
    if (frame_) {
        isOpen_.store(0, std::memory_order_release);
        delete frame_;
        frame_ = nullptr;
    }
    if (background_) background_->release();
}

VstIntPtr MultibandEditor::open(void* window) {
    if (frame_) close(); // opened twice without a close: start again from scratch
    PluginEditor::open(window);
    const int width = background_ ? background_->getWidth() : 0;
    const int height = background_ ? background_->getHeight() : 0;
    frame_ = new (std::nothrow) Frame(Rect(0, 0, width, height), static_cast<HWND>(window), this);
    if (!frame_) return 0;
    frame_->setBackground(background_);
    // Custom views, in drawing order; the two hints are cleared after the first and the fourth.
    outputStage_ =
        addCustomView(new (std::nothrow) OutputStageView(rectOf(layout::kOutputStage), effect_));
    if (effect_) effect_->setEditorHint(tag::kOutputHint, 0);
    crossoverStrip_ =
        addCustomView(new (std::nothrow) CrossoverStrip(rectOf(layout::kCrossoverStrip), effect_));
    linkStrip_ = addCustomView(new (std::nothrow) LinkStrip(rectOf(layout::kLinkStrip), effect_));
    settingsPanel_ =
        addCustomView(new (std::nothrow) SettingsPanel(rectOf(layout::kSettingsPanel), effect_));
    if (effect_) effect_->setEditorHint(tag::kPanelHint, 0);
    multiControl_ = addCustomView(new (std::nothrow)
                                      MultiControlColumn(rectOf(layout::kMultiControl), effect_));
    buildControls();
    // Every control has just read its value: nothing recorded before now is still due.
    pendingControls_.store(0, std::memory_order_relaxed);
    uiThread_.store(GetCurrentThreadId(), std::memory_order_relaxed);
    isOpen_.store(1, std::memory_order_release);
    return 1;
}

View* MultibandEditor::addCustomView(View* view) {
    if (!view) return nullptr;
    if (frame_->addView(view)) return view;
    view->release();
    return nullptr;
}

void MultibandEditor::buildControls() {
    auto bind = [this](Control* control) {
        if (!control) return;
        if (effect_) control->setValue(effect_->getParameter(control->getTag()));
        if (!frame_->addView(control)) control->release();
    };

    if (Bitmap* pages = new (std::nothrow) Bitmap(layout::kBmpPageSelector.id)) {
        const int frameHeight = pages->getHeight() / kPageCount;
        pageSelector_ = new (std::nothrow)
            SegmentSelector(bitmapSized(pages, layout::kPageSelectorButtons.left,
                                        layout::kPageSelectorButtons.top, kPageCount),
                            this, param::kPanelPage, frameHeight, kPageCount, pages, Point(0, 0));
        bind(pageSelector_);
        pages->release();
    }
    if (Bitmap* picture = new (std::nothrow) Bitmap(layout::kBmpMonitorToggle.id)) {
        monitor_ = new (std::nothrow)
            ToggleButton(bitmapSized(picture, layout::kMonitor.left, layout::kMonitor.top, 2), this,
                         param::kMonitor, picture->getHeight() / 2, picture, Point(0, 0));
        // The engine monitors from 0.5 on; the band switches turn off only above it.
        if (monitor_) monitor_->setThresholdInclusive(true);
        bind(monitor_);
        picture->release();
    }
    // Power switches of bands 1..5, then the compressor switches.
    const int bitmapIds[2] = {layout::kBmpPowerToggle.id, layout::kBmpCompToggle.id};
    const int* columns[2] = {layout::kPowerToggleX, layout::kCompToggleX};
    for (int row = 0; row < 2; ++row) {
        Bitmap* picture = new (std::nothrow) Bitmap(bitmapIds[row]);
        if (!picture) continue;
        for (int band = 0; band < 5; ++band) {
            const int slot = row * 5 + band;
            bandToggles_[slot] = new (std::nothrow) ToggleButton(
                bitmapSized(picture, columns[row][band], layout::kBandToggleY, 2), this,
                kBandToggleTags[slot], picture->getHeight() / 2, picture, Point(0, 0));
            bind(bandToggles_[slot]);
        }
        picture->release();
    }
}

void MultibandEditor::close() {
    isOpen_.store(0, std::memory_order_release);
    delete frame_; // and with it every view and control
    frame_ = nullptr;
    outputStage_ = crossoverStrip_ = linkStrip_ = settingsPanel_ = multiControl_ = nullptr;
    pageSelector_ = nullptr;
    monitor_ = nullptr;
    for (ToggleButton*& toggle : bandToggles_)
        toggle = nullptr;
    if (effect_) {
        effect_->setEditorValue(tag::kEditorScratch, 0.0f);
        effect_->setEditorHint(tag::kOutputHint, 0);
        effect_->setEditorHint(tag::kPanelHint, 0);
    }
}

void MultibandEditor::redrawView(View* view) {
    if (isEditorOpen() && view) view->redraw();
}

void MultibandEditor::updateOutputStage() {
    redrawView(outputStage_);
}
void MultibandEditor::updateCrossoverStrip() {
    redrawView(crossoverStrip_);
}
void MultibandEditor::updateLinkStrip() {
    redrawView(linkStrip_);
}
void MultibandEditor::updatePanel() {
    redrawView(settingsPanel_);
}
void MultibandEditor::updateMultiControl() {
    redrawView(multiControl_);
}

VstInt32 MultibandEditor::stockTag(int slot) {
    if (slot >= 0 && slot < kBandToggleCount) return kBandToggleTags[slot];
    if (slot == kBandToggleCount) return param::kMonitor;
    if (slot == kBandToggleCount + 1) return param::kPanelPage;
    return -1;
}

int MultibandEditor::stockSlot(VstInt32 tag) {
    for (int slot = 0; slot < kStockControlCount; ++slot)
        if (stockTag(slot) == tag) return slot;
    return -1;
}

Control* MultibandEditor::findControl(VstInt32 tag) const {
    if (!isEditorOpen()) return nullptr;
    if (tag == param::kPanelPage) return pageSelector_;
    if (tag == param::kMonitor) return monitor_;
    for (int i = 0; i < kBandToggleCount; ++i)
        if (kBandToggleTags[i] == tag) return bandToggles_[i];
    return nullptr;
}

bool MultibandEditor::isControlPending(VstInt32 tag) const {
    const int slot = stockSlot(tag);
    return slot >= 0 && (pendingControls_.load(std::memory_order_acquire) >> slot & 1u) != 0;
}

View* MultibandEditor::findCustomView(int refreshFlag) const {
    View* const views[] = {outputStage_, crossoverStrip_, linkStrip_, settingsPanel_,
                           multiControl_};
    if (!isEditorOpen() || refreshFlag < 1 || refreshFlag > 5) return nullptr;
    return views[refreshFlag - 1];
}

void MultibandEditor::setParameter(VstInt32 index, float) {
    if (!isEditorOpen()) return;
    if (GetCurrentThreadId() == uiThread_.load(std::memory_order_relaxed)) {
        resynchronise(findControl(index));
    } else if (const int slot = stockSlot(index); slot >= 0) {
        // Published by postUpdate's release store below, taken by update() on the UI thread.
        pendingControls_.fetch_or(1u << slot, std::memory_order_relaxed);
    }
    postUpdate();
}

void MultibandEditor::update() {
    const std::uint32_t pending = pendingControls_.exchange(0, std::memory_order_acq_rel);
    if (!pending || !isEditorOpen()) return;
    for (int slot = 0; slot < kStockControlCount; ++slot)
        if (pending >> slot & 1u) resynchronise(findControl(stockTag(slot)));
}

void MultibandEditor::resynchronise(Control* control) {
    if (!control) return;
    control->setValue(effect_ ? effect_->getParameter(control->getTag()) : 0.0f);
    control->redraw();
}

void MultibandEditor::valueChanged(DrawContext* context, Control* control) {
    if (!control) return;
    const long tag = control->getTag();
    if (stockSlot(tag) < 0) return;
    if (effect_) effect_->setParameterAutomated(tag, control->getValue());
    if (context && control->isDirty()) control->draw(context);
}

} // namespace qv
