// Test doubles for the shell: a recording host callback and a recording editor stand-in.
#pragma once

#include "shell/HostEditor.h"
#include "shell/MultibandEffectBase.h"

#include <string>
#include <vector>

namespace qv {

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    float opt;
};

// The host's side: answers audioMasterVersion with `version` and records every other call.
struct RecordingHost {
    static VstIntPtr version;
    static std::vector<HostCall> calls;
    static VstIntPtr QV_CDECL callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                       float opt) {
        if (opcode == audioMasterVersion) return version;
        calls.push_back({opcode, index, opt});
        return 0;
    }
    static void reset() {
        version = 2300;
        calls.clear();
    }
};

// An editor stand-in that registers itself like the real one and records what reaches it.
class RecordingEditor : public HostEditor {
public:
    static int liveCount;
    explicit RecordingEditor(AudioEffect* effect) : HostEditor(effect) {
        ++liveCount;
        effect->setEditor(this);
    }
    ~RecordingEditor() override { --liveCount; }

    void setParameter(VstInt32 index, float value) override {
        log.push_back("setParameter " + std::to_string(index) + " " + std::to_string(value));
    }
    void postUpdate() override { log.push_back("postUpdate"), HostEditor::postUpdate(); }
    void postUpdateOutputStage() override {
        log.push_back("outputStage"), HostEditor::postUpdateOutputStage();
    }
    void postUpdateCrossoverStrip() override {
        log.push_back("crossoverStrip"), HostEditor::postUpdateCrossoverStrip();
    }
    void postUpdateLinkStrip() override {
        log.push_back("linkStrip"), HostEditor::postUpdateLinkStrip();
    }
    void postUpdatePanel() override { log.push_back("panel"), HostEditor::postUpdatePanel(); }
    VstInt32 onKeyDown(VstKeyCode& key) override {
        lastKey = key;
        return 7;
    }
    VstInt32 setKnobMode(VstInt32 mode) override {
        knobMode = mode;
        return 1;
    }
    VstIntPtr open(void* window) override {
        HostEditor::open(window);
        return 1;
    }

    std::vector<std::string> log;
    VstKeyCode lastKey{};
    VstInt32 knobMode = -1;
};

// The effect as the plug-in builds it, with the stand-in editor in place of the window editor.
class TestEffect : public MultibandEffectBase {
public:
    explicit TestEffect(audioMasterCallback master, bool withEditor = true)
        : MultibandEffectBase(master) {
        if (withEditor) new RecordingEditor(this);
    }
    bool constructionFailed() const override { return editor_ == nullptr; }
    RecordingEditor* recorder() const { return static_cast<RecordingEditor*>(editor_); }

    static MultibandEffectBase* create(audioMasterCallback master) {
        return new TestEffect(master);
    }
};

} // namespace qv
