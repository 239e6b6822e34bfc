#include "editor/SettingsPanel.h"

#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"
#include "params/ParameterMapping.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "shell/AudioEffect.h"

namespace qv {

static_assert(SettingsPanel::kPageCount == qv::kNumPanelPages, "one page object per page");

SettingsPanel::SettingsPanel(const Rect& rectangle, AudioEffect* effect)
    : View(rectangle), effect(effect), compressorPage({effect, art, *this, activeElement}),
      bandPage({effect, art, *this, activeElement}),
      limiterPage({effect, art, *this, activeElement}),
      filterPage({effect, art, *this, activeElement}),
      analyserPage({effect, art, *this, activeElement}),
      matrixPage({effect, art, *this, activeElement}) {}

SettingsPanel::~SettingsPanel() = default;

SettingsPanel::Page SettingsPanel::pageOf(float value) {
    return static_cast<Page>(qv::panelPageOf(value));
}

PanelPage* SettingsPanel::pageObject(Page page) {
    switch (page) {
    case kPageA:
        return &compressorPage;
    case kPageB:
        return &bandPage;
    case kPageC:
        return &limiterPage;
    case kPageD:
        return &filterPage;
    case kPageE:
        return &analyserPage;
    case kPageF:
        return &matrixPage;
    default:
        return nullptr;
    }
}

void SettingsPanel::drawPage(DrawContext* context, int hint) {
    const Page page = pageOf(effect ? effect->getParameter(qv::param::kPanelPage) : 0.0f);
    if (PanelPage* object = pageObject(page)) {
        object->draw(context, hint);
    } else {
        // Page G, the information page, shows its background for any hint.
        if (Bitmap* background = art.get(layout::kBmpPageGBackground))
            background->draw(context, size_, Point(0, 0));
    }
}

void SettingsPanel::draw(DrawContext* context) {
    if (context) {
        int hint = effect ? effect->getEditorHint(qv::tag::kPanelHint) : 0;
        if (hint == qv::kHintWholeView) hint = 0; // several elements changed: the whole page
        drawPage(context, hint);
    }
    if (effect) effect->setEditorHint(qv::tag::kPanelHint, 0);
    setDirty(false);
}

void SettingsPanel::drawRect(DrawContext* context, const Rect&) {
    if (context) drawPage(context, 0);
    if (effect) effect->setEditorHint(qv::tag::kPanelHint, 0);
    setDirty(false);
}

void SettingsPanel::mouse(DrawContext* context, Point where) {
    if (!mouseEnabled_ || !context) return;
    const Page page = pageOf(effect ? effect->getParameter(qv::param::kPanelPage) : 0.0f);
    if (PanelPage* object = pageObject(page))
        object->mouse(context, where);
    else
        activeElement = 0;
}

void SettingsPanel::update(DrawContext*) {}

} // namespace qv
