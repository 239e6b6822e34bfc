// What the toolkit needs from the plug-in that owns its editor: the host's notifications around
// a control's gesture and the host's idle callback from the idle pump. The plug-in's editor
// implements it; the toolkit knows nothing else of the plug-in or the host.
#pragma once

namespace qv {

class EditorOwner {
public:
    virtual ~EditorOwner() = default;
    // A gesture on the parameter `tag` begins / ends (UI thread).
    virtual void beginEdit(long tag) = 0;
    virtual void endEdit(long tag) = 0;
    // Lets the host do its own idle work while a control tracks the mouse (UI thread).
    virtual void hostIdle() = 0;
};

} // namespace qv
