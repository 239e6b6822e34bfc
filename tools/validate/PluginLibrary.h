// The plug-in DLL under validation, loaded once, from which any number of instances are made on
// any thread. Its host callback keeps no state, so instances on several threads may call it at
// once: it answers the host's VST version and 0 to everything else.
#pragma once

#include "shell/VstAbi.h"

#include <string>

namespace qv {

class PluginLibrary {
public:
    static constexpr VstIntPtr kHostVersion = 2300;

    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();

    bool load(const std::string& path, std::string& error);
    // A new instance from the entry point, or null if the plug-in refused. Any thread.
    AEffect* instantiate() const;

    static VstIntPtr QV_CDECL hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt);

private:
    using EntryProc = AEffect*(QV_CDECL*)(audioMasterCallback);
    void* module_ = nullptr;    // HMODULE
    EntryProc entry_ = nullptr; // the exported "main"
};

} // namespace qv
