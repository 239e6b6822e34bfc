#include "gui/EditorBase.h"

#include "gui/EditorOwner.h"
#include "gui/Frame.h"
#include "gui/InputSource.h"

#include <ole2.h>
#include <windows.h>

namespace qv {

EditorBase::EditorBase(EditorOwner* owner) : owner_(owner) {
    nextIdleTime_ = InputSource::current().tickCount();
}

EditorBase::~EditorBase() = default;

void EditorBase::idle() {
    if (inIdle_) return;
    if (frame_) frame_->idle();
}

long EditorBase::onKeyDown(KeyCode& key) {
    return frame_ ? frame_->onKeyDown(key) : -1;
}

long EditorBase::onKeyUp(KeyCode& key) {
    return frame_ ? frame_->onKeyUp(key) : -1;
}

bool EditorBase::onWheel(float distance) {
    return frame_ ? frame_->onWheel(nullptr, Point(0, 0), distance) : false;
}

void EditorBase::draw() {
    if (frame_) frame_->drawView(nullptr);
}

void EditorBase::pumpIdle() {
    InputSource& input = InputSource::current();
    std::uint32_t now = input.tickCount();
    if (now < nextIdleTime_) {
        input.sleep(kPumpSleep);
        now += kPumpSleep;
        if (now < nextIdleTime_ - kPumpSlack) return;
    }
    idle();
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
    nextIdleTime_ = now + kPumpInterval;
    inIdle_ = true;
    if (owner_) owner_->hostIdle();
    inIdle_ = false;
}

} // namespace qv
