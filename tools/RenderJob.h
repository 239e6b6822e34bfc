// The whole "qvhost render" job: open the input, load and set up the plug-in, render into a
// temporary file and give it its name only when everything worked. Any failure leaves no output
// file behind and reports one line.
#pragma once

#include "tools/CommandLine.h"
#include "tools/PluginSettings.h"
#include "tools/Renderer.h"

#include <string>
#include <vector>

namespace qv {

struct RenderReport {
    std::string input, output, plugin;            // paths as given
    std::string effectName, vendor;               // as the plug-in reports them
    VstInt32 program = -1;                        // program selected, -1: the plug-in's own
    std::string programName;                      // its name
    std::vector<PluginSettings::Applied> applied; // parameters set
    std::vector<PluginSettings::Applied> changed; // parameters that differ from the program
    RenderResult result;                          // levels, lengths, timing
    std::string plot;                             // picture written, empty: none

    // The summary printed at the end of a render, line by line ("input level    : ...").
    std::vector<std::string> summary() const;
    void print(std::FILE* out) const;
};

class RenderJob {
public:
    // `command` must be a parsed render command. `progress`: where progress lines go (or null).
    // With command.plot the picture of the render (RenderPlot) is written after the WAV file.
    static bool run(const CommandLine& command, std::FILE* progress, RenderReport& report,
                    std::string& error);
};

} // namespace qv
