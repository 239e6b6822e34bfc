#include "tools/Stopwatch.h"

#include <windows.h>

namespace qv {

namespace {
double ticksPerSecond() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
}
} // namespace

void Stopwatch::restart() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    start_ = now.QuadPart;
}

double Stopwatch::seconds() const {
    static const double frequency = ticksPerSecond();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_) / frequency;
}

} // namespace qv
