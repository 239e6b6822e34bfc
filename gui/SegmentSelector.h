// A row of N buttons of which one is lit (the editor's page selector): the background is a
// vertical film strip of pictures, picture k showing for value k / (N - 1). A press picks the
// segment under the pointer and follows it while the button is held; Control+click restores the
// default value.
#pragma once

#include "gui/Control.h"

namespace qv {

class SegmentSelector : public Control {
public:
    // segments: N, at least 2 (less is taken as 2). frameHeight: pixels of one picture.
    SegmentSelector(const Rect& size, ControlListener* listener, long tag, int frameHeight,
                    int segments, Bitmap* background, Point offset);

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;

    int getSegmentCount() const { return segments_; }
    int getFrameHeight() const { return frameHeight_; }
    // The value a press at where selects: its segment index over N - 1, limited to 0..1.
    float valueAt(Point where) const;

private:
    int frameHeight_; // pixels of one picture in the film strip
    int segments_;    // N, the number of positions
};

} // namespace qv
