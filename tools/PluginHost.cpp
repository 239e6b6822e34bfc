#include "tools/PluginHost.h"

#include "tools/DllMachine.h"
#include "tools/WindowsError.h"

#include <windows.h>

namespace qv {

PluginHost* PluginHost::active = nullptr;

PluginHost::~PluginHost() {
    unload();
}

VstIntPtr QV_CDECL PluginHost::hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                            void*, float opt) {
    PluginHost* host = active;
    if (opcode == audioMasterVersion) return host ? host->versionAnswer : 2300;
    if (host) host->events.push_back({opcode, index, opt});
    return 0;
}

bool PluginHost::load(const std::string& path, std::string& error) {
    unload();
    // The loader's own messages ("bad EXE format") do not say what is wrong.
    const std::string problem = DllMachine::problem(path);
    if (!problem.empty()) {
        error = "cannot load " + path + ": " + problem;
        return false;
    }
    HMODULE dll = LoadLibraryA(path.c_str());
    if (!dll) {
        error = "cannot load " + path + ": " + windowsErrorText(GetLastError()) +
                " (a library it needs may be missing)";
        return false;
    }
    // Like today's hosts: "VSTPluginMain" first, then the older "main".
    using EntryProc = AEffect*(QV_CDECL*)(audioMasterCallback);
    FARPROC found = GetProcAddress(dll, "VSTPluginMain");
    if (!found) found = GetProcAddress(dll, "main");
    auto entry = reinterpret_cast<EntryProc>(reinterpret_cast<void*>(found));
    if (!entry) {
        FreeLibrary(dll);
        error = path + " has no exported function \"VSTPluginMain\" or \"main\": it is not a VST 2 "
                       "plug-in (give the plug-in's own DLL, not one of its support libraries)";
        return false;
    }
    active = this;
    AEffect* e = entry(&PluginHost::hostCallback);
    if (!e || e->magic != kEffectMagic) {
        active = nullptr;
        FreeLibrary(dll);
        error = e ? path + " returned a record without the VST magic: it is not a VST 2 plug-in"
                  : path + ": the plug-in's main returned null (it refused to start in this host)";
        return false;
    }
    module_ = dll;
    plugin_ = e;
    return true;
}

VstIntPtr PluginHost::close() {
    if (!plugin_) return 0;
    AEffect* e = plugin_;
    plugin_ = nullptr;
    return e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

void PluginHost::unload() {
    close();
    if (module_) {
        FreeLibrary(static_cast<HMODULE>(module_));
        module_ = nullptr;
    }
    if (active == this) active = nullptr;
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    return plugin_ ? plugin_->dispatcher(plugin_, opcode, index, value, ptr, opt) : 0;
}

std::string PluginHost::dispatchString(VstInt32 opcode, VstInt32 index) {
    char text[256] = {};
    dispatch(opcode, index, 0, text, 0.0f);
    text[sizeof(text) - 1] = 0;
    return text;
}

void PluginHost::start(float sampleRate, VstInt32 blockSize) {
    open();
    configure(sampleRate, blockSize);
    resume();
}

void PluginHost::configure(float sampleRate, VstInt32 blockSize) {
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
}

void PluginHost::stop() {
    dispatch(effMainsChanged, 0, 0);
}

} // namespace qv
