#include "editor/SettingsPanel.h"

#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "shell/AudioEffect.h"

namespace qv {

static_assert(SettingsPanel::kPageCount == kNumPanelPages, "one page object per page");

SettingsPanel::SettingsPanel(const Rect& rectangle, AudioEffect* effect)
    : View(rectangle), effect_(effect), compressorPage_({effect, art_, *this, activeElement_}),
      bandPage_({effect, art_, *this, activeElement_}),
      limiterPage_({effect, art_, *this, activeElement_}),
      filterPage_({effect, art_, *this, activeElement_}),
      analyserPage_({effect, art_, *this, activeElement_}),
      matrixPage_({effect, art_, *this, activeElement_}) {}

SettingsPanel::~SettingsPanel() = default;

SettingsPanel::Page SettingsPanel::pageOf(float value) {
    return static_cast<Page>(panelPageOf(value));
}

PanelPage* SettingsPanel::pageObject(Page page) {
    switch (page) {
    case kPageA:
        return &compressorPage_;
    case kPageB:
        return &bandPage_;
    case kPageC:
        return &limiterPage_;
    case kPageD:
        return &filterPage_;
    case kPageE:
        return &analyserPage_;
    case kPageF:
        return &matrixPage_;
    default:
        return nullptr;
    }
}

void SettingsPanel::drawPage(DrawContext* context, int hint) {
    const Page page = pageOf(effect_ ? effect_->getParameter(param::kPanelPage) : 0.0f);
    if (PanelPage* object = pageObject(page)) {
        object->draw(context, hint);
    } else {
        // Page G, the information page, shows its background for any hint.
        if (Bitmap* background = art_.get(layout::kBmpPageGBackground))
            background->draw(context, size_, Point(0, 0));
    }
}

void SettingsPanel::draw(DrawContext* context) {
    if (context) {
        int hint = effect_ ? effect_->getEditorHint(tag::kPanelHint) : 0;
        if (hint == kHintWholeView) hint = 0; // several elements changed: the whole page
        drawPage(context, hint);
    }
    if (effect_) effect_->setEditorHint(tag::kPanelHint, 0);
    setDirty(false);
}

void SettingsPanel::drawRect(DrawContext* context, const Rect&) {
    if (context) drawPage(context, 0);
    if (effect_) effect_->setEditorHint(tag::kPanelHint, 0);
    setDirty(false);
}

void SettingsPanel::mouse(DrawContext* context, Point where) {
    if (!mouseEnabled_ || !context) return;
    const Page page = pageOf(effect_ ? effect_->getParameter(param::kPanelPage) : 0.0f);
    if (PanelPage* object = pageObject(page))
        object->mouse(context, where);
    else
        activeElement_ = 0;
}

void SettingsPanel::update(DrawContext*) {}

} // namespace qv
