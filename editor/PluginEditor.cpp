#include "editor/PluginEditor.h"

#include "shell/AudioEffect.h"

namespace qv {

namespace {

// The host's key as the toolkit's views take it.
KeyCode toolkitKey(const VstKeyCode& key) {
    KeyCode code;
    code.character = key.character;
    code.virtualKey = key.virt;
    code.modifiers = key.modifier;
    return code;
}

} // namespace

PluginEditor::PluginEditor(AudioEffect* effect) : HostEditor(effect), EditorBase(this) {
    if (effect) effect->setEditor(this);
}

VstIntPtr PluginEditor::getRect(ERect** out) {
    if (out) *out = &rect_;
    return 1;
}

VstIntPtr PluginEditor::open(void* window) {
    postUpdate();
    postUpdateOutputStage();
    postUpdateCrossoverStrip();
    postUpdateLinkStrip();
    postUpdatePanel();
    postUpdateMultiControl();
    systemWindow_ = window;
    return 0;
}

void PluginEditor::idle() {
    if (isInHostIdle()) return;
    serveRefreshFlags();
    EditorBase::idle();
}

VstInt32 PluginEditor::onKeyDown(VstKeyCode& key) {
    KeyCode code = toolkitKey(key);
    return static_cast<VstInt32>(EditorBase::onKeyDown(code));
}

VstInt32 PluginEditor::onKeyUp(VstKeyCode& key) {
    KeyCode code = toolkitKey(key);
    return static_cast<VstInt32>(EditorBase::onKeyUp(code));
}

VstInt32 PluginEditor::setKnobMode(VstInt32) {
    return 1; // accepted; no control of the editor has a knob mode
}

bool PluginEditor::onWheel(float distance) {
    return EditorBase::onWheel(distance);
}

void PluginEditor::beginEdit(long tag) {
    if (effect_) effect_->beginEdit(static_cast<VstInt32>(tag));
}

void PluginEditor::endEdit(long tag) {
    if (effect_) effect_->endEdit(static_cast<VstInt32>(tag));
}

void PluginEditor::hostIdle() {
    if (effect_) effect_->masterIdle();
}

} // namespace qv
