#include "gui/FrameWindowClass.h"

#include "gui/ResourceModule.h"

#include <cstdio>

namespace qv {

namespace {

// Hex digits of a module handle: 8, or 16 on 64 bits (no two modules may share a name).
constexpr int kHandleDigits = static_cast<int>(2 * sizeof(UINT_PTR));

char className[32] = {};     // "Plugin" and the module handle in kHandleDigits digits, built once
int uses = 0;                // frame windows made and not yet destroyed
bool swappedButtons = false; // SM_SWAPBUTTON at the last registration

const char* buildName() {
    if (!className[0])
        std::snprintf(
            className, sizeof(className), "Plugin%0*llx", kHandleDigits,
            static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(ResourceModule::get())));
    return className;
}

} // namespace

const char* FrameWindowClass::acquire(WNDPROC procedure) {
    if (uses++ != 0) return className;
    buildName();
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = procedure;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = ResourceModule::get();
    wc.hIcon = nullptr;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    swappedButtons = GetSystemMetrics(SM_SWAPBUTTON) > 0;
    return className;
}

void FrameWindowClass::release() {
    if (uses <= 0) return;
    if (--uses == 0) UnregisterClassA(className, ResourceModule::get());
}

const char* FrameWindowClass::name() {
    return buildName();
}
int FrameWindowClass::useCount() {
    return uses;
}
bool FrameWindowClass::buttonsSwapped() {
    return swappedButtons;
}
void FrameWindowClass::setButtonsSwapped(bool swapped) {
    swappedButtons = swapped;
}

} // namespace qv
