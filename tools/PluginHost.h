// A small VST 2 host: loads a plug-in DLL by path, calls its entry point with our callback,
// answers the host callbacks and records what the plug-in asked for. Used by the tools and the
// Wine tests.
// Single-threaded: one host object is the active one while it is loaded.
#pragma once

#include "shell/VstAbi.h"

#include <string>
#include <vector>

namespace qv {

class PluginHost {
public:
    struct CallbackEvent {
        VstInt32 opcode;
        VstInt32 index;
        float opt;
    };

    PluginHost() = default;
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;
    ~PluginHost();

    // Loads the DLL and instantiates the plug-in. On failure returns false and sets `error`
    // (the DLL is unloaded again).
    bool load(const std::string& path, std::string& error);
    // effClose, which frees the instance; returns the plug-in's answer (0 without an instance).
    VstIntPtr close();
    // close, then FreeLibrary. Safe to call twice.
    void unload();
    AEffect* effect() const { return plugin_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    std::string dispatchString(VstInt32 opcode, VstInt32 index = 0);

    // Starts the plug-in: open, sample rate, block size, resume.
    void start(float sampleRate, VstInt32 blockSize);
    // The same in steps, for hosts that set programs and parameters in between.
    void open() { dispatch(effOpen); }
    void configure(float sampleRate, VstInt32 blockSize);
    void resume() { dispatch(effMainsChanged, 0, 1); }
    // suspend (effMainsChanged 0)
    void stop();

    // What the host answers to audioMasterVersion (0 makes a plug-in refuse to load).
    VstIntPtr versionAnswer = 2300;
    std::vector<CallbackEvent> events; // every callback after instantiation, in order

    static VstIntPtr QV_CDECL hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt);

private:
    void* module_ = nullptr; // HMODULE of the loaded DLL
    AEffect* plugin_ = nullptr;
    static PluginHost* active; // the host whose plug-in is being created or is loaded
};

} // namespace qv
