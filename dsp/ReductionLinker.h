#pragma once

#include "dsp/GainSmoother.h"

namespace qv {

// Pulls the gains of adjacent bands towards each other by the four "RedLink" amounts, then
// smooths each running band's gain with its GainSmoother. Band index 0 is band 1 (highest),
// link index 0 is "RedLink 1-2". setLink: UI/parameter thread; process: audio thread.
class ReductionLinker {
public:
    static constexpr int kBands = 5;
    static constexpr int kLinks = 4;

    // link 1..4 (others ignored), value the normalised "RedLink": n = truncate(100 v) limited to
    // 0..100; neighbour weight 0.005 n, self weight 1 - 0.01 n.
    void setLink(int link, float normalised);

    // rawGains: this sample's gain of every band (1.0 for a band that did not compress).
    // linked[b]: band b runs (both switch values below 0.5); capAtUnity[b]: "Ratio" 0.5 or
    // more. Writes the smoothed gains; a band that does not run gets 1.0 and its smoother is
    // not advanced. Audio thread.
    void process(const double rawGains[kBands], const bool linked[kBands],
                 const bool capAtUnity[kBands], double smoothedGains[kBands]) {
        // The end bands have no neighbour beyond them (upper_[0] and lower_[4] are always 0).
        const double* g = rawGains;
        double x[kBands];
        x[0] = centre_[0] * g[0] + lower_[0] * g[1];
        for (int b = 1; b < kBands - 1; ++b)
            x[b] = upper_[b] * g[b - 1] + centre_[b] * g[b] + lower_[b] * g[b + 1];
        x[kBands - 1] = upper_[kBands - 1] * g[kBands - 2] + centre_[kBands - 1] * g[kBands - 1];
        for (int b = 0; b < kBands; ++b) {
            if (!linked[b]) {
                smoothedGains[b] = 1.0;
                continue;
            }
            double smoothed = smoothers_[b].push(x[b]);
            if (capAtUnity[b] && smoothed > 1.0) smoothed = 1.0;
            smoothedGains[b] = smoothed;
        }
    }

    // The linked (unsmoothed) gain of band b from this sample's raw gains.
    double linkedGain(int band, const double rawGains[kBands]) const;

    // Resets the five smoothers (engine reset).
    void reset();

    int linkAmount(int link) const { return valid(link) ? amount_[link - 1] : 0; }
    double neighbourWeight(int link) const { return valid(link) ? neighbour_[link - 1] : 0.0; }
    double selfWeight(int link) const { return valid(link) ? self_[link - 1] : 1.0; }
    const GainSmoother& smoother(int band) const { return smoothers_[band]; }

private:
    static bool valid(int link) { return link >= 1 && link <= kLinks; }

    void updateBandWeights(int band); // band 0..4, from the current links

    int amount_[kLinks] = {0, 0, 0, 0};               // n, 0..100
    double neighbour_[kLinks] = {0.0, 0.0, 0.0, 0.0}; // w1 = 0.005 n
    double self_[kLinks] = {1.0, 1.0, 1.0, 1.0};      // w2 = 1 - 0.01 n
    // The linked gain of band b as upper_[b] g(b-1) + centre_[b] g(b) + lower_[b] g(b+1),
    // derived from the links on both sides of the band by setLink.
    double upper_[kBands] = {0.0, 0.0, 0.0, 0.0, 0.0};
    double centre_[kBands] = {1.0, 1.0, 1.0, 1.0, 1.0};
    double lower_[kBands] = {0.0, 0.0, 0.0, 0.0, 0.0};
    GainSmoother smoothers_[kBands]; // one per band
};

} // namespace qv
