#pragma once

#include "params/ParameterIndex.h"

namespace qv {

constexpr int kProgramNameSize = 24;                        // bytes, terminator included
constexpr int kMaxProgramNameLength = kProgramNameSize - 1; // characters

// One program of the bank: the stored parameter values and a name. The five Rel mirrors, the
// editor-state parameters 87..92 and the editor hints are not part of a program.
struct FactoryProgram {
    float values[kNumProgramSlots]; // normalised values in slot order (ProgramBank slot table)
    char name[kProgramNameSize];    // zero-terminated, at most 23 characters
};

} // namespace qv
