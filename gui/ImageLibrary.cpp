#include "gui/ImageLibrary.h"

namespace qv {

namespace {

ImageLibrary::TransparentBltProc entry = nullptr; // TransparentBlt of msimg32, or null
int holders = 0;                                  // frames holding a loaded msimg32 module

bool isNtFamily() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL known = GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return known && info.dwPlatformId > VER_PLATFORM_WIN32_WINDOWS;
}

} // namespace

HMODULE ImageLibrary::acquire() {
    entry = nullptr;
    HMODULE module = LoadLibraryA("msimg32.dll");
    if (!module) return nullptr;
    ++holders;
    if (isNtFamily())
        entry = reinterpret_cast<TransparentBltProc>(
            reinterpret_cast<void*>(GetProcAddress(module, "TransparentBlt")));
    return module;
}

void ImageLibrary::release(HMODULE module) {
    if (!module) return;
    if (holders > 0 && --holders == 0) entry = nullptr;
    FreeLibrary(module);
}

ImageLibrary::TransparentBltProc ImageLibrary::transparentBlt() {
    return entry;
}

void ImageLibrary::setTransparentBlt(TransparentBltProc proc) {
    entry = proc;
}

} // namespace qv
