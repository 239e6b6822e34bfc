// The window class of every frame window of this module, "Plugin" and the module's handle in hex
// (8 digits, 16 in the 64-bit DLL): registered when the first frame window is made, unregistered
// when the last is gone. Also records whether the system's mouse buttons are swapped.
// Process-wide, UI thread, no lock.
#pragma once

#include <windows.h>

namespace qv {

class FrameWindowClass {
public:
    // One more frame window: registers the class on the first. Returns the class name.
    static const char* acquire(WNDPROC procedure);
    // One frame window less: unregisters the class after the last.
    static void release();

    static const char* name();
    static int useCount();
    static bool buttonsSwapped();
    // Tests: pretend the system's buttons are (not) swapped until the next registration.
    static void setButtonsSwapped(bool swapped);
};

} // namespace qv
