// Wall-clock time from the performance counter (QueryPerformanceCounter).
#pragma once

#include <cstdint>

namespace qv {

class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart();
    double seconds() const; // since construction or the last restart

private:
    std::int64_t start_ = 0; // counter value at the start
};

} // namespace qv
