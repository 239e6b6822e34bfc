// Told whenever the user changes a control's value (the editor implements it).
#pragma once

namespace qv {

class Control;
class DrawContext;

class ControlListener {
public:
    virtual ~ControlListener() = default;
    // UI thread, from inside the control's mouse handling.
    virtual void valueChanged(DrawContext* context, Control* control) = 0;
};

} // namespace qv
