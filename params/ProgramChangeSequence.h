#pragma once

#include "params/FactoryProgram.h"
#include "params/ParameterIndex.h"

#include <array>

// The order in which a program change applies a program's values, as data, and a driver that
// walks it.
//
// The effect's setProgram(index) is:
//   1. curProgram = index; outputHint = 0; panelHint = 0.
//   2. runProgramChange(program, target): the steps below, every value through the effect's
//      own (overridden, notifying) setParameter, so each value is also written back into the
//      new live program and forwarded to the editor; the host is not told.
//   3. editor scratch value = 0; outputHint = 0; postUpdateOutputStage if an editor exists;
//      panelHint = 0; postUpdatePanel if an editor exists.
//
// Order of the steps: the four crossover values are first copied straight into the current
// values (so the crossover ordering rule compares against the new program and pushes nothing),
// then set 0..3; 4..17; per band RelMode, the Rel mirror, Rel_m, Rel_a, each band's Rel_m and
// Rel_a copied straight into the current values just before its RelMode (so the mirror
// refreshed by RelMode sees the new program), with the next band's Thresh..Atk in between;
// 44..56, 58, 57, 59..74; the editor-state parameters 87, 88, 90, 89, 91, 92 re-applied with
// their current values; finally 75 and 76.
//
// Thread: whichever thread calls setProgram (host UI thread); never the audio loop.

namespace qv {

enum class ProgramStepKind {
    PresetCrossovers, // copy the program's four crossover values into the current values only
    PresetRelease,    // copy the band's stored Rel_m and Rel_a into the current values only
    SetStored,        // setParameter(index, the program's stored value)
    SetRelMirror,     // the Rel mirror: stored Rel_m if stored RelMode > 0.5, else Rel_a
                      // (already preset, so the effect only refreshes its mirror)
    SetCurrent,       // setParameter(index, the current value): editor-state parameters
};

struct ProgramStep {
    ProgramStepKind kind;
    int index; // parameter index; the band 1..5 for PresetRelease; -1 for PresetCrossovers
};

constexpr int kNumProgramChangeSteps = 99;

namespace detail {
constexpr std::array<ProgramStep, kNumProgramChangeSteps> makeProgramChangeSteps() {
    std::array<ProgramStep, kNumProgramChangeSteps> steps{};
    int n = 0;
    auto add = [&steps, &n](ProgramStepKind kind, int index) { steps[n++] = {kind, index}; };
    auto addStoredRange = [&add](int first, int last) {
        for (int i = first; i <= last; ++i)
            add(ProgramStepKind::SetStored, i);
    };
    add(ProgramStepKind::PresetCrossovers, -1);
    addStoredRange(param::kFreq12, param::kFreq45);
    addStoredRange(param::kCp1InLevel, param::kCp1Atk);
    for (int b = 1; b <= kNumBands; ++b) {
        add(ProgramStepKind::PresetRelease, b);
        add(ProgramStepKind::SetStored, param::relModeIndex(b));
        add(ProgramStepKind::SetRelMirror, param::relIndex(b));
        add(ProgramStepKind::SetStored, param::relMIndex(b));
        add(ProgramStepKind::SetStored, param::relAIndex(b));
        if (b < kNumBands) addStoredRange(param::threshIndex(b + 1), param::atkIndex(b + 1));
    }
    addStoredRange(param::kCp1PwSw, param::kMeterSw);
    add(ProgramStepKind::SetStored, param::kMonitor);
    add(ProgramStepKind::SetStored, param::kReductionSw);
    addStoredRange(param::kCp1AutoRelType, param::kQcurve);
    for (int i : {param::kPanelPage, param::kSelectedChannel, param::kBandView, param::kMatrixItem,
                  param::kAnalyserPower, param::kAnalyserCurveMode})
        add(ProgramStepKind::SetCurrent, i);
    add(ProgramStepKind::SetStored, param::kDryOut);
    add(ProgramStepKind::SetStored, param::kWetOut);
    return steps;
}
} // namespace detail

// The steps of a program change in order.
constexpr std::array<ProgramStep, kNumProgramChangeSteps> kProgramChangeSteps =
    detail::makeProgramChangeSteps();

// The value a Rel mirror takes from a program: its stored Rel_m if the stored RelMode is above
// 0.5, otherwise its stored Rel_a. Band outside 1..5: 0.0.
float storedRelMirror(const FactoryProgram& program, int band);

// What runProgramChange drives; the effect implements it on top of its setParameter.
class ProgramChangeTarget {
public:
    // Store the four crossover values (index 0..3 order) as current values without any setter.
    virtual void presetCrossovers(const float (&values)[kNumCrossovers]) = 0;
    // Store a band's Rel_m and Rel_a as current values without any setter.
    virtual void presetRelease(int band, float relM, float relA) = 0;
    // The effect's full setParameter (stores, recomputes, writes the live program, notifies).
    virtual void applyParameter(int index, float value) = 0;
    // The current value of a parameter (for the editor-state parameters).
    virtual float currentValue(int index) const = 0;

protected:
    ~ProgramChangeTarget() = default;
};

// Walks kProgramChangeSteps for `program` (step 2 of setProgram above).
void runProgramChange(const FactoryProgram& program, ProgramChangeTarget& target);

} // namespace qv
