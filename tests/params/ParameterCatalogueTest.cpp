#include "params/ParameterCatalogue.h"

#include "params/ParameterIndex.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace qv {
namespace {

constexpr const char* kExpectedNames[kNumNamedParameters] = {
    "Freq1-2",         "Freq2-3",         "Freq3-4",         "Freq4-5",         "cp1_InLevel",
    "cp2_InLevel",     "cp3_InLevel",     "cp4_InLevel",     "cp5_InLevel",     "cp1_OutLevel",
    "cp2_OutLevel",    "cp3_OutLevel",    "cp4_OutLevel",    "cp5_OutLevel",    "cp1_Thresh",
    "cp1_Ratio",       "cp1_AtkCurve",    "cp1_Atk",         "cp1_RelMode",     "cp1_Rel",
    "cp2_Thresh",      "cp2_Ratio",       "cp2_AtkCurve",    "cp2_Atk",         "cp2_RelMode",
    "cp2_Rel",         "cp3_Thresh",      "cp3_Ratio",       "cp3_AtkCurve",    "cp3_Atk",
    "cp3_RelMode",     "cp3_Rel",         "cp4_Thresh",      "cp4_Ratio",       "cp4_AtkCurve",
    "cp4_Atk",         "cp4_RelMode",     "cp4_Rel",         "cp5_Thresh",      "cp5_Ratio",
    "cp5_AtkCurve",    "cp5_Atk",         "cp5_RelMode",     "cp5_Rel",         "cp1_PWSW",
    "cp1_CompSW",      "cp2_PWSW",        "cp2_CompSW",      "cp3_PWSW",        "cp3_CompSW",
    "cp4_PWSW",        "cp4_CompSW",      "cp5_PWSW",        "cp5_CompSW",      "lt_LimSW",
    "MasterOut",       "MeterSW",         "ReductionSW",     "Monitor",         "cp1_AutoRelType",
    "cp2_AutoRelType", "cp3_AutoRelType", "cp4_AutoRelType", "cp5_AutoRelType", "RedLink 1-2",
    "RedLink 2-3",     "RedLink 3-4",     "RedLink 4-5",     "lt_Ceiling",      "lt_RelSW",
    "lt_Rel_m",        "lt_Rel_a",        "lt_clip",         "FilterType",      "Qcurve",
    "Dry out",         "Wet out",         "cp1_Rel_m",       "cp1_Rel_a",       "cp2_Rel_m",
    "cp2_Rel_a",       "cp3_Rel_m",       "cp3_Rel_a",       "cp4_Rel_m",       "cp4_Rel_a",
    "cp5_Rel_m",       "cp5_Rel_a",
};

constexpr char kCanary = '\x5a';

TEST(ParameterCatalogueTest, NamesOfAllNamedIndices) {
    for (int index = 0; index < kNumNamedParameters; ++index) {
        char text[32];
        std::memset(text, kCanary, sizeof text);
        ASSERT_TRUE(copyParameterName(index, text)) << index;
        EXPECT_STREQ(text, kExpectedNames[index]) << index;
        const std::size_t length = std::strlen(text);
        EXPECT_LE(length, static_cast<std::size_t>(kMaxParameterNameLength)) << index;
        for (std::size_t i = length + 1; i < sizeof text; ++i)
            EXPECT_EQ(text[i], kCanary) << index;
    }
}

TEST(ParameterCatalogueTest, NameOutsideNamedRangeLeavesTextUntouched) {
    for (int index : {-1, 87, 88, 92, 93, 1000, -(1 << 30)}) {
        char text[16] = "previous";
        EXPECT_FALSE(copyParameterName(index, text)) << index;
        EXPECT_STREQ(text, "previous") << index;
        EXPECT_EQ(parameterName(index), nullptr) << index;
    }
    EXPECT_FALSE(copyParameterName(0, nullptr));
}

TEST(ParameterCatalogueTest, Labels) {
    std::string expected[kNumNamedParameters];
    for (int index : {0, 1, 2, 3})
        expected[index] = "Hz";
    for (int index : {70, 77, 79, 81, 83, 85})
        expected[index] = "ms";
    for (int index : {71, 78, 80, 82, 84, 86})
        expected[index] = "%";
    expected[73] = "Filter";
    expected[74] = "dB/oct";
    expected[75] = "dB";
    expected[76] = "dB";
    for (int index = 0; index < kNumNamedParameters; ++index) {
        char text[16] = "junk";
        ASSERT_TRUE(copyParameterLabel(index, text)) << index;
        EXPECT_EQ(std::string(text), expected[index]) << index;
    }
}

TEST(ParameterCatalogueTest, LabelAbove86LeavesTextUntouched) {
    for (int index : {-1, 87, 92, 93}) {
        char text[16] = "previous";
        EXPECT_FALSE(copyParameterLabel(index, text)) << index;
        EXPECT_STREQ(text, "previous") << index;
    }
    EXPECT_FALSE(copyParameterLabel(74, nullptr));
}

} // namespace
} // namespace qv
