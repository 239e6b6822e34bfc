#pragma once

// Names and unit labels of the named parameters 0..86 as the host sees them.
//
// Thread: constant data and pure functions, callable from any thread.

namespace qv {

constexpr int kMaxParameterNameLength = 15; // characters, plus terminator
constexpr int kMaxParameterLabelLength = 6; // longest label is "dB/oct"

// The name of 0..86, or nullptr for any other index (the editor-state parameters have no name).
const char* parameterName(int index);

// Copies the name of 0..86 into text (at most 15 characters plus terminator). For any other
// index, or a null text, text is left untouched. Returns true when something was written.
bool copyParameterName(int index, char* text);

// The unit label of 0..86 ("" for a parameter without a unit), or nullptr for any other index.
const char* parameterLabel(int index);

// Copies the label of 0..86 into text (at most 6 characters plus terminator). Above 86, below 0
// or with a null text, text is left untouched. Returns true when something was written.
bool copyParameterLabel(int index, char* text);

} // namespace qv
