// An on/off button with a two-picture film strip: picture 1 for a value above 0.5 (or from 0.5
// on, see setThresholdInclusive), picture 0 otherwise, the threshold at which the plug-in reads
// the switch (a host's automation curve may leave any value in between). A press flips the state
// shown while the pointer stays on the button; releasing outside keeps the value it had before.
#pragma once

#include "gui/Control.h"

namespace qv {

class ToggleButton : public Control {
public:
    ToggleButton(const Rect& size, ControlListener* listener, long tag, int frameHeight,
                 Bitmap* background, Point offset);

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;

    int getFrameHeight() const { return frameHeight_; }
    // Whether a value shows picture 1: above the switch threshold 0.5, or from it on when the
    // threshold is inclusive, as the plug-in reads the switch the button is bound to (NaN shows
    // picture 0).
    bool isSet(float v) const {
        return thresholdInclusive_ ? v >= kSwitchThreshold : v > kSwitchThreshold;
    }
    void setThresholdInclusive(bool inclusive) { thresholdInclusive_ = inclusive; }
    static constexpr float kSwitchThreshold = 0.5f;

private:
    int frameHeight_;                 // pixels of one picture
    float valueDrawn_;                // the value when last drawn or pressed
    bool thresholdInclusive_ = false; // 0.5 itself shows picture 1
};

} // namespace qv
