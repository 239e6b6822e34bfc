// Page B of the settings panel: every band side by side, one column per band (band 5 at the
// left), in two views chosen by BandView (90): amplitude and compression (levels, threshold,
// ratio and band meters) or envelope (attack and release). UI thread.
#pragma once

#include "editor/CompressorQuantity.h"
#include "editor/PanelPage.h"

namespace qv {

class BandPage : public PanelPage {
public:
    static constexpr int kMeterBottom = 165; // last row of the level outline
    static constexpr int kMeterZeroRow = 6;  // 0 dB, 4 pixels per dB below it

    explicit BandPage(const Setting& setting) : PanelPage(setting) {}

    void draw(DrawContext* context, int hint) override;
    void mouse(DrawContext* context, Point where) override;

    // Top row of a band's level outline for reading L, or -1 when nothing is drawn.
    static int levelTop(float level);
    // Bottom row of a band's gain-change outline for R = 10 times the reading, or -1 when
    // nothing is drawn (no change).
    static int reductionBottom(float gain);

    struct Row; // one quantity's row of five boxes or switches

private:
    bool amplitudeView() const;
    void drawRow(DrawContext* context, const Row& row);
    void drawHeader(DrawContext* context, bool amplitude);
    void drawMeterSwitch(DrawContext* context);
    void drawViewButtons(DrawContext* context, bool amplitude);
    void drawMeters(DrawContext* context);
    void drawView(DrawContext* context, bool amplitude);
    // The row a hint names in the view shown, or null.
    static const Row* rowOfHint(int hint, bool amplitude);
};

} // namespace qv
