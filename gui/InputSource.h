// Where the toolkit reads the mouse buttons, modifier keys, pointer and clock, and how it moves,
// hides and shows the cursor and sleeps. The default asks Windows; tests install a scripted
// source to drive mouse gestures deterministically. Only this and nothing else is replaceable.
#pragma once

#include "gui/Point.h"

#include <cstdint>

namespace qv {

class InputSource {
public:
    // Bits of physicalButtons(): mouse buttons as the hardware has them (not swapped) and keys.
    enum : int {
        kPhysicalLeft = 1,
        kMiddle = 2,
        kPhysicalRight = 4,
        kShift = 8,
        kControl = 16,
        kAlt = 32,
    };

    InputSource() = default;
    InputSource(const InputSource&) = delete;
    InputSource& operator=(const InputSource&) = delete;
    virtual ~InputSource() = default;

    // GetAsyncKeyState of the three buttons and Shift, Control, Alt (down when negative).
    virtual int physicalButtons();
    // GetCursorPos, in screen coordinates; (0, 0) when Windows cannot tell.
    virtual Point cursorPosition();
    virtual void setCursorPosition(Point screen);
    // ShowCursor: returns the new display count.
    virtual int showCursor(bool show);
    // GetTickCount: milliseconds, wrapping at 2^32.
    virtual std::uint32_t tickCount();
    virtual void sleep(std::uint32_t milliseconds);

    // The source in use (the system's unless a test installed another). UI thread.
    static InputSource& current();
    // Installs a source (not owned); null goes back to the system's.
    static void install(InputSource* source);
};

} // namespace qv
