// The toolkit's editor base: owns the frame while the editor is open, forwards keys and wheel to
// it, refreshes its dirty views when the editor idles and keeps the screen and the host alive
// while a control tracks the mouse (the idle pump). What it needs of the host it asks of its
// owner. Brackets its life with OLE initialisation. UI thread unless noted.
#pragma once

#include "gui/KeyCode.h"
#include "gui/OleSession.h"

#include <cstdint>

namespace qv {

class EditorOwner;
class Frame;

class EditorBase {
public:
    // Milliseconds of the idle pump: its work runs at most this often during a drag...
    static constexpr std::uint32_t kPumpInterval = 100;
    // ...early calls sleep this long...
    static constexpr std::uint32_t kPumpSleep = 4;
    // ...and give up unless the work is due within this much.
    static constexpr std::uint32_t kPumpSlack = 50;

    // owner may be null (then no host is told anything). Initialises OLE.
    explicit EditorBase(EditorOwner* owner);
    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;
    virtual ~EditorBase();

    // The frame's refresh of dirty views; nothing while the pump is inside the host's idle
    // callback. A derived editor does its own idle work first, under the same guard.
    virtual void idle();
    // Draws the whole frame at once.
    virtual void draw();
    // Called from controls' drag loops: every ~50 ms runs idle, dispatches one paint message and
    // gives the host its idle callback; calls in between sleep 4 ms.
    virtual void pumpIdle();

    // With a frame, the frame's answer; else -1 (not handled).
    long onKeyDown(KeyCode& key);
    long onKeyUp(KeyCode& key);
    // With a frame, the frame's wheel handling (no context, point (0, 0)); else false.
    bool onWheel(float distance);

    Frame* getFrame() const { return frame_; }
    EditorOwner* getOwner() const { return owner_; }

protected:
    // True while the pump is inside the host's idle callback.
    bool isInHostIdle() const { return inIdle_; }

    EditorOwner* owner_;             // the plug-in's side, or null; not owned
    Frame* frame_ = nullptr;         // the frame while open; made and destroyed by the derived
    std::uint32_t nextIdleTime_ = 0; // GetTickCount ms when the pump's work is next due
    bool inIdle_ = false;            // inside the host's idle callback from the pump
    OleSession ole_;                 // OLE for the editor's life, on the creating thread
};

} // namespace qv
