#include "gui/InputSource.h"

#include <windows.h>

namespace qv {

namespace {

InputSource& systemSource() {
    static InputSource source; // the Windows-backed default
    return source;
}

InputSource* installed = nullptr; // a test's scripted source, or null

bool keyDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) < 0;
}

} // namespace

int InputSource::physicalButtons() {
    int bits = 0;
    if (keyDown(VK_LBUTTON)) bits |= kPhysicalLeft;
    if (keyDown(VK_MBUTTON)) bits |= kMiddle;
    if (keyDown(VK_RBUTTON)) bits |= kPhysicalRight;
    if (keyDown(VK_SHIFT)) bits |= kShift;
    if (keyDown(VK_CONTROL)) bits |= kControl;
    if (keyDown(VK_MENU)) bits |= kAlt;
    return bits;
}

Point InputSource::cursorPosition() {
    POINT p{0, 0};
    if (!GetCursorPos(&p)) return Point(0, 0);
    return Point(p.x, p.y);
}

void InputSource::setCursorPosition(Point screen) {
    SetCursorPos(screen.x, screen.y);
}

int InputSource::showCursor(bool show) {
    return ShowCursor(show ? TRUE : FALSE);
}

std::uint32_t InputSource::tickCount() {
    return GetTickCount();
}

void InputSource::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

InputSource& InputSource::current() {
    return installed ? *installed : systemSource();
}

void InputSource::install(InputSource* source) {
    installed = source;
}

} // namespace qv
