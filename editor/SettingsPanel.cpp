#include "editor/SettingsPanel.h"

#include "params/EditorNotification.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "shell/AudioEffect.h"

namespace layout = qv::layout;

namespace {

// Upper bounds of pages A..F (single precision); G takes the rest.
constexpr float kPageBounds[SettingsPanel::kPageCount - 1] = {0.142857f, 0.285714f, 0.428571f,
                                                              0.571428f, 0.714285f, 0.857142f};

} // namespace

SettingsPanel::SettingsPanel(const Rect& rectangle, ControlListener* listener, AudioEffect* effect)
    : View(rectangle), effect(effect), listener(listener),
      compressorPage({effect, art, *this, activeElement}),
      bandPage({effect, art, *this, activeElement}),
      limiterPage({effect, art, *this, activeElement}),
      filterPage({effect, art, *this, activeElement}),
      analyserPage({effect, art, *this, activeElement}),
      matrixPage({effect, art, *this, activeElement}) {}

SettingsPanel::~SettingsPanel() = default;

SettingsPanel::Page SettingsPanel::pageOf(float value) {
    for (int page = 0; page < kPageCount - 1; ++page)
        if (value < kPageBounds[page]) return static_cast<Page>(page);
    return kPageG;
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
    const Page page = pageOf(effect ? effect->getParameter(kPanelPage) : 0.0f);
    if (PanelPage* object = pageObject(page)) {
        object->draw(context, hint);
    } else {
        // Page G, the information page, shows its background for any hint.
        if (Bitmap* background = art.get(layout::kBmpPageGBackground))
            background->draw(context, size, Point(0, 0));
    }
}

void SettingsPanel::draw(DrawContext* context) {
    if (context) {
        int hint = effect ? effect->getEditorHint(kPanelHint) : 0;
        if (hint == qv::kHintWholeView) hint = 0; // several elements changed: the whole page
        drawPage(context, hint);
    }
    if (effect) effect->setEditorHint(kPanelHint, 0);
    setDirty(false);
}

void SettingsPanel::drawRect(DrawContext* context, const Rect&) {
    if (context) drawPage(context, 0);
    if (effect) effect->setEditorHint(kPanelHint, 0);
    setDirty(false);
}

void SettingsPanel::mouse(DrawContext* context, Point where) {
    if (!mouseEnabled || !context) return;
    const Page page = pageOf(effect ? effect->getParameter(kPanelPage) : 0.0f);
    if (PanelPage* object = pageObject(page))
        object->mouse(context, where);
    else
        activeElement = 0;
}

void SettingsPanel::update(DrawContext*) {}
