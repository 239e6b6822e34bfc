// Page E of the settings panel, the spectrum analyser: a 436 x 200 graph of the output spectrum
// as separate left and right curves or one combined curve, a power button and the curve-mode
// buttons. A new frame arrives by hint 1 once the effect has copied a fresh block (only while
// this page shows, the analyser is on and the previous frame was drawn). UI thread.
#pragma once

#include "editor/PanelPage.h"
#include "editor/SpectrumAnalyser.h"

namespace qv {

class AnalyserPage : public PanelPage {
public:
    static constexpr int kPointSpacing = 5; // graph pixels between analyser bands

    explicit AnalyserPage(const Setting& setting) : PanelPage(setting) {}

    void draw(DrawContext* context, int hint) override;
    void mouse(DrawContext* context, Point where) override;

    const SpectrumAnalyser& getAnalyser() const { return analyser_; }

private:
    void drawPower(DrawContext* context);
    void drawCurveMode(DrawContext* context);
    void drawEmptyGraph(DrawContext* context);
    void drawFrame(DrawContext* context);

    SpectrumAnalyser analyser_; // transforms and band peaks of the last frame
};

} // namespace qv
