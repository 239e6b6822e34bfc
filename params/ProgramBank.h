#pragma once

#include "params/FactoryProgram.h"

// The bank of 20 programs with their factory contents, the slot order of a program record and
// program names.
//
// The effect owns one ProgramBank; the record at curProgram is the live program into which
// every parameter change is written (storeValue). Threads: the bank is read and written on the
// caller's thread (host parameter or UI thread), never by the audio loop.

namespace qv {

// Parameter index held by program slot 0..81; -1 for any other slot.
int parameterOfSlot(int slot);

// Program slot of a parameter index; -1 for the Rel mirrors, the editor-state parameters and
// any index outside 0..86.
int slotOfParameter(int index);

// Writes factory program 0..19 (values and name) into `program`; other indices do nothing.
void writeFactoryProgram(int programIndex, FactoryProgram& program);

class ProgramBank {
public:
    // All values 0.0 and all names empty until fillFactoryBank.
    ProgramBank();

    // Writes the 20 factory programs. No notifications, no processing updates.
    void fillFactoryBank();

    // The record 0..19, or nullptr for any other index.
    FactoryProgram* program(int programIndex);
    const FactoryProgram* program(int programIndex) const;

    // The stored value of a parameter in a program; 0.0 when either has no record or slot.
    float storedValue(int programIndex, int parameterIndex) const;

    // Writes a parameter's value into a program's slot. Returns false (and writes nothing) when
    // the program does not exist or the parameter has no slot.
    bool storeValue(int programIndex, int parameterIndex, float value);

    // Renames a program, keeping the first 23 characters of a longer name. A null name or a
    // program outside 0..19 does nothing.
    void setProgramName(int programIndex, const char* name);

    // Copies a program's name (at most 23 characters plus terminator) into text. Returns false
    // and leaves text untouched for a program outside 0..19 or a null text.
    bool copyProgramNameIndexed(int programIndex, char* text) const;

private:
    FactoryProgram programs_[kNumPrograms]; // the bank, index 0..19
};

} // namespace qv
