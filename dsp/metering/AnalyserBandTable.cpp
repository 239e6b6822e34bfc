#include "dsp/metering/AnalyserBandTable.h"

#include "dsp/math/SingleRounding.h"

#include <cmath>

namespace qv {

namespace {
const double kDefaultRate = 44100.0;
// Centre frequencies in Hz, rising by about 2^(1/9).
const float kCentreHz[AnalyserBandTable::kBands] = {
    25,    27,    29,    31,    33,    36,    39,    42,    46,    50,   53,   57,   63,
    68,    73,    79,    85,    92,    99,    107,   116,   125,   135,  146,  158,  170,
    184,   198,   214,   231,   250,   270,   291,   315,   340,   367,  397,  429,  463,
    500,   540,   583,   630,   680,   735,   794,   857,   926,   1000, 1080, 1166, 1260,
    1361,  1470,  1587,  1714,  1851,  2000,  2160,  2333,  2520,  2721, 2939, 3175, 3428,
    3703,  4000,  4320,  4665,  5039,  5442,  5877,  6349,  6857,  7405, 7999, 8639, 9330,
    10078, 10884, 11755, 12697, 13713, 14810, 15997, 17277, 18659, 20151};
} // namespace

AnalyserBandTable::AnalyserBandTable() {
    for (int& bin : bins_)
        bin = 0;
    rebuild(kDefaultRate);
}

float AnalyserBandTable::centreHz(int band) {
    return band >= 0 && band < kBands ? kCentreHz[band] : 0.0f;
}

void AnalyserBandTable::rebuild(double sampleRate) {
    if (!std::isfinite(sampleRate) || !(sampleRate > 0.0)) return;
    const float binsPerHz = roundToSingle(kTransformLength / sampleRate);
    for (int i = 0; i < kBands; ++i) {
        // A product of two floats is exact in double; rounding it once gives the float product.
        const float bin = roundToSingle(static_cast<double>(kCentreHz[i]) * binsPerHz);
        bins_[i] = bin >= static_cast<float>(kMaxBin) ? kMaxBin : static_cast<int>(bin);
    }
}

} // namespace qv
