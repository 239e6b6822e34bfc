// The toolkit's side of the host's editor calls: reports the editor rectangle, owns the frame
// while open, forwards keys and wheel to it, serves the six deferred refresh requests in idle and
// keeps the screen and the host alive while a control tracks the mouse (the idle pump).
// Brackets its life with OLE initialisation. UI thread unless noted.
#pragma once

#include "gui/OleSession.h"
#include "shell/HostEditor.h"

#include <cstdint>

class Frame;

class EditorBase : public HostEditor {
public:
    // Milliseconds of the idle pump: its work runs at most this often during a drag...
    static constexpr std::uint32_t kPumpInterval = 100;
    // ...early calls sleep this long...
    static constexpr std::uint32_t kPumpSleep = 4;
    // ...and give up unless the work is due within this much.
    static constexpr std::uint32_t kPumpSlack = 50;

    // Registers with the effect (which then announces an editor) and initialises OLE.
    explicit EditorBase(AudioEffect* effect);
    ~EditorBase() override;

    VstIntPtr getRect(ERect** rect) override;
    // Requests every refresh and remembers the host window; the derived editor builds its frame.
    VstIntPtr open(void* window) override;
    // Refresh handlers 0..5 for the flags set, then the frame's refresh of dirty views; nothing
    // while the pump is inside the host's idle callback.
    void idle() override;
    VstInt32 onKeyDown(VstKeyCode& key) override;
    VstInt32 onKeyUp(VstKeyCode& key) override;
    VstInt32 setKnobMode(VstInt32 mode) override;
    bool onWheel(float distance) override;

    // Draws the whole frame at once.
    virtual void draw();
    // Called from controls' drag loops: every ~50 ms runs idle, dispatches one paint message and
    // gives the host its idle callback; calls in between sleep 4 ms.
    virtual void pumpIdle();

    Frame* getFrame() const { return frame; }
    static VstInt32 getKnobMode();

protected:
    ERect rect{0, 0, 0, 0};         // top, left, bottom, right; filled by the derived editor
    Frame* frame = nullptr;         // the frame while open; made and destroyed by the derived
    std::uint32_t nextIdleTime = 0; // GetTickCount ms when the pump's work is next due
    bool inIdle = false;            // inside the host's idle callback from the pump
    OleSession ole;                 // OLE for the editor's life, on the creating thread
};
