// The picture of a render a person reads at a glance: input and output level over time (peak and
// RMS in dBFS of both channels), each band's gain reduction over time from the band meters, the
// program, the settings that differ from it and the summary figures; axes in dB and seconds.
// Drawn on a Canvas with the built-in font and written as a (palette) PNG file.
#pragma once

#include "tools/RenderJob.h"
#include "tools/picture/Canvas.h"

#include <string>

namespace qv {

class RenderPlot {
public:
    static constexpr int kWidth = 960;

    static Canvas draw(const RenderReport& report);
    // draw, then PngWriter. False with a reason in error.
    static bool write(const RenderReport& report, const std::string& path, std::string& error);
};

} // namespace qv
