// The floating-point control settings a host may choose and a plug-in must leave alone: the x87
// control word and the control bits of MXCSR (its flag bits record what happened and may
// change).
#pragma once

#include <cstdint>

namespace qv {

struct FpuState {
    static constexpr std::uint32_t kMxcsrControlBits = 0xFFC0;

    std::uint16_t x87 = 0;   // x87 control word
    std::uint32_t mxcsr = 0; // whole MXCSR

    static FpuState read();
    // Loads the state with every pending exception flag cleared first, so that unmasking does
    // not raise one left over.
    void load() const;
    bool sameControls(const FpuState& other) const {
        return x87 == other.x87 && (mxcsr & kMxcsrControlBits) == (other.mxcsr & kMxcsrControlBits);
    }
};

} // namespace qv
