// Page C of the settings panel: the output limiter's power and release switches, clip shape,
// ceiling and release time and depth. UI thread.
#pragma once

#include "editor/PanelPage.h"

namespace qv {

class LimiterPage : public PanelPage {
public:
    // Parameters shown here.
    // Active elements while dragging.
    enum Element : int { kNone = 0, kCeilingKnob, kReleaseTimeBox, kReleaseDepthBox };

    explicit LimiterPage(const Setting& setting) : PanelPage(setting) {}

    void draw(DrawContext* context, int hint) override;
    void mouse(DrawContext* context, Point where) override;

    // The clip-shape picture for an "lt_clip" value: fifths, soft (0) to hard (4).
    static int clipFrame(float value);
    // One ceiling drag step: c = (6v - 6) + dB, limited to -5.99..0 dB (NaN reads as 0 dB).
    static float ceilingStep(float v, double dB);

private:
    // The limiter switches: 0 if the value rounds to 1, else 1.
    void flip(int index);
    void drawPower(DrawContext* context);
    void drawClip(DrawContext* context);
    void drawCeiling(DrawContext* context);
    void drawReleaseSwitch(DrawContext* context);
    void drawReleaseDepth(DrawContext* context);
    void drawReleaseTime(DrawContext* context);
};

} // namespace qv
