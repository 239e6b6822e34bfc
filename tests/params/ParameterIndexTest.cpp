#include "params/ParameterIndex.h"

#include "params/ParameterCatalogue.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>

namespace qv {
namespace {

// Every band formula must land on an index of its own family and band.
TEST(ParameterIndexTest, BandFormulasClassifyBack) {
    struct Formula {
        int (*index)(int);
        ParameterFamily family;
    };
    const Formula formulas[] = {
        {param::inLevelIndex, ParameterFamily::InLevel},
        {param::outLevelIndex, ParameterFamily::OutLevel},
        {param::threshIndex, ParameterFamily::Thresh},
        {param::ratioIndex, ParameterFamily::Ratio},
        {param::atkCurveIndex, ParameterFamily::AtkCurve},
        {param::atkIndex, ParameterFamily::Atk},
        {param::relModeIndex, ParameterFamily::RelMode},
        {param::relIndex, ParameterFamily::Rel},
        {param::pwSwIndex, ParameterFamily::PwSw},
        {param::compSwIndex, ParameterFamily::CompSw},
        {param::autoRelTypeIndex, ParameterFamily::AutoRelType},
        {param::relMIndex, ParameterFamily::RelM},
        {param::relAIndex, ParameterFamily::RelA},
    };
    for (const Formula& f : formulas) {
        for (int b = 1; b <= kNumBands; ++b) {
            const int index = f.index(b);
            EXPECT_EQ(familyOf(index), f.family) << "band " << b << " index " << index;
            EXPECT_EQ(bandOf(index), b) << "index " << index;
            EXPECT_EQ(pairOf(index), 0) << "index " << index;
        }
    }
    for (int k = 1; k <= kNumCrossovers; ++k) {
        EXPECT_EQ(familyOf(param::freqIndex(k)), ParameterFamily::Freq);
        EXPECT_EQ(pairOf(param::freqIndex(k)), k);
        EXPECT_EQ(familyOf(param::redLinkIndex(k)), ParameterFamily::RedLink);
        EXPECT_EQ(pairOf(param::redLinkIndex(k)), k);
        EXPECT_EQ(bandOf(param::redLinkIndex(k)), 0);
    }
}

// The names carry the family and band ("cp3_Rel_m"): check the classification against them.
TEST(ParameterIndexTest, ClassificationAgreesWithNames) {
    const std::pair<const char*, ParameterFamily> suffixes[] = {
        {"InLevel", ParameterFamily::InLevel},
        {"OutLevel", ParameterFamily::OutLevel},
        {"Thresh", ParameterFamily::Thresh},
        {"Ratio", ParameterFamily::Ratio},
        {"AtkCurve", ParameterFamily::AtkCurve},
        {"Atk", ParameterFamily::Atk},
        {"RelMode", ParameterFamily::RelMode},
        {"Rel", ParameterFamily::Rel},
        {"Rel_m", ParameterFamily::RelM},
        {"Rel_a", ParameterFamily::RelA},
        {"AutoRelType", ParameterFamily::AutoRelType},
        {"PWSW", ParameterFamily::PwSw},
        {"CompSW", ParameterFamily::CompSw},
    };
    int bandParameters = 0;
    for (int index = 0; index < kNumNamedParameters; ++index) {
        const std::string name = parameterName(index);
        if (name.size() < 4 || name.compare(0, 2, "cp") != 0 || name[3] != '_') {
            EXPECT_EQ(bandOf(index), 0) << name;
            continue;
        }
        ++bandParameters;
        EXPECT_EQ(bandOf(index), name[2] - '0') << name;
        const std::string suffix = name.substr(4);
        bool found = false;
        for (const auto& s : suffixes) {
            if (suffix == s.first) {
                EXPECT_EQ(familyOf(index), s.second) << name;
                found = true;
            }
        }
        EXPECT_TRUE(found) << name;
    }
    EXPECT_EQ(bandParameters, 13 * kNumBands);
}

TEST(ParameterIndexTest, NoTwoIndicesShareFamilyAndPosition) {
    std::set<std::pair<int, int>> seen;
    for (int index = 0; index < kNumStoredParameters; ++index) {
        const ParameterFamily family = familyOf(index);
        ASSERT_NE(family, ParameterFamily::None) << index;
        const int position = bandOf(index) + pairOf(index);
        EXPECT_TRUE(seen.insert({static_cast<int>(family), position}).second) << index;
    }
}

TEST(ParameterIndexTest, SingleParametersAndOutsideIndices) {
    const std::pair<int, ParameterFamily> cases[] = {
        {54, ParameterFamily::LtLimSw},       {55, ParameterFamily::MasterOut},
        {56, ParameterFamily::MeterSw},       {57, ParameterFamily::ReductionSw},
        {58, ParameterFamily::Monitor},       {68, ParameterFamily::LtCeiling},
        {69, ParameterFamily::LtRelSw},       {70, ParameterFamily::LtRelM},
        {71, ParameterFamily::LtRelA},        {72, ParameterFamily::LtClip},
        {73, ParameterFamily::FilterType},    {74, ParameterFamily::Qcurve},
        {75, ParameterFamily::DryOut},        {76, ParameterFamily::WetOut},
        {87, ParameterFamily::PanelPage},     {88, ParameterFamily::SelectedChannel},
        {89, ParameterFamily::MatrixItem},    {90, ParameterFamily::BandView},
        {91, ParameterFamily::AnalyserPower}, {92, ParameterFamily::AnalyserCurveMode},
        {-1, ParameterFamily::None},          {93, ParameterFamily::None},
        {1 << 30, ParameterFamily::None},     {-(1 << 30), ParameterFamily::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(familyOf(c.first), c.second) << c.first;

    for (int index : {19, 25, 31, 37, 43})
        EXPECT_TRUE(isRelMirror(index)) << index;
    EXPECT_FALSE(isRelMirror(77));
    for (int index = 87; index <= 92; ++index)
        EXPECT_TRUE(isEditorState(index));
    EXPECT_FALSE(isEditorState(86));
    EXPECT_FALSE(isEditorState(93));
}

TEST(ParameterIndexTest, EditorParameterTags) {
    for (int t = -1; t <= 112; ++t) {
        const bool expected = (t >= 4 && t <= 43) || (t >= 59 && t <= 63);
        EXPECT_EQ(tag::isParameterTag(t), expected) << t;
    }
}

} // namespace
} // namespace qv
