// The toolkit's editor base bound to the effect: answers the host's editor calls, which reach it
// through the effect (HostEditor), with the toolkit's frame, serves the effect's six refresh
// requests in idle before the frame's refresh, and gives the toolkit the host's begin/end edit and
// idle callbacks through the effect (EditorOwner). Registers with the effect, which then
// announces an editor. UI thread unless noted.
#pragma once

#include "gui/EditorBase.h"
#include "gui/EditorOwner.h"
#include "shell/HostEditor.h"

namespace qv {

class PluginEditor : public HostEditor, public EditorBase, public EditorOwner {
public:
    explicit PluginEditor(AudioEffect* effect);

    // The editor rectangle (filled by the derived editor), even before it is filled; returns 1.
    VstIntPtr getRect(ERect** rect) override;
    // Requests every refresh and remembers the host window; the derived editor builds its frame.
    VstIntPtr open(void* window) override;
    // Refresh handlers 0..5 for the flags set, then the frame's refresh of dirty views; nothing
    // while the pump is inside the host's idle callback.
    void idle() override;
    VstInt32 onKeyDown(VstKeyCode& key) override;
    VstInt32 onKeyUp(VstKeyCode& key) override;
    // Accepted (1) and not kept: no control of the editor has a knob mode.
    VstInt32 setKnobMode(VstInt32 mode) override;
    bool onWheel(float distance) override;

    // The toolkit's requests, passed to the host through the effect (nothing without one).
    void beginEdit(long tag) override;
    void endEdit(long tag) override;
    void hostIdle() override;

protected:
    ERect rect_{0, 0, 0, 0}; // top, left, bottom, right; filled by the derived editor
};

} // namespace qv
