// The optional system library "msimg32.dll" and its TransparentBlt, looked up by each frame at
// construction. Without it (or on Windows 9x) transparent bitmaps are drawn with a mask instead.
#pragma once

#include <windows.h>

namespace qv {

class ImageLibrary {
public:
    using TransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);

    // Frame construction (UI thread): forgets the entry point, loads the library and, on the
    // Windows NT family, looks up TransparentBlt. Returns the module to give back to release().
    static HMODULE acquire();
    // Frame destruction: frees the module; when the last frame gives its module back the entry
    // point is forgotten, so nothing calls into an unloaded library.
    static void release(HMODULE module);

    // The entry point, or null: the mask method is used. Any thread.
    static TransparentBltProc transparentBlt();
    // Tests: force the mask method (null) or restore an entry point.
    static void setTransparentBlt(TransparentBltProc proc);
};

} // namespace qv
