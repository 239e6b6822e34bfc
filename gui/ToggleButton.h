// An on/off button: picture 0 of its two-picture film strip for value 0, picture 1 otherwise.
// A press flips the value while the pointer stays on the button; releasing outside keeps the
// value it had before the press.
#pragma once

#include "gui/Control.h"

class ToggleButton : public Control {
public:
    ToggleButton(const Rect& size, ControlListener* listener, long tag, int frameHeight,
                 Bitmap* background, Point offset);

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;

    int getFrameHeight() const { return frameHeight; }

private:
    int frameHeight;  // pixels of one picture
    float valueDrawn; // the value when last drawn or pressed
};
