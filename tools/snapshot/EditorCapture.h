// Opens a plug-in's editor in a top-level window of our own, lets it paint and idle for a while,
// and reads the editor window's pixels. UI thread.
#pragma once

#include "tools/PluginHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class EditorCapture {
public:
    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> rgb; // rows top to bottom
    };

    // Called between idles with the milliseconds since the last call (to play audio).
    using Tick = std::function<void(int milliseconds)>;

    // Opens the editor, runs messages, `tick` (if any) and effEditIdle for settleMs
    // milliseconds, captures the editor's window and closes the editor. False with a reason in
    // error.
    static bool capture(PluginHost& host, int settleMs, Picture& picture, std::string& error,
                        const Tick& tick = nullptr);
};

} // namespace qv
