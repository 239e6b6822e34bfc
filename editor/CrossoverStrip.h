// The strip across the top of the editor: four boxes with the crossover frequencies in Hz
// ("Freq1-2" at the right .. "Freq4-5" at the left). A left drag on a box moves its frequency with
// the pointer hidden (relative: 500 pixels cover the whole range), a right click resets it to the
// middle. Writes with the effect's plain setParameter; redrawn only on request (refresh flag 2),
// by the frame's full paint and at the end of its own gesture. UI thread.
#pragma once

#include "editor/ValueBoxStrip.h"

#include <cstddef>

namespace qv {

class CrossoverStrip : public ValueBoxStrip {
public:
    CrossoverStrip(const Rect& size, AudioEffect* effect);

    // "40 Hz" .. "16000 Hz" for the normalised frequency x (any value, NaN included).
    static void formatFrequency(float x, char* text, std::size_t size);

    // 0: none; 1..4: box 0..3 being dragged.
    int getActiveBox() const { return draggedBox(); }

protected:
    int parameterOf(int box) const override;
    void formatValue(float value, char* text, std::size_t size) const override;
};

} // namespace qv
