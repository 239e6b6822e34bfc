// The strip of four boxes with the gain-reduction links between adjacent bands, as percentages
// ("RedLink 1-2" at the right .. "RedLink 4-5" at the left). A left drag on a box moves its
// amount with the pointer hidden (relative: 500 pixels cover the whole range), a right click sets
// it back to 0.5. Writes with the effect's plain setParameter; redrawn only on request (refresh
// flag 3), by the frame's full paint and at the end of its own gesture. UI thread.
#pragma once

#include "gui/Point.h"
#include "gui/Rect.h"
#include "gui/View.h"

#include <cstddef>

class AudioEffect;
class Bitmap;
class ControlListener;

class LinkStrip : public View {
public:
    static constexpr int kBoxCount = 4;
    static constexpr int kFirstParameter = 64; // "RedLink 1-2"; box i shows parameter 64 + i
    // Value change per pixel of horizontal movement (right = up).
    static constexpr double kValuePerPixel = 0.002;
    static constexpr float kResetValue = 0.5f;

    LinkStrip(const Rect& size, ControlListener* listener, AudioEffect* effect);
    ~LinkStrip() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;
    // Never drawn by the frame's refresh of dirty views.
    void update(DrawContext*) override {}

    // "0 %" .. "100 %" for the normalised amount (any value, NaN included).
    static void formatAmount(float amount, char* text, std::size_t size);
    // The box (0..3) under p (edges inclusive), or -1.
    int boxAt(Point p) const;

    const Rect& boxRect(int box) const { return boxes[box]; }
    const Rect& highlightRect(int box) const { return highlights[box]; }
    const Rect& stripRect() const { return strip; }
    // 0: none; 1..4: box 0..3 being dragged.
    int getSelectedBox() const { return selectedBox; }

private:
    void runIdlePump();

    AudioEffect* effect;        // read and written; not owned
    ControlListener* listener;  // the editor's; kept, not used
    Bitmap* stripBitmap;        // 10007, one reference
    Bitmap* boxBitmap;          // 10008, one reference
    Rect strip;                 // where the strip picture goes
    Rect boxes[kBoxCount];      // value boxes; box i shows parameter 64 + i
    Rect highlights[kBoxCount]; // outline around box i while it is dragged
    int selectedBox = 0;        // 0 none, else box + 1 while a left drag runs
};
