#include "dsp/dynamics/ReductionLinker.h"

#include "dsp/math/SingleRounding.h"

namespace qv {

namespace {
const float kPercent = 100.0f;
const double kNeighbourWeightPerStep = 0.005; // n = 100 gives the plain mean
} // namespace

void ReductionLinker::setLink(int link, float normalised) {
    if (!valid(link)) return;
    const int j = link - 1;
    // Rounded once to float as the SSE build rounds it (the x87 build would keep it wider and
    // could truncate 25.99999 where the SSE build truncates 26).
    const float x = roundToSingle(static_cast<double>(normalised) * kPercent);
    if (x > 100.0f) {
        amount_[j] = 100;
        neighbour_[j] = 0.5;
        self_[j] = 0.0;
    } else if (x >= 1.0f) {
        amount_[j] = static_cast<int>(x);
        neighbour_[j] = kNeighbourWeightPerStep * amount_[j];
        // 1 - 0.01 n from the stored (rounded) neighbour weight: the x87 unit would keep
        // 0.01 n wider and leave -2e-17 for n = 100. Doubling is exact, so this is 1 - 0.01 n
        // as the SSE builds round it.
        self_[j] = 1.0 - 2.0 * neighbour_[j];
    } else { // below 1, and NaN
        amount_[j] = 0;
        neighbour_[j] = 0.0;
        self_[j] = 1.0;
    }
    updateBandWeights(j);     // the band above the link
    updateBandWeights(j + 1); // the band below it
}

// The weights of linkedGain, collected per neighbour.
void ReductionLinker::updateBandWeights(int band) {
    double upper = 0.0, centre = 1.0, lower = 0.0;
    const bool upperOn = band > 0 && amount_[band - 1] >= 1;
    const bool lowerOn = band < kBands - 1 && amount_[band] >= 1;
    if (upperOn && lowerOn) {
        const int a = band - 1, b = band;
        upper = 0.5 * neighbour_[a];
        lower = 0.5 * neighbour_[b];
        centre = 0.5 * (self_[b] + self_[a] + neighbour_[a] + neighbour_[b]);
    } else if (upperOn) {
        upper = neighbour_[band - 1];
        centre = self_[band - 1] + neighbour_[band - 1];
    } else if (lowerOn) {
        lower = neighbour_[band];
        centre = self_[band] + neighbour_[band];
    }
    upper_[band] = upper;
    centre_[band] = centre;
    lower_[band] = lower;
}

// One-sided link of amount n: g * (1 - n / 200) + neighbour * n / 200. A middle band linked on
// both sides takes the mean of its two one-sided results. Links are not chained: only raw
// gains enter.
double ReductionLinker::linkedGain(int band, const double g[kBands]) const {
    if (band == 0) {
        if (amount_[0] > 0) return g[0] * self_[0] + (g[1] + g[0]) * neighbour_[0];
        return g[0];
    }
    if (band == kBands - 1) {
        const int j = kLinks - 1;
        if (amount_[j] > 0) return g[band] * self_[j] + (g[band] + g[band - 1]) * neighbour_[j];
        return g[band];
    }
    const int upper = band - 1; // link towards the higher band
    const int lower = band;     // link towards the lower band
    const bool upperOn = amount_[upper] >= 1, lowerOn = amount_[lower] >= 1;
    const double gb = g[band];
    if (!lowerOn && !upperOn) return gb;
    if (!lowerOn) return gb * self_[upper] + (gb + g[band - 1]) * neighbour_[upper];
    if (!upperOn) return gb * self_[lower] + (g[band + 1] + gb) * neighbour_[lower];
    return (g[band - 1] * neighbour_[upper] + g[band + 1] * neighbour_[lower] +
            (self_[lower] + self_[upper] + neighbour_[upper] + neighbour_[lower]) * gb) *
           0.5;
}

void ReductionLinker::reset() {
    for (GainSmoother& s : smoothers_)
        s.reset();
}

} // namespace qv
