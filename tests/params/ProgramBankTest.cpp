#include "params/ProgramBank.h"

#include "params/ParameterIndex.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace qv {
namespace {

class ProgramBankTest : public ::testing::Test {
protected:
    void SetUp() override { bank.fillFactoryBank(); }

    float value(int program, int index) const { return bank.storedValue(program, index); }

    ProgramBank bank;
};

TEST(ProgramSlotTest, SlotMapIsABijectionOntoTheStoredIndices) {
    std::set<int> indices;
    for (int slot = 0; slot < kNumProgramSlots; ++slot) {
        const int index = parameterOfSlot(slot);
        ASSERT_GE(index, 0) << slot;
        ASSERT_LT(index, kNumNamedParameters) << slot;
        EXPECT_FALSE(isRelMirror(index)) << slot;
        EXPECT_TRUE(indices.insert(index).second) << "index " << index << " twice";
        EXPECT_EQ(slotOfParameter(index), slot);
    }
    EXPECT_EQ(indices.size(), static_cast<std::size_t>(kNumNamedParameters - kNumBands));
    for (int index : {19, 25, 31, 37, 43, 87, 88, 92, 93, -1, 1 << 30})
        EXPECT_EQ(slotOfParameter(index), -1) << index;
    for (int slot : {-1, 82, 1 << 30})
        EXPECT_EQ(parameterOfSlot(slot), -1) << slot;
}

TEST(ProgramSlotTest, SlotOrderGroupsEachBandWithItsReleaseValues) {
    // 0..18 in index order; then per band Thresh, Ratio, AtkCurve, Atk, RelMode, Rel_m, Rel_a.
    for (int slot = 0; slot <= 18; ++slot)
        EXPECT_EQ(parameterOfSlot(slot), slot);
    for (int b = 1; b <= kNumBands; ++b) {
        const int first = 14 + 7 * (b - 1);
        const int expected[] = {param::threshIndex(b),   param::ratioIndex(b),
                                param::atkCurveIndex(b), param::atkIndex(b),
                                param::relModeIndex(b),  param::relMIndex(b),
                                param::relAIndex(b)};
        for (int j = 0; j < 7; ++j)
            EXPECT_EQ(parameterOfSlot(first + j), expected[j]) << b;
    }
    // The switches follow, with Monitor before ReductionSW.
    for (int slot = 49; slot <= 61; ++slot)
        EXPECT_EQ(parameterOfSlot(slot), slot - 5);
    EXPECT_EQ(parameterOfSlot(62), param::kMonitor);
    EXPECT_EQ(parameterOfSlot(63), param::kReductionSw);
    for (int slot = 64; slot < kNumProgramSlots; ++slot)
        EXPECT_EQ(parameterOfSlot(slot), slot - 5);
}

TEST_F(ProgramBankTest, Names) {
    char text[32];
    ASSERT_TRUE(bank.copyProgramNameIndexed(0, text));
    EXPECT_STREQ(text, "Default");
    for (int n = 0; n <= 15; ++n) {
        ASSERT_TRUE(bank.copyProgramNameIndexed(n + 1, text));
        EXPECT_EQ(std::string(text), "(ex" + std::to_string(n));
    }
    for (int p = 17; p <= 19; ++p) {
        ASSERT_TRUE(bank.copyProgramNameIndexed(p, text));
        EXPECT_STREQ(text, "---");
    }
    for (int p : {-1, 20, 1 << 30}) {
        char untouched[8] = "before";
        EXPECT_FALSE(bank.copyProgramNameIndexed(p, untouched)) << p;
        EXPECT_STREQ(untouched, "before");
    }
    EXPECT_FALSE(bank.copyProgramNameIndexed(0, nullptr));
}

TEST_F(ProgramBankTest, RenamingKeepsTheFirst23Characters) {
    const struct {
        const char* name;
        const char* stored;
    } cases[] = {
        {"", ""},
        {"Short", "Short"},
        {"12345678901234567890123", "12345678901234567890123"},
        {"123456789012345678901234567890", "12345678901234567890123"},
    };
    for (const auto& c : cases) {
        bank.setProgramName(5, c.name);
        char text[64];
        std::memset(text, 0x5a, sizeof text);
        ASSERT_TRUE(bank.copyProgramNameIndexed(5, text));
        EXPECT_STREQ(text, c.stored);
        EXPECT_EQ(text[std::strlen(text) + 1], 0x5a);
        EXPECT_EQ(bank.program(5)->name[kMaxProgramNameLength], '\0');
    }
    // Null names and missing programs change nothing.
    bank.setProgramName(5, nullptr);
    bank.setProgramName(20, "x");
    bank.setProgramName(-1, "x");
    char text[32];
    bank.copyProgramNameIndexed(5, text);
    EXPECT_STREQ(text, "12345678901234567890123");
    bank.copyProgramNameIndexed(4, text);
    EXPECT_STREQ(text, "(ex3");
}

// Program 0 carries the default of every family.
TEST_F(ProgramBankTest, DefaultProgramHoldsTheFamilyDefaults) {
    const float crossovers[] = {0.893301f, 0.756096f, 0.430282f, 0.112988f};
    for (int index = 0; index < kNumNamedParameters; ++index) {
        if (isRelMirror(index)) continue;
        float expected = 0.0f;
        switch (familyOf(index)) {
        case ParameterFamily::Freq:
            expected = crossovers[index];
            break;
        case ParameterFamily::InLevel:
        case ParameterFamily::OutLevel:
        case ParameterFamily::MasterOut:
        case ParameterFamily::RedLink:
        case ParameterFamily::Qcurve:
            expected = 0.5f;
            break;
        case ParameterFamily::Thresh:
        case ParameterFamily::AutoRelType:
        case ParameterFamily::LtClip:
        case ParameterFamily::WetOut:
            expected = 1.0f;
            break;
        case ParameterFamily::Ratio:
            expected = 0.75f;
            break;
        case ParameterFamily::Atk:
            expected = 0.099941f;
            break;
        case ParameterFamily::RelM:
            expected = 0.500189f;
            break;
        case ParameterFamily::RelA:
            expected = 0.258503f;
            break;
        case ParameterFamily::LtCeiling:
            expected = 0.998f;
            break;
        case ParameterFamily::LtRelM:
            expected = 0.1f;
            break;
        case ParameterFamily::LtRelA:
            expected = 0.40625f;
            break;
        default:
            expected = 0.0f;
            break; // switches, Dry out
        }
        EXPECT_EQ(value(0, index), expected) << "index " << index;
    }
}

TEST_F(ProgramBankTest, FactoryContentsInvariants) {
    for (int p = 0; p < kNumPrograms; ++p) {
        const FactoryProgram* program = bank.program(p);
        ASSERT_NE(program, nullptr);
        for (int slot = 0; slot < kNumProgramSlots; ++slot) {
            EXPECT_GE(program->values[slot], 0.0f) << p << " slot " << slot;
            EXPECT_LE(program->values[slot], 1.0f) << p << " slot " << slot;
        }
        // The crossovers are stored in descending order, as the setters keep them.
        for (int k = 1; k < kNumCrossovers; ++k)
            EXPECT_GE(value(p, param::freqIndex(k)), value(p, param::freqIndex(k + 1))) << p;
        // 1..16 are real presets; 17..19 are spare copies of the default.
        const bool sameAsDefault =
            std::memcmp(program->values, bank.program(0)->values, sizeof program->values) == 0;
        EXPECT_EQ(sameAsDefault, p == 0 || p >= 17) << p;
    }
    EXPECT_EQ(bank.program(20), nullptr);
    EXPECT_EQ(bank.program(-1), nullptr);
}

TEST_F(ProgramBankTest, ProgramSevenOpensTheCrossoversAndSwitchesBandsOff) {
    for (int k = 1; k <= kNumCrossovers; ++k)
        EXPECT_EQ(value(7, param::freqIndex(k)), 0.0f);
    for (int b = 2; b <= kNumBands; ++b) {
        EXPECT_EQ(value(7, param::compSwIndex(b)), 1.0f) << b;
        EXPECT_EQ(value(7, param::pwSwIndex(b)), b == 5 ? 0.0f : 1.0f) << b;
    }
    EXPECT_EQ(value(7, param::kCp1PwSw), 0.0f);
    EXPECT_EQ(value(7, param::kCp1CompSw), 0.0f);
}

TEST_F(ProgramBankTest, ManualReleasePresets) {
    // "(ex13" runs bands 1..4 with manual release, "(ex15" all five.
    for (int b = 1; b <= kNumBands; ++b) {
        EXPECT_EQ(value(14, param::relModeIndex(b)), b <= 4 ? 1.0f : 0.0f) << b;
        EXPECT_EQ(value(16, param::relModeIndex(b)), 1.0f) << b;
        EXPECT_EQ(value(16, param::relMIndex(b)), 0.0f) << b;
    }
}

TEST_F(ProgramBankTest, StoredValuesAreEditable) {
    EXPECT_TRUE(bank.storeValue(3, param::kCp1Thresh, 0.25f));
    EXPECT_EQ(value(3, param::kCp1Thresh), 0.25f);
    EXPECT_EQ(value(0, param::kCp1Thresh), 1.0f);
    EXPECT_TRUE(bank.storeValue(3, param::kCp5RelA, 0.75f));
    EXPECT_EQ(value(3, param::kCp5RelA), 0.75f);

    // No slot, no program: nothing is written anywhere.
    FactoryProgram before = *bank.program(3);
    for (int index : {param::kCp1Rel, param::kPanelPage, 93, -1})
        EXPECT_FALSE(bank.storeValue(3, index, 0.5f)) << index;
    EXPECT_FALSE(bank.storeValue(20, param::kCp1Thresh, 0.5f));
    EXPECT_FALSE(bank.storeValue(-1, param::kCp1Thresh, 0.5f));
    EXPECT_EQ(std::memcmp(&before, bank.program(3), sizeof before), 0);
    EXPECT_EQ(value(20, param::kCp1Thresh), 0.0f);
    EXPECT_EQ(value(3, param::kCp1Rel), 0.0f);

    // Refilling restores the factory contents.
    bank.setProgramName(3, "edited");
    bank.fillFactoryBank();
    ProgramBank fresh;
    fresh.fillFactoryBank();
    EXPECT_EQ(std::memcmp(bank.program(3), fresh.program(3), sizeof(FactoryProgram)), 0);
    EXPECT_NE(value(3, param::kCp1Thresh), 0.25f);
}

TEST(ProgramBankConstructionTest, EmptyUntilFilled) {
    ProgramBank bank;
    char text[32] = "junk";
    ASSERT_TRUE(bank.copyProgramNameIndexed(0, text));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(bank.storedValue(0, param::kCp1Thresh), 0.0f);
}

} // namespace
} // namespace qv
