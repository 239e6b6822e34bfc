// Progress lines for long renders: nothing during the first second, then one line a second.
#pragma once

#include "tools/Stopwatch.h"

#include <cstdint>
#include <cstdio>

namespace qv {

class ProgressReporter {
public:
    // `out` null or `enabled` false: silent. `rate` in Hz turns frames into seconds of audio.
    ProgressReporter(std::FILE* out, std::uint64_t totalFrames, double rate, bool enabled);
    void update(std::uint64_t framesDone);
    int linesPrinted() const { return lines_; }

private:
    std::FILE* stream_;   // where the lines go (stderr)
    std::uint64_t total_; // frames the job will take
    double sampleRate_;   // Hz
    Stopwatch clock_;     // time since the job started
    double nextReport_;   // seconds on `clock` when the next line is due
    int lines_ = 0;       // lines printed so far
};

} // namespace qv
