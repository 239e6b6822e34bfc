// The module whose resources and window class the toolkit uses: the plug-in DLL itself, never the
// host program. Found from the address of code in this module; a test program that links the
// toolkit statically may set it (there the program is "the DLL").
#pragma once

#include <windows.h>

namespace qv {

class ResourceModule {
public:
    // The module set by set(), or the module containing this code. Any thread.
    static HINSTANCE get();
    // Overrides the module (null goes back to the one containing this code). UI thread.
    static void set(HINSTANCE module);
};

} // namespace qv
