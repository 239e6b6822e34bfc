// A strip picture with four value boxes in a row (box 0 at the right, 110 pixels apart), each
// showing one effect parameter as text. A left drag on a box moves its value with the pointer
// hidden (relative: 500 pixels cover the whole range) and outlines the box while it runs; a right
// click resets the value under the pointer to the middle. Writes with the effect's plain
// setParameter; redrawn only when the editor asks (its refresh flag), by the frame's full paint and
// at the end of its own gesture. The derived strip says which parameter a box shows and how a value
// reads. UI thread.
#pragma once

#include "gui/Point.h"
#include "gui/Rect.h"
#include "gui/View.h"

#include <cstddef>

namespace qv {

class AudioEffect;
class Bitmap;

class ValueBoxStrip : public View {
public:
    static constexpr int kBoxCount = 4;
    // Value change per pixel of horizontal movement (right = up).
    static constexpr double kValuePerPixel = 0.002;
    static constexpr float kResetValue = 0.5f;

    ~ValueBoxStrip() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;
    // Never drawn by the frame's refresh of dirty views.
    void update(DrawContext*) override {}

    // The box (0..3) whose columns hold p.x, when p.y lies in the rows that take presses (edges
    // inclusive); -1 otherwise.
    int boxAt(Point p) const;

    const Rect& boxRect(int box) const { return boxes_[box]; }
    const Rect& highlightRect(int box) const { return highlights_[box]; }
    const Rect& stripRect() const { return strip_; }

protected:
    // boxTop: the top row of the boxes in frame coordinates; pressTop..pressBottom: the rows in
    // which a press picks a box (the boxes' own rows, or the whole strip).
    ValueBoxStrip(const Rect& size, AudioEffect* effect, int boxTop, int pressTop, int pressBottom);

    // The effect parameter box (0..3) shows and changes.
    virtual int parameterOf(int box) const = 0;
    // The box text for the normalised value (any value, NaN included).
    virtual void formatValue(float value, char* text, std::size_t size) const = 0;

    // 0: none; 1..4: box 0..3 being dragged.
    int draggedBox() const { return activeBox_; }

private:
    AudioEffect* effect_;        // read and written; not owned
    Bitmap* stripBitmap_;        // 10007, one reference
    Bitmap* boxBitmap_;          // 10008, one reference
    Rect strip_;                 // where the strip picture goes
    Rect boxes_[kBoxCount];      // value boxes; box i shows parameterOf(i)
    Rect highlights_[kBoxCount]; // outline around box i while it is dragged
    int activeBox_ = 0;          // 0 none, else box + 1 while a left drag runs
    int pressTop_;               // first row in which a press picks a box
    int pressBottom_;            // last such row
};

} // namespace qv
