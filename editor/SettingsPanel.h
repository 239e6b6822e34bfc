// The settings panel: the large view in the middle of the editor with seven pages, A to G,
// chosen by PanelPage (87). It repaints selectively: the effect names in its panel hint (tag
// 111) which element changed, the panel redraws only that element and resets the hint. Each
// page draws and edits its own elements; all writes use the effect's plain setParameter.
// UI thread.
#pragma once

#include "editor/AnalyserPage.h"
#include "editor/BandPage.h"
#include "editor/CompressorPage.h"
#include "editor/FilterPage.h"
#include "editor/LimiterPage.h"
#include "editor/MatrixPage.h"
#include "editor/PanelArt.h"
#include "gui/View.h"

namespace qv {

class AudioEffect;

class SettingsPanel : public View {
public:
    enum Page : int { kPageA = 0, kPageB, kPageC, kPageD, kPageE, kPageF, kPageG, kPageCount };

    // rectangle: the panel's place (128, 175, 678, 522 in the editor). effect may be null
    // (nothing is read or written).
    SettingsPanel(const Rect& rectangle, AudioEffect* effect);
    ~SettingsPanel() override;

    // Draws what the effect's panel hint names on the current page, then resets the hint.
    void draw(DrawContext* context) override;
    // An exposed part of the window: the whole page, whatever the hint says (the frame has
    // painted its background there), then the hint is reset.
    void drawRect(DrawContext* context, const Rect& rect) override;
    // Hands the press to the current page (page G has no elements).
    void mouse(DrawContext* context, Point where) override;
    // The frame's idle refresh never draws the panel; the editor's refresh flag 4 does.
    void update(DrawContext* context) override;

    // The page a PanelPage value shows: sevenths, A below 0.142857 ... G from 0.857142 (NaN: G).
    static Page pageOf(float value);
    int getActiveElement() const { return activeElement_; }

private:
    void drawPage(DrawContext* context, int hint);
    PanelPage* pageObject(Page page);

    AudioEffect* effect_;           // the effect shown and edited; not owned
    int activeElement_ = 0;         // element pressed or dragged on the current page, 0 if none
    PanelArt art_;                  // every bitmap of the seven pages
    CompressorPage compressorPage_; // page A
    BandPage bandPage_;             // page B
    LimiterPage limiterPage_;       // page C
    FilterPage filterPage_;         // page D
    AnalyserPage analyserPage_;     // page E
    MatrixPage matrixPage_;         // page F
};

} // namespace qv
