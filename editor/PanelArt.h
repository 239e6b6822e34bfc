// The bitmaps of the settings panel's seven pages, loaded together when the panel is made and
// released together when it goes. UI thread.
#pragma once

#include "editor/EditorLayout.h"

namespace qv {

class Bitmap;

class PanelArt {
public:
    PanelArt();
    ~PanelArt();
    PanelArt(const PanelArt&) = delete;
    PanelArt& operator=(const PanelArt&) = delete;

    // The loaded bitmap of entry, or null (not one of the panel's, or it failed to load).
    Bitmap* get(const layout::BitmapSpec& entry) const;
    // Height of one frame of entry's bitmap as loaded (0 when missing).
    int frameHeight(const layout::BitmapSpec& entry) const;

private:
    static constexpr int kFirstId = 10011; // the panel uses ids kFirstId .. kLastId
    static constexpr int kLastId = 10051;
    Bitmap* bitmaps_[kLastId - kFirstId + 1] = {}; // by id - kFirstId; null where not used
};

} // namespace qv
