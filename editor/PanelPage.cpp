#include "editor/PanelPage.h"

#include "editor/PanelArt.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/View.h"
#include "shell/AudioEffect.h"

#include <cmath>

namespace qv {

PanelPage::PanelPage(const Setting& setting)
    : effect_(setting.effect), art_(setting.art), panel_(setting.panel),
      activeElement_(setting.activeElement) {}

float PanelPage::param(int index) const {
    return effect_ ? effect_->getParameter(index) : 0.0f;
}

void PanelPage::write(int index, float value) {
    if (effect_ && index >= 0) effect_->setParameter(index, value);
}

float PanelPage::reading(int tag) const {
    return effect_ ? effect_->getEditorValue(tag) : 0.0f;
}

void PanelPage::toggle(int index) {
    const float v = param(index);
    write(index, std::trunc(v + 0.5f) == 0.0f ? 1.0f : 0.0f);
}

void PanelPage::drawBackground(DrawContext* context, const Entry& entry) {
    if (Bitmap* bitmap = art_.get(entry)) bitmap->draw(context, panel_.viewSize(), Point(0, 0));
}

Rect PanelPage::frameRect(const Entry& entry, int left, int top) const {
    const Bitmap* bitmap = art_.get(entry);
    const int width = bitmap ? bitmap->getWidth() : 0;
    return Rect(left, top, left + width, top + art_.frameHeight(entry));
}

void PanelPage::drawFrame(DrawContext* context, const Entry& entry, int left, int top, int frame,
                          bool transparent) {
    Bitmap* bitmap = art_.get(entry);
    if (!bitmap) return;
    if (frame < 0) frame = 0;
    if (frame >= entry.frames) frame = entry.frames - 1;
    const Point source(0, frame * art_.frameHeight(entry));
    if (transparent)
        bitmap->drawTransparent(context, frameRect(entry, left, top), source);
    else
        bitmap->draw(context, frameRect(entry, left, top), source);
}

void PanelPage::drawValueBox(DrawContext* context, const Entry& entry, int left, int top,
                             const char* text, bool transparentBox, FontId font, int style) {
    drawFrame(context, entry, left, top, 0, transparentBox);
    if (!context) return;
    context->setFont(font, 0, style);
    context->setFontColor(kBlack);
    context->drawString(text, frameRect(entry, left, top), false, DrawContext::kAlignCenter);
}

} // namespace qv
