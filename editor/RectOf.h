// The toolkit rectangle of a rectangle of the generated editor layout.
#pragma once

#include "editor/EditorLayout.h"
#include "gui/Rect.h"

namespace qv {

inline Rect rectOf(const layout::LayoutRect& r) {
    return Rect(r.left, r.top, r.right, r.bottom);
}

} // namespace qv
