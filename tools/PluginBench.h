// Timing of a plug-in in this process: a music-like programme at 44.1 kHz processed in blocks,
// several times over, each run from a freshly resumed plug-in. A benchmark, not a test.
#pragma once

#include "tools/PluginHost.h"

#include <string>
#include <vector>

namespace qv {

struct BenchOptions {
    int block = 512;       // frames per process call
    double seconds = 10.0; // programme length per run
    int runs = 5;          // timed runs
};

struct BenchResult {
    std::uint64_t frames = 0;       // stereo frames per run
    std::vector<double> runSeconds; // wall-clock time of each run
    double medianSeconds = 0.0;     // median of runSeconds
    double nsPerFrame = 0.0;        // median time per stereo frame, nanoseconds
    double realTimeFactor = 0.0;    // programme duration / median time
};

class PluginBench {
public:
    static constexpr double kSampleRate = 44100.0; // Hz

    // The plug-in must be loaded (and set up); it is configured, resumed and suspended here.
    static bool run(PluginHost& host, const BenchOptions& options, BenchResult& result,
                    std::string& error);
};

} // namespace qv
