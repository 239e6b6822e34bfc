// A plain top-level window standing in for a host's editor window, and pixel helpers.
#pragma once

#include "gui/Color.h"

#include <windows.h>

namespace qv {

class TestWindow {
public:
    TestWindow(int width = 800, int height = 600) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.lpszClassName = "QvTestHostWindow";
            registered = RegisterClassA(&wc) != 0;
        }
        handle =
            CreateWindowExA(0, "QvTestHostWindow", "test host", WS_POPUP | WS_CLIPCHILDREN, 10, 10,
                            width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        // Shown without activation: Wine then leaves it unmanaged, and destroying it does not
        // wait (two seconds, without a window manager) for the manager to withdraw it.
        SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ~TestWindow() {
        if (handle && IsWindow(handle)) DestroyWindow(handle);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle = nullptr;
};

// Runs every pending message of this thread (paints included).
inline void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline COLORREF gdiOf(Color c) {
    return c.toGdi();
}

inline BOOL CALLBACK countChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// Number of child windows of parent (all levels).
inline int childWindowCount(HWND parent) {
    int count = 0;
    EnumChildWindows(parent, countChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace qv
