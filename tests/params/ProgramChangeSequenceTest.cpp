#include "params/ProgramChangeSequence.h"

#include "params/ParameterIndex.h"
#include "params/ProgramBank.h"

#include <gtest/gtest.h>
#include <vector>

namespace qv {
namespace {

// Records what a program change asks of the effect.
class RecordingTarget : public ProgramChangeTarget {
public:
    struct Call {
        enum Kind { Crossovers, Release, Apply } kind;
        int index; // parameter index, or band for Release
        float a;   // value, or Rel_m for Release, or the first crossover
        float b;   // Rel_a for Release
    };

    void presetCrossovers(const float (&values)[kNumCrossovers]) override {
        calls.push_back({Call::Crossovers, -1, values[0], 0.0f});
        for (int k = 0; k < kNumCrossovers; ++k)
            crossovers[k] = values[k];
    }
    void presetRelease(int band, float relM, float relA) override {
        calls.push_back({Call::Release, band, relM, relA});
    }
    void applyParameter(int index, float value) override {
        calls.push_back({Call::Apply, index, value, 0.0f});
    }
    float currentValue(int index) const override { return 0.01f * index; }

    std::vector<Call> calls;
    float crossovers[kNumCrossovers] = {};
};

std::vector<int> range(int first, int last) {
    std::vector<int> r;
    for (int i = first; i <= last; ++i)
        r.push_back(i);
    return r;
}

// The order in which setProgram applies parameters.
std::vector<int> expectedOrder() {
    std::vector<int> order;
    auto append = [&order](const std::vector<int>& part) {
        order.insert(order.end(), part.begin(), part.end());
    };
    append(range(0, 3));
    append(range(4, 17));
    append({18, 19, 77, 78});
    append(range(20, 23));
    append({24, 25, 79, 80});
    append(range(26, 29));
    append({30, 31, 81, 82});
    append(range(32, 35));
    append({36, 37, 83, 84});
    append(range(38, 41));
    append({42, 43, 85, 86});
    append(range(44, 56));
    append({58, 57});
    append(range(59, 74));
    append({87, 88, 90, 89, 91, 92});
    append({75, 76});
    return order;
}

class ProgramChangeSequenceTest : public ::testing::Test {
protected:
    void SetUp() override { bank.fillFactoryBank(); }
    ProgramBank bank;
};

TEST_F(ProgramChangeSequenceTest, AppliesEveryParameterOnceInOrder) {
    RecordingTarget target;
    runProgramChange(*bank.program(14), target);
    std::vector<int> applied;
    for (const auto& call : target.calls)
        if (call.kind == RecordingTarget::Call::Apply) applied.push_back(call.index);
    EXPECT_EQ(applied, expectedOrder());
}

TEST_F(ProgramChangeSequenceTest, PresetsComeBeforeTheirSetters) {
    const FactoryProgram& program = *bank.program(14);
    RecordingTarget target;
    runProgramChange(program, target);
    ASSERT_FALSE(target.calls.empty());
    EXPECT_EQ(target.calls.front().kind, RecordingTarget::Call::Crossovers);
    for (int k = 1; k <= kNumCrossovers; ++k)
        EXPECT_EQ(target.crossovers[k - 1], bank.storedValue(14, param::freqIndex(k)));

    int releasePresets = 0;
    for (std::size_t i = 0; i < target.calls.size(); ++i) {
        const auto& call = target.calls[i];
        if (call.kind != RecordingTarget::Call::Release) continue;
        ++releasePresets;
        const int band = call.index;
        EXPECT_EQ(call.a, bank.storedValue(14, param::relMIndex(band)));
        EXPECT_EQ(call.b, bank.storedValue(14, param::relAIndex(band)));
        ASSERT_LT(i + 1, target.calls.size());
        EXPECT_EQ(target.calls[i + 1].kind, RecordingTarget::Call::Apply);
        EXPECT_EQ(target.calls[i + 1].index, param::relModeIndex(band));
    }
    EXPECT_EQ(releasePresets, kNumBands);
}

// Stored values go through unchanged, the mirrors get the active release value and the
// editor-state parameters keep their current values.
TEST_F(ProgramChangeSequenceTest, ValuesPassed) {
    for (int p : {0, 14, 16}) {
        RecordingTarget target;
        runProgramChange(*bank.program(p), target);
        for (const auto& call : target.calls) {
            if (call.kind != RecordingTarget::Call::Apply) continue;
            const int index = call.index;
            float expected = bank.storedValue(p, index);
            if (isEditorState(index)) {
                expected = target.currentValue(index);
            } else if (isRelMirror(index)) {
                const int b = bandOf(index);
                const bool manual = bank.storedValue(p, param::relModeIndex(b)) > 0.5f;
                expected = bank.storedValue(p, manual ? param::relMIndex(b) : param::relAIndex(b));
            }
            EXPECT_EQ(call.a, expected) << "program " << p << " index " << index;
        }
    }
}

TEST_F(ProgramChangeSequenceTest, StoredRelMirror) {
    // "(ex13": bands 1..4 manual, band 5 automatic.
    const FactoryProgram& program = *bank.program(14);
    EXPECT_EQ(storedRelMirror(program, 1), bank.storedValue(14, param::kCp1RelM));
    EXPECT_EQ(storedRelMirror(program, 5), bank.storedValue(14, param::kCp5RelA));
    EXPECT_NE(bank.storedValue(14, param::kCp1RelM), bank.storedValue(14, param::kCp1RelA));
    EXPECT_EQ(storedRelMirror(program, 0), 0.0f);
    EXPECT_EQ(storedRelMirror(program, 6), 0.0f);
}

} // namespace
} // namespace qv
