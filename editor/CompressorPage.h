// Page A of the settings panel: every compressor quantity of the selected band (SelectedChannel)
// as value boxes, round switches, a level and gain-reduction meter and a threshold marker, with
// the channel buttons that choose the band. UI thread.
#pragma once

#include "editor/CompressorQuantity.h"
#include "editor/PanelPage.h"

namespace qv {

class CompressorPage : public PanelPage {
public:
    // Active elements while dragging.
    enum Element : int {
        kNone = 0,
        kRatioBox,
        kThresholdBox,
        kInputLevelBox,
        kOutputLevelBox,
        kAttackBox,
        kReleaseTimeBox,
        kReleaseDepthBox,
        kThresholdMarker
    };
    static constexpr int kMeterRows = 250; // pixel rows of the meter strip

    explicit CompressorPage(const Setting& setting) : PanelPage(setting) {}

    void draw(DrawContext* context, int hint) override;
    void mouse(DrawContext* context, Point where) override;

    // The meter row of a reading (5 pixels per dB over 50 dB, 0 at the top): 0 for 1 and above,
    // kMeterRows for 0.00316 and below (and NaN).
    static int meterRow(float value);
    // Top of the threshold marker for a threshold value: 245 + trunc((1 - v) * 200), kept on
    // the strip's 200 rows for values out of range.
    static int markerTop(float threshold);

private:
    void drawBox(DrawContext* context, const LayoutRect& place, CompressorQuantity q, int band);
    void drawSwitch(DrawContext* context, CompressorQuantity q, int band);
    void drawChannelButtons(DrawContext* context, int band);
    void drawMeter(DrawContext* context, int band);
    void drawThresholdMarker(DrawContext* context, int band);
};

} // namespace qv
