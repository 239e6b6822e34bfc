#include "tools/snapshot/EditorCapture.h"

#include <windows.h>

namespace qv {

namespace {

constexpr const char* kHostClass = "QvSnapshotHost";
constexpr DWORD kIdlePeriodMs = 20; // how often a host typically sends effEditIdle

HWND createHostWindow(int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
    HWND window =
        CreateWindowExA(0, kHostClass, "Quorvanelle editor", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // Shown without activation: Wine leaves it unmanaged (no wait on a window manager at exit).
    if (window)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return window;
}

void runFor(PluginHost& host, int milliseconds, const EditorCapture::Tick& tick) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (tick) tick(static_cast<int>(kIdlePeriodMs));
        host.dispatch(effEditIdle);
        Sleep(kIdlePeriodMs);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

bool readPixels(HWND window, int width, int height, EditorCapture::Picture& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(windowDc);
    bool ok = section && memory && bits;
    if (ok) {
        HGDIOBJ before = SelectObject(memory, section);
        ok = BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, before);
    }
    if (ok) {
        picture.width = width;
        picture.height = height;
        picture.rgb.resize(static_cast<size_t>(width) * height * 3);
        const auto* bgrx = static_cast<const std::uint8_t*>(bits);
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
            picture.rgb[i * 3 + 0] = bgrx[i * 4 + 2];
            picture.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
            picture.rgb[i * 3 + 2] = bgrx[i * 4 + 0];
        }
    }
    if (memory) DeleteDC(memory);
    if (section) DeleteObject(section);
    ReleaseDC(window, windowDc);
    return ok;
}

} // namespace

bool EditorCapture::capture(PluginHost& host, int settleMs, Picture& picture, std::string& error,
                            const Tick& tick) {
    ERect* rect = nullptr;
    if (!host.dispatch(effEditGetRect, 0, 0, &rect) || !rect) {
        error = "the plug-in reports no editor rectangle";
        return false;
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0) {
        error = "the plug-in's editor rectangle is empty";
        return false;
    }
    HWND window = createHostWindow(width, height);
    if (!window) {
        error = "cannot create the host window";
        return false;
    }
    host.dispatch(effEditOpen, 0, 0, window);
    HWND editor = FindWindowExA(window, nullptr, nullptr, nullptr);
    bool ok = editor != nullptr;
    if (!ok) error = "the plug-in opened no editor window";
    if (ok) {
        InvalidateRect(editor, nullptr, FALSE);
        runFor(host, settleMs, tick);
        ok = readPixels(editor, width, height, picture);
        if (!ok) error = "cannot read the editor window's pixels";
    }
    host.dispatch(effEditClose);
    DestroyWindow(window);
    return ok;
}

} // namespace qv
