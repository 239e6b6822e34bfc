#include "dsp/crossover/CrossoverBank.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const double kInitialCrossoverHz = 350.0;
const double kHundredHz = 100.0; // unit of setCrossover's argument

bool isFiniteRate(double fs) {
    return std::isfinite(fs) && fs > 0.0;
}

} // namespace

CrossoverBank::CrossoverBank(CrossoverDesigner& designer) : designer_(designer) {
    for (int i = 0; i < kFilterCount; ++i)
        requestedHz_[i] = crossoverHz_[i] = kInitialCrossoverHz;
    designAll();
}

void CrossoverBank::setCrossover(int index, float hundredsOfHz) {
    if (index < 1 || index > kFilterCount || !std::isfinite(hundredsOfHz)) return;
    requestedHz_[index - 1] = static_cast<double>(hundredsOfHz) * kHundredHz;
    design(index - 1);
}

void CrossoverBank::setFilterType(float value) {
    filterType_ = value;
    designAll();
}

void CrossoverBank::setSlope(float value) {
    slopeSelect_ = value;
    designAll();
}

void CrossoverBank::setSampleRate(double fs) {
    if (!isFiniteRate(fs)) return;
    sampleRate_ = fs;
    designAll();
}

double CrossoverBank::crossoverHz(int index) const {
    if (index < 1 || index > kFilterCount) return 0.0;
    return crossoverHz_[index - 1];
}

const Relaxed<double>* CrossoverBank::filterSpectrum(int index) const {
    if (index < 1 || index > kFilterCount) return nullptr;
    return filterSpectra_[index - 1];
}

void CrossoverBank::designAll() {
    for (int i = 0; i < kFilterCount; ++i)
        design(i);
}

// The limit is applied to the requested frequency at every design, so a rate change that
// lowers fs / 2 below a crossover does not lose the crossover when the rate rises again.
void CrossoverBank::design(int filter) {
    double hz = requestedHz_[filter];
    const double nyquist = sampleRate_ / 2.0;
    if (hz >= nyquist)
        hz = nyquist;
    else if (hz <= kMinCrossoverHz)
        hz = kMinCrossoverHz;
    crossoverHz_[filter] = hz;

    const double* spectrum = designer_.design(hz, sampleRate_, filterType_, slopeSelect_);
    // The audio thread may read the spectrum meanwhile (relaxed loads); copying the finished
    // spectrum keeps the window in which it sees a mixture as short as possible, and the count
    // that moves on afterwards makes it copy again.
    std::copy(spectrum, spectrum + 2 * kFftSize, filterSpectra_[filter]);
    designCount_.fetch_add(1, std::memory_order_release);
}

} // namespace qv
