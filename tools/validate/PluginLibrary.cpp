#include "tools/validate/PluginLibrary.h"

#include "tools/WindowsError.h"

#include <windows.h>

namespace qv {

PluginLibrary::~PluginLibrary() {
    if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

VstIntPtr QV_CDECL PluginLibrary::hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr,
                                               void*, float) {
    return opcode == audioMasterVersion ? kHostVersion : 0;
}

bool PluginLibrary::load(const std::string& path, std::string& error) {
    HMODULE dll = LoadLibraryA(path.c_str());
    if (!dll) {
        error = "cannot load " + path + ": " + windowsErrorText(GetLastError());
        return false;
    }
    // Like today's hosts: "VSTPluginMain" first, then the older "main".
    FARPROC found = GetProcAddress(dll, "VSTPluginMain");
    if (!found) found = GetProcAddress(dll, "main");
    entry_ = reinterpret_cast<EntryProc>(reinterpret_cast<void*>(found));
    if (!entry_) {
        FreeLibrary(dll);
        error = path + " has no exported function \"VSTPluginMain\" or \"main\"";
        return false;
    }
    module_ = dll;
    return true;
}

AEffect* PluginLibrary::instantiate() const {
    if (!entry_) return nullptr;
    AEffect* effect = entry_(&PluginLibrary::hostCallback);
    return effect && effect->magic == kEffectMagic ? effect : nullptr;
}

} // namespace qv
