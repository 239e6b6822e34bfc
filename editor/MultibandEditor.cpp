#include "editor/MultibandEditor.h"

#include "shell/AudioEffect.h"

MultibandEditor::MultibandEditor(AudioEffect* effect) : HostEditor(effect) {
    if (effect) effect->setEditor(this);
}

VstIntPtr MultibandEditor::getRect(ERect** out) {
    if (out) *out = &rect;
    return 1;
}
