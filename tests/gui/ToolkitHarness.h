// An effect with a recording host, an editor base registered with it and a frame (with or without
// a window) whose editor it is: enough for controls to reach the host through frame, editor and
// effect, as in the plug-in.
#pragma once

#include "editor/PluginEditor.h"
#include "gui/Control.h"
#include "gui/ControlListener.h"
#include "gui/Frame.h"
#include "shell/AudioEffect.h"
#include "tests/gui/RecordingHost.h"

#include <vector>

namespace qv {

class ToolkitHarness {
public:
    explicit ToolkitHarness(HWND parent = nullptr, Rect size = Rect(0, 0, 785, 570))
        : effect(new AudioEffect(recordingHost, 1, 1)), editor(new PluginEditor(effect)),
          frame(new Frame(size, parent, editor)) {
        hostEvents().clear();
    }
    ~ToolkitHarness() {
        delete frame;
        delete effect; // deletes the editor
    }
    ToolkitHarness(const ToolkitHarness&) = delete;
    ToolkitHarness& operator=(const ToolkitHarness&) = delete;

    AudioEffect* effect;
    PluginEditor* editor;
    Frame* frame;
};

// Remembers every value a control reported, and the context it was given; like the editor, it
// has a dirty control drawn at once.
class RecordingListener : public ControlListener {
public:
    void valueChanged(DrawContext* context, Control* control) override {
        values.push_back(control->getValue());
        lastContext = context;
        if (control->isDirty()) control->draw(context);
    }
    std::vector<float> values;
    DrawContext* lastContext = nullptr;
};

} // namespace qv
