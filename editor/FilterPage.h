// Page D of the settings panel: the crossover's filter type and cut-off slope. UI thread.
#pragma once

#include "editor/PanelPage.h"

namespace qv {

class FilterPage : public PanelPage {
public:
    explicit FilterPage(const Setting& setting) : PanelPage(setting) {}

    void draw(DrawContext* context, int hint) override;
    void mouse(DrawContext* context, Point where) override;

    // The slope picture for a "Qcurve" value: thirds, -24 (0), -48 (1), -96 dB/oct (2).
    static int cutoffFrame(float value);

private:
    void drawFilterType(DrawContext* context);
    void drawCutoffCurve(DrawContext* context);
};

} // namespace qv
