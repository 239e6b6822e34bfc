#include "tools/validate/FpuState.h"

namespace qv {

FpuState FpuState::read() {
    FpuState s;
    __asm__ __volatile__("fnstcw %0" : "=m"(s.x87));
    __asm__ __volatile__("stmxcsr %0" : "=m"(s.mxcsr));
    return s;
}

void FpuState::load() const {
    const std::uint32_t m = mxcsr & kMxcsrControlBits;
    __asm__ __volatile__("fnclex");
    __asm__ __volatile__("fldcw %0" : : "m"(x87));
    __asm__ __volatile__("ldmxcsr %0" : : "m"(m));
}

} // namespace qv
