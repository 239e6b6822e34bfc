// A view with a normalised value that edits one parameter (its tag). Dirty while the value
// differs from the value last drawn. Mouse gestures bracket their changes with the host's
// begin/end edit and keep the host and screen alive through the editor's idle pump.
#pragma once

#include "gui/View.h"

namespace qv {

class Bitmap;
class ControlListener;

class Control : public View {
public:
    // background may be null; the control holds one reference to it.
    Control(const Rect& size, ControlListener* listener, long tag, Bitmap* background);
    ~Control() override;

    void draw(DrawContext* context) override = 0;
    // Dirty when the value differs from the one last drawn (a NaN always differs) or flagged.
    bool isDirty() const override;
    // false: drawn, last drawn := value. true: flagged, last drawn set to differ from value.
    void setDirty(bool state = true) override;

    // Appended operations, in this order.
    virtual void pumpIdle();
    virtual void setValue(float v);
    virtual float getValue() const;
    virtual void setMin(float v);
    virtual float getMin() const;
    virtual void setMax(float v);
    virtual float getMax() const;
    virtual void setLastDrawnValue(float v);
    virtual float getLastDrawnValue() const;
    virtual void setDefaultValue(float v);
    virtual float getDefaultValue() const;
    virtual void setTag(long newTag);
    virtual void setBackground(Bitmap* bitmap);
    virtual Bitmap* getBackground() const;
    virtual void setSourceOffset(Point offset);
    virtual void setSourceOffsetToOrigin();
    virtual void setWheelIncrement(float v);
    virtual float getWheelIncrement() const;
    // Brings value into [minimum, maximum].
    virtual void clampValue();

    // Host notifications of a gesture on this control's parameter (through frame, editor and
    // the editor's owner; nothing when one of them is missing).
    void beginEdit();
    void endEdit();
    long getTag() const { return tag_; }
    ControlListener* getListener() const { return listener_; }
    Point getSourceOffset() const { return sourceOffset_; }

protected:
    ControlListener* listener_;   // told of user changes, may be null; not owned
    long tag_;                    // parameter index or the editor's own code
    float lastDrawnValue_ = 1.0f; // value at the last draw
    float defaultValue_ = 0.5f;   // restored by Control+click where supported
    float value_ = 0.0f;          // current value, normally 0..1
    float minimum_ = 0.0f;        // clampValue's lower bound
    float maximum_ = 1.0f;        // clampValue's upper bound
    float wheelIncrement_ = 0.1f; // kept for its accessors
    Bitmap* background_;          // the control's pictures, or null; one reference held
    Point sourceOffset_;          // where in the background the picture starts
};

} // namespace qv
