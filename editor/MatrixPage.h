// Page F of the settings panel, the matrix editor: one compressor quantity, chosen by MatrixItem
// (89), for all five bands in a value row, with the ten item tiles that choose it, the channel
// labels and two arrow handles that drag all five bands together. UI thread.
#pragma once

#include "editor/CompressorQuantity.h"
#include "editor/PanelPage.h"

namespace qv {

class MatrixPage : public PanelPage {
public:
    // Active elements: the two arrow handles while pressed (drawn pressed), a band box while
    // dragged (10 + band).
    enum Element : int { kNone = 0, kLeftArrow = 2, kRightArrow = 3, kFirstBandBox = 11 };

    explicit MatrixPage(const Setting& setting) : PanelPage(setting) {}

    void draw(DrawContext* context, int hint) override;
    void mouse(DrawContext* context, Point where) override;

    // The channel-row picture for a SelectedChannel value: 0 above 0.8 (band 1) .. 4.
    static int channelFrame(float selectedChannel);

private:
    void drawItems(DrawContext* context);
    void drawChannels(DrawContext* context);
    void drawArrows(DrawContext* context);
    void drawValues(DrawContext* context);
    // Drags (or, for a switch quantity, toggles) the quantity of bands first..last together.
    void edit(DrawContext* context, Point where, int firstBand, int lastBand);
};

} // namespace qv
