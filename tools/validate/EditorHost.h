// A top-level window of the validator's own in which a plug-in's editor opens, as a host's
// editor window. Belongs to the thread that created it (which must pump its messages).
#pragma once

#include "tools/validate/TestInstance.h"

namespace qv {

class EditorHost {
public:
    EditorHost();  // creates the window (hidden from the task bar, shown on the virtual display)
    ~EditorHost(); // destroys it
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    bool valid() const { return window_ != nullptr; }
    void* handle() const { return window_; }
    // Dispatches every message waiting for this thread's windows.
    static void pump();
    // effEditGetRect, then effEditOpen with this window; the plug-in's answer to the open.
    VstIntPtr open(TestInstance& instance);
    // `rounds` times: pump, effEditIdle, wait `pauseMs`.
    static void idle(TestInstance& instance, int rounds, unsigned long pauseMs);
    static void close(TestInstance& instance) { instance.dispatch(effEditClose); }

private:
    void* window_ = nullptr; // HWND
};

} // namespace qv
