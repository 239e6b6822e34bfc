// The strip of four boxes with the gain-reduction links between adjacent bands, as percentages
// ("RedLink 1-2" at the right .. "RedLink 4-5" at the left). A left drag on a box moves its
// amount with the pointer hidden (relative: 500 pixels cover the whole range), a right click sets
// it back to 0.5. Writes with the effect's plain setParameter; redrawn only on request (refresh
// flag 3), by the frame's full paint and at the end of its own gesture. UI thread.
#pragma once

#include "editor/ValueBoxStrip.h"

#include <cstddef>

namespace qv {

class LinkStrip : public ValueBoxStrip {
public:
    LinkStrip(const Rect& size, AudioEffect* effect);

    // "0 %" .. "100 %" for the normalised amount (any value, NaN included).
    static void formatAmount(float amount, char* text, std::size_t size);

    // 0: none; 1..4: box 0..3 being dragged.
    int getSelectedBox() const { return draggedBox(); }

protected:
    int parameterOf(int box) const override;
    void formatValue(float value, char* text, std::size_t size) const override;
};

} // namespace qv
