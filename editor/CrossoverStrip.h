// The strip across the top of the editor: four boxes with the crossover frequencies in Hz
// ("Freq1-2" at the right .. "Freq4-5" at the left). A left drag on a box moves its frequency with
// the pointer hidden (relative: 500 pixels cover the whole range), a right click resets it to the
// middle. Writes with the effect's plain setParameter; redrawn only on request (refresh flag 2),
// by the frame's full paint and at the end of its own gesture. UI thread.
#pragma once

#include "gui/Point.h"
#include "gui/Rect.h"
#include "gui/View.h"

#include <cstddef>

class AudioEffect;
class Bitmap;
class ControlListener;

class CrossoverStrip : public View {
public:
    static constexpr int kBoxCount = 4;
    // Value change per pixel of horizontal movement (right = up).
    static constexpr double kValuePerPixel = 0.002;
    static constexpr float kResetValue = 0.5f;

    CrossoverStrip(const Rect& size, ControlListener* listener, AudioEffect* effect);
    ~CrossoverStrip() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;
    // Never drawn by the frame's refresh of dirty views.
    void update(DrawContext*) override {}

    // "40 Hz" .. "16000 Hz" for the normalised frequency x (any value, NaN included).
    static void formatFrequency(float x, char* text, std::size_t size);
    // The box (0..3) under p (edges inclusive), or -1.
    int boxAt(Point p) const;

    const Rect& boxRect(int box) const { return boxes[box]; }
    const Rect& highlightRect(int box) const { return highlights[box]; }
    const Rect& stripRect() const { return strip; }
    // 0: none; 1..4: box 0..3 being dragged.
    int getActiveBox() const { return activeBox; }

private:
    void runIdlePump();

    AudioEffect* effect;        // read and written; not owned
    ControlListener* listener;  // the editor's; kept, not used
    Bitmap* stripBitmap;        // 10007, one reference
    Bitmap* boxBitmap;          // 10008, one reference
    Rect strip;                 // where the strip picture goes
    Rect boxes[kBoxCount];      // value boxes; box i shows parameter i
    Rect highlights[kBoxCount]; // outline around box i while it is dragged
    int activeBox = 0;          // 0 none, else box + 1 while a left drag runs
};
