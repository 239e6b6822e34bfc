#pragma once

#include "dsp/Relaxed.h"

#include "dsp/dynamics/GainSmoother.h"

// GCC pairs the smoother's running sums unless told not to; clang has no such attribute.
#if defined(__GNUC__) && !defined(__clang__)
#define QV_LINKER_UNPAIRED __attribute__((optimize("no-tree-slp-vectorize")))
#else
#define QV_LINKER_UNPAIRED
#endif

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

    // A run of frames samples: rawGains[b][i] is band b's gain at sample i (1.0 for a band that
    // did not compress). linked[b]: band b runs (both switch values below 0.5); capAtUnity[b]:
    // "Ratio" 0.5 or more. Writes the smoothed gains to smoothedGains[b][i]; a band that does
    // not run gets 1.0 and its smoother is not advanced. Audio thread.
    // (Not vectorised by pairs: the compiler would pair the smoother's two running sums and
    // then take them apart again for every output, which costs more than it saves.)
    QV_LINKER_UNPAIRED void process(const double* const rawGains[kBands], const bool linked[kBands],
                                    const bool capAtUnity[kBands],
                                    double* const smoothedGains[kBands], int frames) {
        for (int b = 0; b < kBands; ++b) {
            double* out = smoothedGains[b];
            if (!linked[b]) {
                for (int i = 0; i < frames; ++i)
                    out[i] = 1.0;
                continue;
            }
            // The end bands have no neighbour beyond them (upper_[0] and lower_[4] are 0). The
            // linked gain goes straight into the smoother.
            const double* g = rawGains[b];
            const double up = upper_[b], centre = centre_[b], low = lower_[b];
            if (b == 0) {
                const double* below = rawGains[1];
                smooth(b, capAtUnity[b], out, frames,
                       [=](int i) { return centre * g[i] + low * below[i]; });
            } else if (b == kBands - 1) {
                const double* above = rawGains[b - 1];
                smooth(b, capAtUnity[b], out, frames,
                       [=](int i) { return up * above[i] + centre * g[i]; });
            } else {
                const double* above = rawGains[b - 1];
                const double* below = rawGains[b + 1];
                smooth(b, capAtUnity[b], out, frames,
                       [=](int i) { return up * above[i] + centre * g[i] + low * below[i]; });
            }
        }
    }
    // One sample: rawGains[b] in, smoothedGains[b] out.
    void process(const double rawGains[kBands], const bool linked[kBands],
                 const bool capAtUnity[kBands], double smoothedGains[kBands]) {
        const double* in[kBands];
        double* out[kBands];
        for (int b = 0; b < kBands; ++b) {
            in[b] = rawGains + b;
            out[b] = smoothedGains + b;
        }
        process(in, linked, capAtUnity, out, 1);
    }

    // The linked (unsmoothed) gain of band b from this sample's raw gains.
    double linkedGain(int band, const double rawGains[kBands]) const;

    // Resets the five smoothers (engine reset).
    void reset();

    int linkAmount(int link) const { return valid(link) ? amount_[link - 1].load() : 0; }
    double neighbourWeight(int link) const {
        return valid(link) ? neighbour_[link - 1].load() : 0.0;
    }
    double selfWeight(int link) const { return valid(link) ? self_[link - 1].load() : 1.0; }
    const GainSmoother& smoother(int band) const { return smoothers_[band]; }

private:
    static bool valid(int link) { return link >= 1 && link <= kLinks; }

    void updateBandWeights(int band); // band 0..4, from the current links

    // Band b's smoother on the linked gains linkedAt(i), capped at 1.0 if capAtUnity.
    template <class Source>
    void smooth(int b, bool capAtUnity, double* out, int frames, Source linkedAt) {
        if (capAtUnity)
            smoothers_[b].processFrom(linkedAt, out, frames,
                                      [](double y) { return y > 1.0 ? 1.0 : y; });
        else
            smoothers_[b].processFrom(linkedAt, out, frames, [](double y) { return y; });
    }

    Relaxed<int> amount_[kLinks] = {0, 0, 0, 0};               // n, 0..100
    Relaxed<double> neighbour_[kLinks] = {0.0, 0.0, 0.0, 0.0}; // w1 = 0.005 n
    Relaxed<double> self_[kLinks] = {1.0, 1.0, 1.0, 1.0};      // w2 = 1 - 0.01 n
    // The linked gain of band b as upper_[b] g(b-1) + centre_[b] g(b) + lower_[b] g(b+1),
    // derived from the links on both sides of the band by setLink.
    Relaxed<double> upper_[kBands] = {0.0, 0.0, 0.0, 0.0, 0.0};
    Relaxed<double> centre_[kBands] = {1.0, 1.0, 1.0, 1.0, 1.0};
    Relaxed<double> lower_[kBands] = {0.0, 0.0, 0.0, 0.0, 0.0};
    GainSmoother smoothers_[kBands]; // one per band
};

} // namespace qv
