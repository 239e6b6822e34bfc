#include "tools/validate/EditorHost.h"

#include <windows.h>

namespace qv {

namespace {

const char kWindowClass[] = "QvValidatorEditorHost";
constexpr int kDefaultWidth = 800, kDefaultHeight = 600; // before the editor says its size

void registerClass() {
    static bool registered = false; // registration is process-wide; a second one just fails
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    registered = true;
}

} // namespace

EditorHost::EditorHost() {
    registerClass();
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "qvhost validate",
                              WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, kDefaultWidth,
                              kDefaultHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

EditorHost::~EditorHost() {
    if (window_) DestroyWindow(static_cast<HWND>(window_));
    pump();
}

void EditorHost::pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

VstIntPtr EditorHost::open(TestInstance& instance) {
    ERect* rect = nullptr;
    instance.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect && rect->right > rect->left && rect->bottom > rect->top) {
        RECT size = {0, 0, rect->right - rect->left, rect->bottom - rect->top};
        AdjustWindowRectEx(&size, WS_OVERLAPPED | WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
        SetWindowPos(static_cast<HWND>(window_), nullptr, 0, 0, size.right - size.left,
                     size.bottom - size.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return instance.dispatch(effEditOpen, 0, 0, window_);
}

void EditorHost::idle(TestInstance& instance, int rounds, unsigned long pauseMs) {
    for (int i = 0; i < rounds; ++i) {
        pump();
        instance.dispatch(effEditIdle);
        if (pauseMs) Sleep(pauseMs);
    }
}

} // namespace qv
