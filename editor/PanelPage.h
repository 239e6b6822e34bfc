// What every page of the settings panel shares: the effect it reads and writes, the panel's
// bitmaps, the panel's active element, and the drawing of the page's common elements (page
// background, frames of multi-frame images, value boxes with their text). Each page draws the
// elements a redraw hint names and handles presses on its own elements. UI thread.
#pragma once

#include "editor/EditorLayout.h"
#include "gui/FontTable.h"
#include "gui/Point.h"
#include "gui/Rect.h"

namespace qv {

class AudioEffect;
class DrawContext;
class PanelArt;
class View;

class PanelPage {
public:
    // Everything a page works with, owned by the panel.
    struct Setting {
        AudioEffect* effect; // may be null: nothing is read (all 0) or written
        PanelArt& art;
        View& panel;        // the panel view: its rectangle, frame and editor
        int& activeElement; // element being pressed or dragged on the current page, 0 if none
    };

    explicit PanelPage(const Setting& setting);
    virtual ~PanelPage() = default;
    PanelPage(const PanelPage&) = delete;
    PanelPage& operator=(const PanelPage&) = delete;

    // Hint 0: the page background and every element; other hints: the elements they name.
    virtual void draw(DrawContext* context, int hint) = 0;
    // A press at where (editor coordinates) on this page.
    virtual void mouse(DrawContext* context, Point where) = 0;

protected:
    using Entry = layout::BitmapSpec;
    using LayoutRect = layout::LayoutRect;

    float param(int index) const;
    // The effect's plain setParameter: the host is not told.
    void write(int index, float value);
    // A meter reading of the effect's editor interface.
    float reading(int tag) const;
    // Switch toggle: 1 if the value rounds to 0, else 0.
    void toggle(int index);

    // The page background over the whole panel.
    void drawBackground(DrawContext* context, const Entry& entry);
    // Frame k of entry's bitmap with its top-left corner at (left, top).
    void drawFrame(DrawContext* context, const Entry& entry, int left, int top, int frame,
                   bool transparent = false);
    // The box bitmap, then text centred in it in black, font 4 unless told.
    void drawValueBox(DrawContext* context, const Entry& entry, int left, int top, const char* text,
                      bool transparentBox = false, FontId font = 4, int style = 0);
    // A bitmap-sized rectangle of one frame of entry at (left, top).
    Rect frameRect(const Entry& entry, int left, int top) const;
    static Rect toRect(const LayoutRect& r) { return Rect(r.left, r.top, r.right, r.bottom); }
    // Containment with the right and bottom edges inside, as the toolkit's.
    static bool inside(const LayoutRect& r, Point p) {
        return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
    }

    AudioEffect* effect_;
    PanelArt& art_;
    View& panel_;
    int& activeElement_;
};

} // namespace qv
