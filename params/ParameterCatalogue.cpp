#include "params/ParameterCatalogue.h"

#include "params/BoundedText.h"
#include "params/ParameterIndex.h"

namespace qv {

namespace {

constexpr const char* kNames[kNumNamedParameters] = {
    "Freq1-2",         // 0
    "Freq2-3",         // 1
    "Freq3-4",         // 2
    "Freq4-5",         // 3
    "cp1_InLevel",     // 4
    "cp2_InLevel",     // 5
    "cp3_InLevel",     // 6
    "cp4_InLevel",     // 7
    "cp5_InLevel",     // 8
    "cp1_OutLevel",    // 9
    "cp2_OutLevel",    // 10
    "cp3_OutLevel",    // 11
    "cp4_OutLevel",    // 12
    "cp5_OutLevel",    // 13
    "cp1_Thresh",      // 14
    "cp1_Ratio",       // 15
    "cp1_AtkCurve",    // 16
    "cp1_Atk",         // 17
    "cp1_RelMode",     // 18
    "cp1_Rel",         // 19
    "cp2_Thresh",      // 20
    "cp2_Ratio",       // 21
    "cp2_AtkCurve",    // 22
    "cp2_Atk",         // 23
    "cp2_RelMode",     // 24
    "cp2_Rel",         // 25
    "cp3_Thresh",      // 26
    "cp3_Ratio",       // 27
    "cp3_AtkCurve",    // 28
    "cp3_Atk",         // 29
    "cp3_RelMode",     // 30
    "cp3_Rel",         // 31
    "cp4_Thresh",      // 32
    "cp4_Ratio",       // 33
    "cp4_AtkCurve",    // 34
    "cp4_Atk",         // 35
    "cp4_RelMode",     // 36
    "cp4_Rel",         // 37
    "cp5_Thresh",      // 38
    "cp5_Ratio",       // 39
    "cp5_AtkCurve",    // 40
    "cp5_Atk",         // 41
    "cp5_RelMode",     // 42
    "cp5_Rel",         // 43
    "cp1_PWSW",        // 44
    "cp1_CompSW",      // 45
    "cp2_PWSW",        // 46
    "cp2_CompSW",      // 47
    "cp3_PWSW",        // 48
    "cp3_CompSW",      // 49
    "cp4_PWSW",        // 50
    "cp4_CompSW",      // 51
    "cp5_PWSW",        // 52
    "cp5_CompSW",      // 53
    "lt_LimSW",        // 54
    "MasterOut",       // 55
    "MeterSW",         // 56
    "ReductionSW",     // 57
    "Monitor",         // 58
    "cp1_AutoRelType", // 59
    "cp2_AutoRelType", // 60
    "cp3_AutoRelType", // 61
    "cp4_AutoRelType", // 62
    "cp5_AutoRelType", // 63
    "RedLink 1-2",     // 64
    "RedLink 2-3",     // 65
    "RedLink 3-4",     // 66
    "RedLink 4-5",     // 67
    "lt_Ceiling",      // 68
    "lt_RelSW",        // 69
    "lt_Rel_m",        // 70
    "lt_Rel_a",        // 71
    "lt_clip",         // 72
    "FilterType",      // 73
    "Qcurve",          // 74
    "Dry out",         // 75
    "Wet out",         // 76
    "cp1_Rel_m",       // 77
    "cp1_Rel_a",       // 78
    "cp2_Rel_m",       // 79
    "cp2_Rel_a",       // 80
    "cp3_Rel_m",       // 81
    "cp3_Rel_a",       // 82
    "cp4_Rel_m",       // 83
    "cp4_Rel_a",       // 84
    "cp5_Rel_m",       // 85
    "cp5_Rel_a",       // 86
};

bool isNamed(int index) {
    return index >= 0 && index < kNumNamedParameters;
}

} // namespace

const char* parameterName(int index) {
    return isNamed(index) ? kNames[index] : nullptr;
}

bool copyParameterName(int index, char* text) {
    if (text == nullptr || !isNamed(index)) return false;
    copyBoundedText(kNames[index], text, kMaxParameterNameLength);
    return true;
}

const char* parameterLabel(int index) {
    if (!isNamed(index)) return nullptr;
    switch (familyOf(index)) {
    case ParameterFamily::Freq:
        return "Hz";
    case ParameterFamily::RelM:
    case ParameterFamily::LtRelM:
        return "ms";
    case ParameterFamily::RelA:
    case ParameterFamily::LtRelA:
        return "%";
    case ParameterFamily::FilterType:
        return "Filter";
    case ParameterFamily::Qcurve:
        return "dB/oct";
    case ParameterFamily::DryOut:
    case ParameterFamily::WetOut:
        return "dB";
    default:
        return "";
    }
}

bool copyParameterLabel(int index, char* text) {
    const char* label = parameterLabel(index);
    if (text == nullptr || label == nullptr) return false;
    copyBoundedText(label, text, kMaxParameterLabelLength);
    return true;
}

} // namespace qv
