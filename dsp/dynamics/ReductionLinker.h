#pragma once

#include "dsp/Relaxed.h"

#include "dsp/dynamics/GainSmoother.h"
#include "dsp/dynamics/GainSmootherPair.h"
#include "dsp/dynamics/LinkedGain.h"

#include <cmath>

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
    // Where doubles live in SSE2 registers, bands 1 and 2, and 3 and 4, run side by side in
    // the two lanes (GainSmootherPair). The compiler is not let pair a band's own two running
    // sums: it would take them apart again for every output, which costs more than it saves.
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
#if defined(QV_SMOOTHER_PAIRS)
            if (b + 1 < kBands - 1 && b % 2 == 0 && linked[b + 1]) {
                if (b == 0)
                    smoothPair<true>(b, rawGains, capAtUnity, out, smoothedGains[b + 1], frames);
                else
                    smoothPair<false>(b, rawGains, capAtUnity, out, smoothedGains[b + 1], frames);
                ++b;
                continue;
            }
#endif
            smoothBand(b, rawGains, capAtUnity[b], 0, out, frames);
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

    int linkAmount(int link) const {
        return valid(link) ? amount_[link - 1].load() : 0;
    }
    double neighbourWeight(int link) const {
        return valid(link) ? neighbour_[link - 1].load() : 0.0;
    }
    double selfWeight(int link) const {
        return valid(link) ? self_[link - 1].load() : 1.0;
    }
    const GainSmoother& smoother(int band) const {
        return smoothers_[band];
    }

private:
    static bool valid(int link) {
        return link >= 1 && link <= kLinks;
    }

    void updateBandWeights(int band); // band 0..4, from the current links

    // Band b's linked gains of frames from..from + frames - 1 into its smoother, the outputs to
    // out[0..frames - 1]. The end bands have no neighbour beyond them (upper_[0] and lower_[4]
    // are 0). The linked gain goes straight into the smoother.
    QV_LINKER_UNPAIRED void smoothBand(int b, const double* const rawGains[kBands], bool cap,
                                       int from, double* out, int frames) {
        const double* g = rawGains[b] + from;
        const double up = upper_[b], centre = centre_[b], low = lower_[b];
#if defined(QV_SMOOTHER_PAIRS)
        if (smoothers_[b].atRest()) {
            // The unity gains of a band at rest are found two frames at a time, lane by lane
            // formed as below.
            const __m128d upPair = _mm_set1_pd(up), centrePair = _mm_set1_pd(centre),
                          lowPair = _mm_set1_pd(low);
            int rest;
            if (b == 0) {
                const double* below = rawGains[1] + from;
                rest = unityFrames(frames, [=](int i) {
                    return _mm_add_pd(_mm_mul_pd(centrePair, _mm_loadu_pd(g + i)),
                                      _mm_mul_pd(lowPair, _mm_loadu_pd(below + i)));
                });
            } else if (b == kBands - 1) {
                const double* above = rawGains[b - 1] + from;
                rest = unityFrames(frames, [=](int i) {
                    return _mm_add_pd(_mm_mul_pd(upPair, _mm_loadu_pd(above + i)),
                                      _mm_mul_pd(centrePair, _mm_loadu_pd(g + i)));
                });
            } else {
                const double* above = rawGains[b - 1] + from;
                const double* below = rawGains[b + 1] + from;
                rest = unityFrames(frames, [=](int i) {
                    return _mm_add_pd(_mm_add_pd(_mm_mul_pd(upPair, _mm_loadu_pd(above + i)),
                                                 _mm_mul_pd(centrePair, _mm_loadu_pd(g + i))),
                                      _mm_mul_pd(lowPair, _mm_loadu_pd(below + i)));
                });
            }
            if (rest > 0) {
                for (int i = 0; i < rest; ++i)
                    out[i] = 1.0;
                if (rest == frames) return;
                g += rest;
                from += rest;
                out += rest;
                frames -= rest;
            }
        }
#endif
        if (b == 0)
            smooth(b, cap, out, frames,
                   LinkedGain<false, true>{nullptr, g, rawGains[1] + from, up, centre, low});
        else if (b == kBands - 1)
            smooth(b, cap, out, frames,
                   LinkedGain<true, false>{rawGains[b - 1] + from, g, nullptr, up, centre, low});
        else
            smooth(b, cap, out, frames,
                   LinkedGain<true, true>{rawGains[b - 1] + from, g, rawGains[b + 1] + from, up,
                                          centre, low});
    }

#if defined(QV_SMOOTHER_PAIRS)
    // Bands a and a + 1 (a middle band, or with First band 1, which has no band above) through
    // GainSmootherPair, stretches it declines one band after the other. Lane by lane the linked
    // gain is formed as smoothBand forms it; for band 1 the missing upper term is 0 x 0, and
    // adding that +0 changes no gain (a gain is never -0).
    template <bool First>
    QV_LINKER_UNPAIRED void smoothPair(int a, const double* const rawGains[kBands],
                                       const bool capAtUnity[kBands], double* outA, double* outB,
                                       int frames) {
        const double* above = First ? rawGains[a] : rawGains[a - 1];
        const double* g0 = rawGains[a];
        const double* g1 = rawGains[a + 1];
        const double* g2 = rawGains[a + 2];
        const __m128d up = _mm_set_pd(upper_[a + 1], First ? 0.0 : upper_[a].load());
        const __m128d centre = _mm_set_pd(centre_[a + 1], centre_[a]);
        const __m128d low = _mm_set_pd(lower_[a + 1], lower_[a]);
        const double noCap = HUGE_VAL;
        const __m128d cap =
            _mm_set_pd(capAtUnity[a + 1] ? 1.0 : noCap, capAtUnity[a] ? 1.0 : noCap);
        GainSmoother& smootherA = smoothers_[a];
        GainSmoother& smootherB = smoothers_[a + 1];
        for (int i = 0; i < frames;) {
            const auto gainsAt = [=](int k) {
                const int f = i + k;
                const __m128d upper = First ? _mm_loadh_pd(_mm_setzero_pd(), g0 + f)
                                            : _mm_loadh_pd(_mm_load_sd(above + f), g0 + f);
                const __m128d own = _mm_loadh_pd(_mm_load_sd(g0 + f), g1 + f);
                const __m128d lower = _mm_loadh_pd(_mm_load_sd(g1 + f), g2 + f);
                return _mm_add_pd(_mm_add_pd(_mm_mul_pd(up, upper), _mm_mul_pd(centre, own)),
                                  _mm_mul_pd(low, lower));
            };
            int done = GainSmootherPair::run(smootherA, smootherB, gainsAt, cap, outA + i, outB + i,
                                             frames - i);
            if (done == 0) {
                done = GainSmootherPair::fallbackFrames(smootherA, smootherB, frames - i);
                smoothBand(a, rawGains, capAtUnity[a], i, outA + i, done);
                smoothBand(a + 1, rawGains, capAtUnity[a + 1], i, outB + i, done);
            }
            i += done;
        }
    }

    // How many frames from the first have linked gains of exactly 1.0, pairAt(i) giving those of
    // frames i and i + 1 (an odd last frame is left to the smoother).
    template <class PairAt> static int unityFrames(int frames, PairAt pairAt) {
        const __m128d one = _mm_set1_pd(1.0);
        int i = 0;
        for (; i + 1 < frames; i += 2) {
            const int unity = _mm_movemask_pd(_mm_cmpeq_pd(pairAt(i), one));
            if (unity != 3) return i + (unity & 1);
        }
        return i;
    }
#endif

    // Band b's smoother on the linked gains linkedAt(i), capped at 1.0 if capAtUnity.
    template <class Source>
    void smooth(int b, bool capAtUnity, double* out, int frames, Source linkedAt) {
#if defined(QV_SMOOTHER_X87)
        // The x87 loops take the cap as a value (+inf: none), one loop for both.
        smoothers_[b].processFrom(linkedAt, out, frames,
                                  GainSmoother::Ceiling{capAtUnity ? 1.0 : HUGE_VAL});
#else
        if (capAtUnity)
            smoothers_[b].processFrom(linkedAt, out, frames,
                                      [](double y) { return y > 1.0 ? 1.0 : y; });
        else
            smoothers_[b].processFrom(linkedAt, out, frames, [](double y) { return y; });
#endif
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
