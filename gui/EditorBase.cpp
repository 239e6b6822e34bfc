#include "gui/EditorBase.h"

#include "gui/EditorOwner.h"
#include "gui/Frame.h"
#include "gui/InputSource.h"

#include <ole2.h>
#include <windows.h>

namespace qv {

EditorBase::EditorBase(EditorOwner* owner) : owner(owner) {
    nextIdleTime = InputSource::current().tickCount();
}

EditorBase::~EditorBase() = default;

void EditorBase::idle() {
    if (inIdle) return;
    if (frame) frame->idle();
}

long EditorBase::onKeyDown(KeyCode& key) {
    return frame ? frame->onKeyDown(key) : -1;
}

long EditorBase::onKeyUp(KeyCode& key) {
    return frame ? frame->onKeyUp(key) : -1;
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
    if (owner) owner->hostIdle();
    inIdle = false;
}

} // namespace qv
