#include "params/ProgramChangeSequence.h"

#include "params/ParameterMapping.h"
#include "params/ProgramBank.h"

namespace qv {

namespace {

float storedValueOf(const FactoryProgram& program, int index) {
    const int slot = slotOfParameter(index);
    return slot >= 0 ? program.values[slot] : 0.0f;
}

} // namespace

float storedRelMirror(const FactoryProgram& program, int band) {
    if (band < 1 || band > kNumBands) return 0.0f;
    const bool manual = switchFlag(storedValueOf(program, param::relModeIndex(band)));
    return storedValueOf(program, manual ? param::relMIndex(band) : param::relAIndex(band));
}

void runProgramChange(const FactoryProgram& program, ProgramChangeTarget& target) {
    for (const ProgramStep& step : kProgramChangeSteps) {
        switch (step.kind) {
        case ProgramStepKind::PresetCrossovers: {
            float crossovers[kNumCrossovers];
            for (int k = 1; k <= kNumCrossovers; ++k)
                crossovers[k - 1] = storedValueOf(program, param::freqIndex(k));
            target.presetCrossovers(crossovers);
            break;
        }
        case ProgramStepKind::PresetRelease:
            target.presetRelease(step.index, storedValueOf(program, param::relMIndex(step.index)),
                                 storedValueOf(program, param::relAIndex(step.index)));
            break;
        case ProgramStepKind::SetStored:
            target.applyParameter(step.index, storedValueOf(program, step.index));
            break;
        case ProgramStepKind::SetRelMirror:
            target.applyParameter(step.index, storedRelMirror(program, bandOf(step.index)));
            break;
        case ProgramStepKind::SetCurrent:
            target.applyParameter(step.index, target.currentValue(step.index));
            break;
        }
    }
}

} // namespace qv
