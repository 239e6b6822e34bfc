#pragma once

// A single channel's crossover as the bank tests use it: a bank with a designer of its own and
// a block filter, with the block step and history reset of the filter at hand.

#include "dsp/crossover/CrossoverBank.h"
#include "dsp/crossover/CrossoverBlockFilter.h"
#include "dsp/crossover/CrossoverDesigner.h"

namespace qv {

// Holds the designer so that it is built before the bank that designs with it.
struct OwnDesigner {
    CrossoverDesigner designer;
};

class TestCrossoverBank : private OwnDesigner, public CrossoverBank {
public:
    TestCrossoverBank() : CrossoverBank(designer) {}

    void processBlock(const double* in, double* out1, double* out2, double* out3, double* out4) {
        filter_.process(*this, in, out1, out2, out3, out4);
    }
    void clear() { filter_.clear(); }

private:
    CrossoverBlockFilter filter_;
};

} // namespace qv
