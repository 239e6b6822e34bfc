#include "gui/EditorBase.h"

#include "gui/Frame.h"
#include "gui/InputSource.h"
#include "shell/AudioEffect.h"

#include <ole2.h>
#include <windows.h>

namespace {

VstInt32 knobMode = 0; // process-wide; stored for the host, read by no control

} // namespace

EditorBase::EditorBase(AudioEffect* effect) : HostEditor(effect) {
    if (effect) effect->setEditor(this);
    nextIdleTime = InputSource::current().tickCount();
}

EditorBase::~EditorBase() = default;

VstIntPtr EditorBase::getRect(ERect** out) {
    if (out) *out = &rect;
    return 1;
}

VstIntPtr EditorBase::open(void* window) {
    postUpdate();
    postUpdateOutputStage();
    postUpdateCrossoverStrip();
    postUpdateLinkStrip();
    postUpdatePanel();
    postUpdateMultiControl();
    systemWindow = window;
    return 0;
}

void EditorBase::idle() {
    if (inIdle) return;
    serveRefreshFlags();
    if (frame) frame->idle();
}

VstInt32 EditorBase::onKeyDown(VstKeyCode& key) {
    return frame ? static_cast<VstInt32>(frame->onKeyDown(key)) : -1;
}

VstInt32 EditorBase::onKeyUp(VstKeyCode& key) {
    return frame ? static_cast<VstInt32>(frame->onKeyUp(key)) : -1;
}

VstInt32 EditorBase::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    return 1;
}

VstInt32 EditorBase::getKnobMode() {
    return knobMode;
}

bool EditorBase::onWheel(float distance) {
    return frame ? frame->onWheel(nullptr, Point(0, 0), distance) : false;
}

void EditorBase::draw() {
    if (frame) frame->drawView(nullptr);
}

void EditorBase::pumpIdle() {
    InputSource& input = InputSource::current();
    std::uint32_t now = input.tickCount();
    if (now < nextIdleTime) {
        input.sleep(kPumpSleep);
        now += kPumpSleep;
        if (now < nextIdleTime - kPumpSlack) return;
    }
    idle();
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
    nextIdleTime = now + kPumpInterval;
    inIdle = true;
    if (effect) effect->masterIdle();
    inIdle = false;
}
