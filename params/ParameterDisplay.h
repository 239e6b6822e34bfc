#pragma once

// Display strings of the named parameters 0..86, computed from the current normalised values.
//
// Every string is at most 9 characters plus terminator ("Brickwall"); numbers stay within 8.
// Values outside 0..1 are shown through the same formulas; where the result would not fit, or
// is undefined, the display is defined instead:
//   - NaN shows "nan", except Freq (shows "40", its lower limit) and RedLink (shows "0", its
//     amount), which follow the limiting of their mappings, and the switches and multi-step
//     choices, which show the choice their comparisons make;
//   - a number too long for 8 characters, infinities included, shows "+oo" or "-oo".
//
// Thread: any (pure functions of their arguments; the caller passes a snapshot or live values).

namespace qv {

constexpr int kMaxDisplayLength = 9;      // characters, plus terminator
constexpr int kEightCharNumberLength = 8; // characters of the eight-character number

// Writes the display string of index 0..86 into text (kMaxDisplayLength + 1 bytes). `values`
// points at the kNumStoredParameters current values; the Rel mirrors read their band's RelMode,
// Rel_m and Rel_a values, every other index its own value. For any other index, or a null
// values or text, text is left untouched. Returns true when something was written.
bool formatParameterDisplay(int index, const float* values, char* text);

// The eight-character number: v with as many decimals as fit in eight characters, digits
// truncated, never rounded (0 gives "0.000000", -6.0205999 gives "-6.02059"). Magnitudes above
// 99999999 (9999999 when negative) and NaN leave text untouched and return false.
bool formatEightCharNumber(double v, char* text);

} // namespace qv
